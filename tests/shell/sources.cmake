list(APPEND QV_TEST_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/shell/DatabaseCopyTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/shell/MainWindowTest.cpp)
