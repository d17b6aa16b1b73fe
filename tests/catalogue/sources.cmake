list(APPEND QV_TEST_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/catalogue/CodeRegistryTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/catalogue/VideoEditorTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/catalogue/MemberEditorTest.cpp)
