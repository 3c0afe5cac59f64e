#!/bin/sh
# Installs the Debian 12 packages that building, running and testing need,
# skipping those already present.
set -eu

packages="build-essential cmake pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev"
if [ "${1:-}" = "--tests" ]; then
    packages="$packages xvfb xauth xdotool x11-utils x11-xkb-utils imagemagick"
fi

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing:$missing"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
