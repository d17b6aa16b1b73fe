# Crashes and two counters: a counter program without windows that the tests
# start, kill and run side by side on one file.
add_executable(quorvane_counter_worker ${CMAKE_CURRENT_SOURCE_DIR}/reliability/CounterWorker.cpp)
target_link_libraries(quorvane_counter_worker PRIVATE quorvane_logic)

set(QV_COUNTER_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/reliability/CounterWorkerRun.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/reliability/CrashTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/reliability/TwoCountersTest.cpp)
list(APPEND QV_TEST_SOURCES ${QV_COUNTER_SOURCES})
set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/reliability/CounterWorkerRun.cpp PROPERTIES
  COMPILE_DEFINITIONS "QV_COUNTER_WORKER=\"$<TARGET_FILE:quorvane_counter_worker>\"")
# The test program is defined after this file is read.
cmake_language(DEFER CALL add_dependencies quorvane_tests quorvane_counter_worker)

# The long runs: 200+ kills, and two counters of 1,000+ operations each.
# CI leaves them out (ctest -LE long); run them with ctest -L long.
add_test(NAME Long.CrashTest
  COMMAND $<TARGET_FILE:quorvane_tests> --gtest_filter=CrashTest.*)
add_test(NAME Long.TwoCountersTest
  COMMAND $<TARGET_FILE:quorvane_tests> --gtest_filter=TwoCounters*)
set_tests_properties(Long.CrashTest Long.TwoCountersTest PROPERTIES
  LABELS long
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QUORVANE_LONG_RUN=1"
  TIMEOUT 3600)
