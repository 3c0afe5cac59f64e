#!/bin/bash
# shellcheck source-path=SCRIPTDIR
# fuse_drop_test.sh TOLVANE DRAG_SOURCE FILESYSTEMS_ROOT
#
# Real drags onto files on the FUSE filesystems that sticks and disks are
# mounted with (exFAT, FAT, NTFS) and on a passthrough without the no-replace
# rename, as tests/fs/filesystems.sh mounted them under FILESYSTEMS_ROOT:
# files and folders are renamed, and a change of letter case alone is done
# on the case-insensitive ones.
set -eu
here=$(dirname "$0")
. "$here/x_session.sh"
. "$here/window_actions.sh"
. "$here/file_checks.sh"

[ $# -eq 3 ] || {
    echo "usage: $0 TOLVANE DRAG_SOURCE FILESYSTEMS_ROOT" >&2
    exit 2
}
tolvane=$1
drag_source=$2
mounts=$3
filesystems="exfat-fuse fusefat ntfs-3g bindfs"

for fs in $filesystems; do
    if ! grep -qx "$fs" "$mounts/mounted" 2>/dev/null; then
        echo "$fs is not mounted under $mounts: this test needs root, loop devices and /dev/fuse"
        [ "${CI:-}" = true ] && exit 1
        exit 77
    fi
done

x_session_start
tolvane_start "$tolvane"

# Search and Replace: a change of letter case alone.
type_into find-box "rep"
type_into replace-box "Rep"
for fs in $filesystems; do
    dir=$(mktemp -d "$mounts/$fs/e2e-XXXXXX")
    echo "R" >"$dir/report.txt"
    drag_files bare-surface "$drag_source" "$dir/report.txt"
    expect_copy
    [ "$(ls "$dir")" = Report.txt ] || {
        list_dir "$dir"
        fail "report.txt did not become Report.txt on $fs"
    }
    [ "$(cat "$dir/Report.txt")" = R ] || fail "the file lost its content on $fs"
done

# Insert: two files and a folder; FAT through FUSE refuses to put a folder in
# place of the empty one that reserves its new name, so there it gets files.
choose_mode i
type_into find-box "x_"
for fs in $filesystems; do
    dir=$(mktemp -d "$mounts/$fs/e2e-XXXXXX")
    echo "A" >"$dir/a.txt"
    echo "B" >"$dir/b c.txt"
    entries=("$dir/a.txt" "$dir/b c.txt")
    names=("x_a.txt" "x_b c.txt")
    if [ "$fs" != fusefat ]; then
        mkdir "$dir/Album"
        entries+=("$dir/Album")
        names+=("x_Album")
    fi
    drag_files find-box "$drag_source" "${entries[@]}"
    expect_copy
    expect_files "$dir" "${names[@]}"
    expect_count "$dir" "${#names[@]}"
    [ "$(cat "$dir/x_a.txt")" = A ] || fail "a.txt lost its content on $fs"
done

tolvane_alive
echo "PASS"
