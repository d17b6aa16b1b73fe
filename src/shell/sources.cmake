list(APPEND QV_LOGIC_SOURCES
  src/shell/DatabaseCopy.cpp
  src/shell/MainWindowLink.cpp)
list(APPEND QV_WINDOWS_SOURCES
  src/shell/frmAbout.cpp
  src/shell/frmMDIQuorvane.cpp
  src/shell/Icons.cpp
  src/shell/KeyboardState.cpp
  src/shell/Windows.cpp)
