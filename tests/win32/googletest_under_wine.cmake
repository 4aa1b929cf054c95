# GoogleTest for the MinGW cross build, and Wine as the tests' emulator. Debian ships no
# GoogleTest for MinGW, so it is built from Debian's own sources (package googletest), which
# also define GTest::gtest and GTest::gtest_main.
set(INSTALL_GTEST OFF)
set(BUILD_GMOCK OFF)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# Every Windows test program runs in the Wine session of the test run (wine-session); the
# GoogleTest cases are listed when ctest starts, since the session belongs to the test run.
set(wine_session ${PROJECT_SOURCE_DIR}/tools/wine-session)
set(wine_state ${CMAKE_BINARY_DIR}/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${wine_session} run ${wine_state})
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)

# The listed cases need the session too. Their names are known only to ctest, so a ctest
# script, read after the lists, gives them the fixture.
set(wine_fixture_script ${CMAKE_CURRENT_BINARY_DIR}/wine_fixture.cmake)
file(WRITE ${wine_fixture_script} [[
foreach(list drill_tests_TESTS form_tests_TESTS classroom_tests_TESTS)
  if(${list})
    set_tests_properties(${${list}} PROPERTIES FIXTURES_REQUIRED wine_session)
  endif()
endforeach()
]])
cmake_language(DEFER CALL set_property DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${wine_fixture_script})
