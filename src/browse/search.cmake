list(APPEND QV_LOGIC_SOURCES
  src/browse/Search.cpp
  src/browse/SearchResults.cpp)
list(APPEND QV_WINDOWS_SOURCES
  src/browse/SearchLayout.cpp
  src/browse/frmSearch.cpp
  src/browse/frmEditSearch.cpp)
