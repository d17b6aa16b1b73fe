list(APPEND QV_TEST_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/browse/GridTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/browse/InventoryTest.cpp)
