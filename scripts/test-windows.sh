#!/bin/sh
# Cross-builds the Windows program and its tests and runs them under Wine,
# headless: the Wine session brings its own Xvfb. Called by scripts/test.sh
# after the Linux build, whose drag source the end-to-end test uses.
#   test-windows.sh DRAG_SOURCE
set -eu
cd "$(dirname "$0")/.."
drag_source=$1

build() {
    cmake -S . -B "build-test-$1" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-w64-$1.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANE_WERROR=ON \
        -DTOLVANE_DRAG_SOURCE="$drag_source"
    cmake --build "build-test-$1" -j2
}

# The Wine session is set up before CTest lists the tests through it, and
# stopped however the tests end.
run_tests() {
    session="tests/win32/wine_session.sh"
    state="$PWD/build-test-$1/wine"
    trap 'bash "$session" stop "$state"' EXIT
    bash "$session" display "$state" "$2" >/dev/null
    (cd "build-test-$1" && ctest --output-on-failure -j2)
}

build i686
# Wine's 32-bit loader starts only where the kernel runs 32-bit x86 code.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    run_tests i686 /usr/lib/wine/wine
else
    echo "This machine cannot run 32-bit x86 programs (its kernel has IA-32 emulation off)."
    echo "The 32-bit tolvane.exe and its tests are built but not run; the same tests run"
    echo "on the 64-bit build under wine64."
    sh tests/win32/check_imports.sh build-test-i686/app/tolvane.exe i686-w64-mingw32-objdump
    build x86_64
    run_tests x86_64 /usr/lib/wine/wine64
fi
