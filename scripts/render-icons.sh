#!/bin/sh
# Renders the PNG icons in data/icons/ from the SVG. The build uses the PNGs
# as they are committed (Qt here has no SVG image plugin); run this after
# changing the SVG.
set -eu
cd "$(dirname "$0")/.."
if ! command -v rsvg-convert >/dev/null 2>&1; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends librsvg2-bin
fi
id=io.github.tolvane.Tolvane
for size in 16 32 48 64 128 256; do
    mkdir -p "data/icons/${size}x${size}"
    rsvg-convert -w "$size" -h "$size" "data/$id.svg" -o "data/icons/${size}x${size}/$id.png"
done
# The Windows program's icon: the sizes a title bar, taskbar and Explorer use.
if ! command -v convert >/dev/null 2>&1; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends imagemagick
fi
convert $(for size in 16 32 48 256; do echo "data/icons/${size}x${size}/$id.png"; done) data/tolvane.ico
