# The grid viewer and deleter with its data source, and the inventory listing.
list(APPEND QV_LOGIC_SOURCES
  src/browse/DbaseData.cpp
  src/browse/TitleList.cpp)
list(APPEND QV_WINDOWS_SOURCES
  src/browse/frmDatabaseGrid.cpp
  src/browse/frmInventory.cpp)
