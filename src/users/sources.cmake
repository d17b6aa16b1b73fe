list(APPEND QV_WINDOWS_SOURCES
  src/users/frmPasswordTool.cpp
  src/users/UserPictures.cpp)
