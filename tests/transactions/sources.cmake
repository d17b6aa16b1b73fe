list(APPEND QV_TEST_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/transactions/RentTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/transactions/ReturnTest.cpp)
