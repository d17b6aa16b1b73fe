list(APPEND QV_TEST_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/data/DatabaseFileTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/data/DatabaseFolderTest.cpp)
