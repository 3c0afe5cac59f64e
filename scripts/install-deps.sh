#!/bin/sh
# Installs the Debian 12 packages that building, running and testing need,
# skipping those already present.
#   install-deps.sh            the Linux program
#   install-deps.sh --windows  the Windows program, cross-built
#   install-deps.sh --package  both, and the tools that package and check them
#   install-deps.sh --tests    everything the tests need: all of the above,
#                              GoogleTest's sources for the cross build, Wine
#                              to run the Windows tests, and a headless Wayland
#                              compositor with its test tools
set -eu

linux="build-essential cmake pkg-config qt6-base-dev qt6-wayland libgl-dev libgtest-dev libgmock-dev"
test_tools="xvfb xauth xdotool x11-utils x11-xkb-utils imagemagick"
wayland_tests="sway wtype jq libgtk-3-dev libwayland-dev"
package_tools="dpkg-dev zip lintian desktop-file-utils appstream"
windows="make cmake g++-mingw-w64-i686-posix mingw-w64-i686-dev
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev"
# wine32 runs the 32-bit program; wine64 the 64-bit build of it, on hosts
# that cannot run 32-bit code.
windows_tests="googletest wine wine32:i386 wine64"

case "${1:-}" in
--tests) packages="$linux $test_tools $windows $windows_tests $wayland_tests $package_tools" ;;
--package) packages="$linux $windows $package_tools" ;;
--windows) packages="$windows" ;;
*) packages="$linux" ;;
esac

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
case "$missing" in
*:i386*)
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    ;;
esac
echo "Installing:$missing"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
