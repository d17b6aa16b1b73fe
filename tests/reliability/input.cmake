# Bad input in every box of every window, window by window.
list(APPEND QV_TEST_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/reliability/BadInputCases.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/reliability/BadInputEditorsTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/reliability/BadInputTransactionsTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/reliability/BadInputSearchTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/reliability/BadInputUsersTest.cpp)
