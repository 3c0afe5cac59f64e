#!/bin/sh
# Installs what is missing, builds everything with warnings as errors and runs
# every test: the Linux program's, then the Windows program's under Wine, then
# the packages users install.
# Tests that need a display start their own Xvfb.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh --tests
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANE_WERROR=ON
cmake --build build-test -j2
(cd build-test && ctest --output-on-failure -j2)
sh scripts/test-windows.sh "$PWD/build-test/tools/drag_source/tolvane-drag-source"
sh scripts/package.sh
sh tests/package/package_test.sh dist
