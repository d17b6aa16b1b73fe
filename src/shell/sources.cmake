list(APPEND QV_WINDOWS_SOURCES
  src/shell/frmMDIQuorvane.cpp
  src/shell/Windows.cpp)
