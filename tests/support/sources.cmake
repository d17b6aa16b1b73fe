list(APPEND QV_TEST_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/support/TestMain.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/support/Harness.cpp)
