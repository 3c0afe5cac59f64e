#!/bin/bash
# shellcheck source-path=SCRIPTDIR/..
# Cross-builds the Windows program (64-bit) and saves a picture of its window
# under Wine to docs/tolvane-wine.png. Needs mingw-w64, wine64, Xvfb, xdotool
# and ImageMagick (sh scripts/install-deps.sh --windows --tests); uses no
# display of its own. TOLVANE_BUILD_DIR chooses the build directory (default:
# build-windows-x86_64).
set -eu
cd "$(dirname "$0")/.."
root=$PWD
build=${TOLVANE_BUILD_DIR:-build-windows-x86_64}

# A build directory that exists keeps its configuration.
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
        -DCMAKE_BUILD_TYPE=Release -DTOLVANE_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j2 --target tolvane
build=$(cd "$build" && pwd)
session="$root/tests/win32/wine_session.sh"
loader=/usr/lib/wine/wine64
state="$build/wine"

export E2E_ARTIFACTS="$build/e2e-artifacts"
. tests/e2e/x_session.sh
. tests/e2e/window_actions.sh
. tests/e2e/wine_x_session.sh
WINE_SESSION=$session WINE_STATE=$state WINE_LOADER=$loader TOLVANE_EXE="$build/app/tolvane.exe"

# The session goes too, with its X server and prefix's processes, however
# the script ends; x_session_cleanup ends with the script's status.
finish() {
    local status=$?
    bash "$session" stop "$state"
    (exit "$status")
    x_session_cleanup
}

x_session_start
trap finish EXIT
write_launcher
tolvane_start "$E2E_TMP/tolvane-wine"
focus_window
xdotool type --delay 20 2023
xdotool key Tab
xdotool type --delay 20 2024
# Like the Linux pictures: no title bar, as there is no window manager, and
# the focus elsewhere, so that no blinking text cursor decides the picture.
xdotool windowfocus "$(xwininfo -root | awk '/Window id/ { print $4 }')"
sleep 0.5
timeout 10 import -window "$TOLVANE_WINDOW" "$root/docs/tolvane-wine.png"
echo "docs/tolvane-wine.png"
