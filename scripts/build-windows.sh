#!/bin/sh
# Installs what is missing and cross-builds the native Windows program,
# one statically linked tolvane.exe.
#   build-windows.sh [i686|x86_64]   32-bit (the default) or 64-bit Windows
set -eu
cd "$(dirname "$0")/.."
arch=${1:-i686}
sh scripts/install-deps.sh --windows
cmake -S . -B "build-windows-$arch" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-w64-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DTOLVANE_TESTS=OFF
cmake --build "build-windows-$arch" -j2 --target tolvane
echo "Built: build-windows-$arch/app/tolvane.exe"
