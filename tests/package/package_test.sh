#!/bin/sh
# Checks what scripts/package.sh wrote, without installing anything: the
# Debian package unpacked into a temporary folder (its files, its Depends
# line, its metadata through the distribution's validators, and the program
# started from there), then the two Windows zips.
#   package_test.sh DIST_DIR
set -eu
dist=$1
version=$(sed -n 's/^project(Tolvane VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
deb="$dist/tolvane_${version}_amd64.deb"
tmp=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-package-XXXXXX")
trap 'rm -rf "$tmp"' EXIT
id=io.github.tolvane.Tolvane

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# expect_zip ZIP FILE...: the zip holds exactly these files.
expect_zip() {
    listed=$(unzip -Z1 "$1" | sort | tr '\n' ' ')
    shift
    wanted=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
    [ "$listed" = "$wanted" ] || fail "the zip holds \"$listed\", not \"$wanted\""
}

dpkg-deb -x "$deb" "$tmp/root"
root="$tmp/root"
for file in usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
    usr/share/man/man1/tolvane.1.gz usr/share/doc/tolvane/copyright \
    usr/share/icons/hicolor/scalable/apps/$id.svg; do
    [ -s "$root/$file" ] || fail "the package lacks $file"
done
for size in 16 32 48 64 128 256; do
    [ -s "$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png" ] ||
        fail "the package lacks the ${size}x${size} icon"
done
[ -x "$root/usr/bin/tolvane" ] || fail "the package lacks the program"

# Without the Wayland platform plugin Qt falls back to XWayland, where drops
# may arrive empty; the libraries must all be declared as well.
depends=$(dpkg-deb -f "$deb" Depends)
for package in qt6-wayland libqt6widgets6 libqt6gui6 libqt6core6 libc6; do
    echo "$depends" | tr ',' '\n' | grep -q "^ *$package\( \|$\)" ||
        fail "Depends lacks $package: $depends"
done

desktop-file-validate "$root/usr/share/applications/$id.desktop" ||
    fail "the desktop entry does not validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" ||
    fail "the metainfo does not validate"
grep -q '<project_license>MIT</project_license>' "$root/usr/share/metainfo/$id.metainfo.xml" ||
    fail "the metainfo does not declare the MIT licence"
lintian --fail-on error "$deb" || fail "lintian reports errors"

# The unpacked program runs until it is ended, with the libraries of the
# machine and nothing of a build tree.
QT_QPA_PLATFORM=offscreen "$root/usr/bin/tolvane" >"$tmp/out" 2>&1 &
pid=$!
sleep 2
kill -0 "$pid" 2>/dev/null || { cat "$tmp/out" >&2; fail "the unpacked program did not stay up"; }
kill "$pid"
wait "$pid" 2>/dev/null || true

for arch in i686 x86_64; do
    zip="$dist/tolvane-$version-windows-$arch.zip"
    expect_zip "$zip" tolvane.exe LICENSE README.txt
    unzip -q -o "$zip" -d "$tmp/$arch"
    for field in ProductName FileDescription "$version"; do
        strings -el "$tmp/$arch/tolvane.exe" | grep -q "^$field" ||
            fail "tolvane.exe ($arch) carries no version resource with $field"
    done
    sh "$(dirname "$0")/../win32/check_imports.sh" "$tmp/$arch/tolvane.exe" "$arch-w64-mingw32-objdump" >/dev/null ||
        fail "tolvane.exe ($arch) needs a DLL Windows does not ship"
done
echo "PASS"
