#!/bin/sh
# Installs the Debian 12 packages that building, running and testing need,
# skipping those already present.
#   install-deps.sh            the Linux program
#   install-deps.sh --windows  the Windows program, cross-built
#   install-deps.sh --package  both, and the tools that package and check them
#   install-deps.sh --tests    everything the tests need: all of the above,
#                              clang for the sanitizer and fuzz build,
#                              GoogleTest's sources for the cross build, Wine
#                              to run the Windows tests, a headless Wayland
#                              compositor with its test tools, and the
#                              filesystems the renames are tested on
set -eu

linux="build-essential cmake pkg-config qt6-base-dev qt6-wayland libgl-dev libxcb1-dev libglib2.0-dev libgtest-dev libgmock-dev"
# libxtst-dev: the drag benchmark moves the pointer through XTEST itself.
test_tools="xvfb xauth xdotool x11-utils x11-xkb-utils imagemagick libxtst-dev"
# clang with its sanitizer and libFuzzer run-times, for the sanitizer build.
sanitize="clang libclang-rt-14-dev"
wayland_tests="sway wtype jq libgtk-3-dev libwayland-dev"
package_tools="dpkg-dev zip lintian desktop-file-utils appstream"
# The filesystems that renames are tested on, on loop images and through FUSE.
filesystems="fuse3 exfat-fuse exfatprogs ntfs-3g dosfstools fusefat bindfs xfsprogs btrfs-progs
    openssh-server sshfs"
# Network places as a desktop shows them: gvfs and its FUSE bridge, KDE's
# kio-fuse with its SMB worker, a Samba server to mount, and the document
# portal of sandboxed programs (shared with a few lines of Python), on a
# session bus of the tests' own.
network_places="dbus libglib2.0-bin gvfs gvfs-backends gvfs-fuse kio-fuse kio-extras samba
    xdg-desktop-portal python3-gi"
windows="make cmake g++-mingw-w64-i686-posix mingw-w64-i686-dev
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev"
# wine32 runs the 32-bit program (through qemu-i386 where the kernel runs
# no 32-bit code: scripts/enable-i386-emulation.sh); wine64 the 64-bit build.
windows_tests="googletest wine wine32:i386 wine64"

case "${1:-}" in
--tests) packages="$linux $test_tools $sanitize $windows $windows_tests $wayland_tests $package_tools $filesystems $network_places" ;;
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
