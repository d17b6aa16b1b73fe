#!/usr/bin/env bash
# Builds Quorvane with its tests and runs every test. Window tests draw
# offscreen; the end-to-end run of the program uses a virtual X display.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
need_packages "${BUILD_PACKAGES[@]}" sqlite3 xvfb xdotool x11-utils e2fsprogs x11-apps netpbm
# The install tests: the desktop validators, the manual page formatter, cpack's
# Debian tools.
need_packages desktop-file-utils appstream libxml2-utils groff-base dpkg-dev file
configure_and_build
cd "$BUILD"
# The long runs (label "long") are left to a run of their own:
#   cd build && ctest -L long --output-on-failure
QT_QPA_PLATFORM=offscreen ctest -j2 -LE long --output-on-failure --timeout 600

# The same tests once more, built with AddressSanitizer and
# UndefinedBehaviorSanitizer: any memory fault, leak or undefined step fails
# the test that made it. (QUORVANE_SKIP_SANITIZERS=1 leaves this out.)
if [ "${QUORVANE_SKIP_SANITIZERS:-0}" != 1 ]; then
    SANITIZE="$BUILD/sanitize"
    cmake -S "$ROOT" -B "$SANITIZE" -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_SANITIZE=ON -DQUORVANE_BENCH=OFF >/dev/null
    cmake --build "$SANITIZE" -j"$(nproc)"
    cd "$SANITIZE"
    ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1" \
    LSAN_OPTIONS="suppressions=$ROOT/tools/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    QT_QPA_PLATFORM=offscreen ctest -j2 -LE long -E "^Install\\." --output-on-failure --timeout 1200
fi
