#!/usr/bin/env bash
# Builds Quorvane and starts it. The database, Quorvane.mdb, lives beside the
# program: build/Quorvane.mdb.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
need_packages "${BUILD_PACKAGES[@]}"
configure_and_build --target Quorvane
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Quorvane is built, but this machine has no display to show it on."
    echo "Run it on a virtual display instead:"
    echo "    sudo apt-get install -y xvfb && xvfb-run -a -s '-screen 0 1280x1024x24' $BUILD/Quorvane"
    exit 2
fi
exec "$BUILD/Quorvane"
