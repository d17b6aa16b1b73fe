#!/usr/bin/env bash
# Builds Quorvane with its tests and runs every test. Window tests draw
# offscreen; the end-to-end run of the program uses a virtual X display.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
need_packages "${BUILD_PACKAGES[@]}" sqlite3 xvfb xdotool x11-utils e2fsprogs x11-apps netpbm
configure_and_build
cd "$BUILD"
# The long runs (label "long") are left to a run of their own:
#   cd build && ctest -L long --output-on-failure
QT_QPA_PLATFORM=offscreen ctest -j2 -LE long --output-on-failure --timeout 600
