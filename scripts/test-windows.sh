#!/bin/sh
# Cross-builds the Windows program and its tests, 32- and 64-bit, and runs
# both sets under Wine, headless: the Wine session brings its own Xvfb.
# Called by scripts/test.sh after the Linux build, whose drag source the
# end-to-end test uses.
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
    bash "$session" stop "$state"
    trap - EXIT
}

# Wine's 32-bit loader is a 32-bit x86 program: where the kernel does not
# run those, it runs through qemu-i386, set up here when we are root.
build i686
status=0
sh scripts/enable-i386-emulation.sh || status=$?
case $status in
0) run_tests i686 /usr/lib/wine/wine ;;
2)
    echo "The 32-bit tolvane.exe and its tests are built but not run; its imports are checked."
    sh tests/win32/check_imports.sh build-test-i686/app/tolvane.exe i686-w64-mingw32-objdump
    ;;
*) exit "$status" ;;
esac
# The same tests on the 64-bit build, which 64-bit Windows runs natively.
build x86_64
run_tests x86_64 /usr/lib/wine/wine64
