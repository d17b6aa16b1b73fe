list(APPEND QV_TEST_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/access/AccessWalk.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/access/KeyboardTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/access/ScreenReaderTest.cpp)
