# Task windows reach the main window only through shell/MainWindowLink.h:
# no source outside the shell and the start-up includes the main window's
# class. Run with -DSRC=<the src folder>.
file(GLOB_RECURSE sources "${SRC}/*.cpp" "${SRC}/*.h")
set(offenders)
foreach(f IN LISTS sources)
  file(RELATIVE_PATH rel "${SRC}" "${f}")
  if(rel MATCHES "^(shell|startup)/" OR rel STREQUAL "main.cpp")
    continue()
  endif()
  file(STRINGS "${f}" hits REGEX "#include[ \t]*[\"<]shell/frmMDIQuorvane\\.h[\">]")
  if(hits)
    list(APPEND offenders "${rel}")
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "These files include the main window instead of its link: ${offenders}")
endif()
