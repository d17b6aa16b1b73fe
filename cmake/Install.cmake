# What `cmake --install` puts on the machine, and the Debian package that
# `cpack -G DEB` makes of it: the program and its desktop files, nothing else
# (no tests, no benchmarks).
include(GNUInstallDirs)

# One name for the desktop entry, the icon and the AppStream metadata; the
# program announces the same name to the desktop (QuorvaneApplication).
set(QUORVANE_APP_ID org.quorvane.Quorvane)
set(QUORVANE_HOMEPAGE https://quorvane.org/)
set(QV_DIST ${CMAKE_SOURCE_DIR}/dist)

# The program is installed under the lower-case name its manual page bears.
# Installed from its build file, so it is stripped here when asked for
# (`cmake --install --strip`, and the package).
install(PROGRAMS $<TARGET_FILE:Quorvane> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME quorvane)
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded --remove-section=.comment --remove-section=.note
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quorvane\"
      COMMAND_ERROR_IS_FATAL ANY)
  endif()")

install(FILES ${QV_DIST}/${QUORVANE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QV_DIST}/${QUORVANE_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${QV_DIST}/${QUORVANE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual page and the package's change log, compressed as Debian keeps
# them (gzip -n: no name or time stamp, so the same text gives the same file).
find_program(QV_GZIP gzip REQUIRED)
set(QV_COMPRESSED)
foreach(page quorvane.1 changelog.Debian)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${page}.gz
    COMMAND ${QV_GZIP} -9 -n -c ${QV_DIST}/${page} > ${CMAKE_BINARY_DIR}/${page}.gz
    DEPENDS ${QV_DIST}/${page}
    COMMENT "Compressing ${page}"
    VERBATIM)
  list(APPEND QV_COMPRESSED ${CMAKE_BINARY_DIR}/${page}.gz)
endforeach()
add_custom_target(quorvane_dist_files ALL DEPENDS ${QV_COMPRESSED})
install(FILES ${CMAKE_BINARY_DIR}/quorvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/quorvane)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "The Quorvane developers")
set(CPACK_PACKAGE_CONTACT "Quorvane maintainers <maintainers@quorvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "counter program of a video-tape rental shop")
set(CPACK_PACKAGE_DESCRIPTION
  "Quorvane is the program at the counter of a small video-tape rental shop.
The clerk keeps the catalogue of titles and the register of members, rents
tapes out and takes them back, browses and searches the tables, and manages
the clerks who may log in. Renting and returning work from the keyboard
alone, so a barcode scanner serves at the counter.

All data lives in one SQLite file, kept in the user's data folder
(~/.local/share/Quorvane/Quorvane.mdb) when the program is installed.")
set(CPACK_STRIP_FILES ON)
set(CPACK_SET_DESTDIR OFF)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUORVANE_HOMEPAGE})
# The libraries come from what the program really links (dpkg-shlibdeps);
# Qt's display plugins are a separate package that Qt only recommends, and
# without them no window opens.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

if(QUORVANE_TESTS)
  # What is installed, checked by the desktop's validators; the package and
  # its dependencies.
  add_test(NAME Install.DesktopFiles
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/install_test.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
  add_test(NAME Install.DebianPackage
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/package_test.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
  set_tests_properties(Install.DesktopFiles Install.DebianPackage PROPERTIES TIMEOUT 600)
endif()
