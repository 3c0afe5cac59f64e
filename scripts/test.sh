#!/bin/sh
# Installs what is missing, builds everything with warnings as errors and runs
# every test: the Linux program's, again under the sanitizers with the fuzz
# targets, then the Windows program's under Wine, then the packages users
# install.
# Tests that need a display start their own Xvfb.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh --tests
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANE_WERROR=ON
cmake --build build-test -j2
(cd build-test && ctest --output-on-failure -j2)
# The unit tests once more under AddressSanitizer and UndefinedBehaviorSanitizer,
# and the fuzz targets for a bounded time each. Only these targets are built:
# the Qt front end and its tests are left to the build above.
CC=clang CXX=clang++ cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTOLVANE_WERROR=ON -DTOLVANE_QT=OFF -DTOLVANE_SANITIZE=ON
cmake --build build-sanitize -j2 --target engine_tests posix_tests window_tests \
    uri_list_fuzz drop_files_fuzz
(cd build-sanitize && ctest --output-on-failure -j2)
sh scripts/test-windows.sh "$PWD/build-test/tools/drag_source/tolvane-drag-source"
sh scripts/package.sh
sh tests/package/package_test.sh dist
