# Writes the CTest file of one test program: one test per test suite, which
# runs all the suite's cases in one process (--gtest_filter=<suite>.*). A
# process start of a sanitizer build costs more than most cases take, so one
# process a suite rather than one a case; every case still runs, and a
# failure names its case in the output.
#
#   cmake -D TEST_EXECUTABLE=... -D CTEST_FILE=... -D WORKING_DIR=...
#         -D TEST_ENVIRONMENT=... -P gtest_suites.cmake
cmake_minimum_required(VERSION 3.20)
execute_process(COMMAND ${TEST_EXECUTABLE} --gtest_list_tests
  OUTPUT_VARIABLE listing RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${TEST_EXECUTABLE} --gtest_list_tests failed (${status}):\n${errors}")
endif()
string(REPLACE ";" "\\;" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(content "")
set(suite "")
set(written "")
set(count 0)
foreach(line IN LISTS lines)
  if(line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
    set(suite "${CMAKE_MATCH_1}")
    if(suite MATCHES "^DISABLED_")
      set(suite "")
    endif()
  elseif(line MATCHES "^  ([^ ]+)" AND NOT suite STREQUAL "")
    if(NOT CMAKE_MATCH_1 MATCHES "^DISABLED_" AND NOT "${suite}" IN_LIST written)
      list(APPEND written "${suite}")
      string(APPEND content
        "add_test([=[${suite}]=] [=[${TEST_EXECUTABLE}]=] [=[--gtest_filter=${suite}.*]=])\n"
        "set_tests_properties([=[${suite}]=] PROPERTIES WORKING_DIRECTORY [=[${WORKING_DIR}]=]"
        " ENVIRONMENT [=[${TEST_ENVIRONMENT}]=])\n")
      math(EXPR count "${count} + 1")
    endif()
  endif()
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${TEST_EXECUTABLE} lists no test")
endif()
file(WRITE "${CTEST_FILE}" "${content}")
