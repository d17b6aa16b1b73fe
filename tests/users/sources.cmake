list(APPEND QV_TEST_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/users/PasswordToolTest.cpp)
