list(APPEND QV_TEST_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/access/AccessWalk.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/access/KeyboardTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/access/ScreenReaderTest.cpp)

# The README's pictures are made by driving the real program from the
# keyboard on a virtual display; a window that does not open, answer its
# keys or close fails the run. Skipped where the picture tools are missing.
add_test(NAME Program.Screenshots
  COMMAND bash -c [[
    for tool in Xvfb xdotool xwd xwdtopnm pnmcrop pnmtopng sqlite3 xdpyinfo xprop; do
      command -v "$tool" >/dev/null || { echo "no $tool: skipped"; exit 77; }
    done
    rm -rf "$2" && bash "$1" "$0" "$2" && test "$(ls "$2"/*.png | wc -l)" -eq 12
  ]] $<TARGET_FILE:Quorvane> ${CMAKE_SOURCE_DIR}/tools/screenshots.sh ${CMAKE_CURRENT_BINARY_DIR}/screenshots)
set_tests_properties(Program.Screenshots PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 900)
