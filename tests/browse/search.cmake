list(APPEND QV_TEST_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/browse/SearchTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/browse/SearchWindowTest.cpp)
