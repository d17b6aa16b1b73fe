list(APPEND QV_TEST_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/platform/StoreTest.cpp ${CMAKE_CURRENT_SOURCE_DIR}/platform/ConvertTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/platform/QtDialogsTest.cpp)
