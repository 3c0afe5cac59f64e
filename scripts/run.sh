#!/bin/sh
# Installs what is missing, builds Tolvane and starts it.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTOLVANE_TESTS=OFF
cmake --build build -j2 --target tolvane
exec ./build/app/tolvane "$@"
