# Runs one fuzzer for a bounded time and fails the test on any finding.
# cmake -DFUZZER=<exe> -DCORPUS=<committed dir> -DWORK=<scratch dir> -DSECONDS=<n> -P run_fuzz.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/findings)
# The targets time their own work against its budget; libFuzzer's timeout only catches hangs,
# and leaves room for a slow input that is measured three times before it is refused.
execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=5 -rss_limit_mb=2048
          -print_final_stats=1 -artifact_prefix=${WORK}/findings/
          ${WORK}/corpus ${CORPUS}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(GLOB findings ${WORK}/findings/*)
  message(FATAL_ERROR "${FUZZER} failed (${result}); reproducer: ${findings}")
endif()
