list(APPEND QV_LOGIC_SOURCES
  src/startup/Password.cpp)
list(APPEND QV_WINDOWS_SOURCES
  src/startup/frmLogin.cpp
  src/startup/frmSplash.cpp
  src/startup/StartRoutine.cpp)
