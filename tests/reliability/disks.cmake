list(APPEND QV_TEST_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/reliability/FailingDisk.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/reliability/FailingDiskTest.cpp)
