# Browsing and search: the grid and the inventory, and the two search windows,
# each listing its own files.
foreach(part grid search)
  if(EXISTS ${CMAKE_SOURCE_DIR}/src/browse/${part}.cmake)
    include(${CMAKE_SOURCE_DIR}/src/browse/${part}.cmake)
  endif()
endforeach()
