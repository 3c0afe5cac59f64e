#!/bin/bash
# shellcheck source-path=SCRIPTDIR/..
# Builds Tolvane and saves pictures of its window in each mode to docs/, plus
# one at twice the size. Needs Xvfb, xdotool and ImageMagick
# (sh scripts/install-deps.sh --tests); uses no display of its own.
# TOLVANE_BUILD_DIR chooses the build directory (default: build).
set -eu
cd "$(dirname "$0")/.."
root=$PWD
build=${TOLVANE_BUILD_DIR:-build}

# A build directory that exists keeps its configuration.
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTOLVANE_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j2 --target tolvane
tolvane="$root/$build/app/tolvane"

export E2E_ARTIFACTS="$root/$build/e2e-artifacts"
. tests/e2e/x_session.sh
. tests/e2e/window_actions.sh

# shot NAME: the window alone. The focus goes elsewhere first, so that no
# blinking text cursor decides how the picture looks.
shot() {
    xdotool windowfocus "$(xwininfo -root | awk '/Window id/ { print $4 }')"
    sleep 0.3
    timeout 10 import -window "$TOLVANE_WINDOW" "$root/docs/screenshot-$1.png"
    echo "docs/screenshot-$1.png"
}

x_session_start
tolvane_start "$tolvane"
type_into find-box "2023"
type_into replace-box "2024"
shot search-and-replace

choose_mode i
type_into find-box "Draft "
shot insert

choose_mode a
type_into find-box ".bak"
shot append

choose_mode n
type_into find-box " - "
shot number
tolvane_stop

export QT_SCALE_FACTOR=2
tolvane_start "$tolvane"
type_into find-box "2023"
type_into replace-box "2024"
shot search-and-replace@2x
