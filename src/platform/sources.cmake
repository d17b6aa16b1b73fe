list(APPEND QV_LOGIC_SOURCES
  src/platform/AppFolder.cpp
  src/platform/Clock.cpp
  src/platform/Convert.cpp
  src/platform/Dialogs.cpp
  src/platform/Errors.cpp
  src/platform/Store.cpp)
list(APPEND QV_WINDOWS_SOURCES
  src/platform/KeyPress.cpp
  src/platform/QtDialogs.cpp
  src/platform/QuorvaneApplication.cpp)
