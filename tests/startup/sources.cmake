list(APPEND QV_TEST_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/startup/LoginScript.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/startup/PasswordTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/startup/StartupTest.cpp)
