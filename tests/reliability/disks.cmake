list(APPEND QV_TEST_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/reliability/FailingDisk.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/reliability/FailingDiskTest.cpp)

# The complete sweep: every fault at every call of every operation
# (ctest -L long). The suite's own run tries a spread of them.
add_test(NAME FailingDisk.EveryFaultAtEveryCall
  COMMAND quorvane_tests --gtest_filter=FailingDiskTest.*)
set_tests_properties(FailingDisk.EveryFaultAtEveryCall PROPERTIES
  LABELS long
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QUORVANE_LONG_RUN=1"
  TIMEOUT 3600)
