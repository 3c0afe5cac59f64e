#!/bin/sh
# Builds what users install into dist/: the Debian package
# tolvane_VERSION_amd64.deb, and the Windows program as
# tolvane-VERSION-windows-i686.zip and tolvane-VERSION-windows-x86_64.zip.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh --package
version=$(sed -n 's/^project(Tolvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
maintainer="The Tolvane developers <tolvane@users.noreply.github.com>"
mkdir -p dist

# The program and its data installed under /usr into a staging tree, with
# what Debian asks of every package: compressed documentation, a copyright
# file, a changelog and the checksums.
stage_deb() {
    # Debian's hardening flags, as its own packages are built with.
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DTOLVANE_TESTS=OFF \
        -DCMAKE_INSTALL_PREFIX=/usr \
        -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
        -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
    cmake --build build-package -j2 --target tolvane
    rm -rf "$stage"
    DESTDIR="$stage" cmake --install build-package
    strip --strip-unneeded --remove-section=.comment --remove-section=.note "$stage/usr/bin/tolvane"
    gzip -9n "$stage/usr/share/man/man1/tolvane.1"
    doc="$stage/usr/share/doc/tolvane"
    mkdir -p "$doc"
    copyright >"$doc/copyright"
    changelog | gzip -9n >"$doc/changelog.gz"
    find "$stage" -type d -exec chmod 755 {} +
    find "$stage" -type f -exec chmod 644 {} +
    chmod 755 "$stage/usr/bin/tolvane"
}

# Debian calls the MIT licence "Expat".
copyright() {
    printf '%s\n' "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
        "Upstream-Name: Tolvane" "Source: https://github.com/tolvane/Tolvane" "" \
        "Files: *" "Copyright: 2026 The Tolvane developers" "License: Expat"
    sed -n '/^Permission/,$p' LICENSE | sed 's/^$/./; s/^/ /'
}

changelog() {
    printf 'tolvane (%s) unstable; urgency=medium\n\n  * Release %s.\n\n -- %s  %s\n' \
        "$version" "$version" "$maintainer" "$(date -R)"
}

# The libraries the program links, as dpkg-shlibdeps finds them, and the Qt
# platform plugin that makes it a native Wayland client: without it, Qt
# falls back to XWayland, where some compositors hand a drop over empty.
depends() {
    mkdir -p build-package/shlibdeps/debian
    printf 'Source: tolvane\n\nPackage: tolvane\nArchitecture: any\n' \
        >build-package/shlibdeps/debian/control
    (cd build-package/shlibdeps && dpkg-shlibdeps -O -e"$stage/usr/bin/tolvane") |
        sed -n 's/^shlibs:Depends=//p' | sed 's/$/, qt6-wayland/'
}

control() {
    cat <<CONTROL
Package: tolvane
Version: $version
Architecture: amd64
Maintainer: $maintainer
Installed-Size: $(du -sk --exclude=DEBIAN "$stage" | cut -f1)
Depends: $(depends)
Section: utils
Priority: optional
Homepage: https://github.com/tolvane/Tolvane
Description: rename dropped files and folders in batches
 Tolvane opens one window: pick a mode (Search and Replace, Insert, Append
 or Number), type the text and drag files or folders onto the window from a
 file manager. Every dropped entry is renamed at once, in its own folder.
 .
 A name that is taken is never overwritten, names reach the disk byte for
 byte, and the first failure stops the batch with a clear error.
CONTROL
}

build_deb() {
    stage="$PWD/build-package/deb"
    stage_deb
    mkdir -p "$stage/DEBIAN"
    control >"$stage/DEBIAN/control"
    (cd "$stage" && find usr -type f -exec md5sum {} + | sort -k2) >"$stage/DEBIAN/md5sums"
    chmod 644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"
    dpkg-deb --root-owner-group -Zxz --build "$stage" "dist/tolvane_${version}_amd64.deb"
}

# zip_windows ARCH: the statically linked program with the licence and a
# short read-me in Windows' line endings.
zip_windows() {
    sh scripts/build-windows.sh "$1"
    dir="build-windows-$1/zip"
    rm -rf "$dir"
    mkdir -p "$dir"
    "$1-w64-mingw32-strip" -o "$dir/tolvane.exe" "build-windows-$1/app/tolvane.exe"
    sed 's/$/\r/' LICENSE >"$dir/LICENSE"
    sed "s/@VERSION@/$version/; s/\$/\r/" packaging/README.txt >"$dir/README.txt"
    zip="$PWD/dist/tolvane-$version-windows-$1.zip"
    rm -f "$zip"
    (cd "$dir" && zip -X -q "$zip" tolvane.exe LICENSE README.txt)
    echo "Built: $zip"
}

build_deb
zip_windows i686
zip_windows x86_64
