list(APPEND QV_WINDOWS_SOURCES
  src/catalogue/EditorLayout.cpp
  src/catalogue/frmAdd.cpp
  src/catalogue/frmMembers.cpp)
