# GoogleTest for the WebAssembly build, from Debian's own sources (package googletest), which
# also define GTest::gtest and GTest::gtest_main. Without threads: the browser build has none.
set(INSTALL_GTEST OFF)
set(BUILD_GMOCK OFF)
set(gtest_disable_pthreads ON)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# Each start of node costs about a second, so each test program runs whole, as one test.
function(sumatko_gtest_cases target)
  # One .js that holds its WebAssembly: node's loader then needs neither fetch nor a path. The
  # objects are optimised already; optimising the linked test program again took a minute.
  target_link_options(${target} PRIVATE -sSINGLE_FILE=1 -sEXIT_RUNTIME=1 -O0)
  add_test(NAME ${target} COMMAND ${target})
endfunction()
