#!/bin/bash
# shellcheck source-path=SCRIPTDIR
# drop_targets_test.sh TOLVANE DRAG_SOURCE
#
# Drags files from another program onto every part of the window the way a
# file manager offers them (copy or move, copy preferred) and checks the
# renames on disk: names with blanks, '#', '%', a backslash, non-ASCII and
# non-UTF-8 bytes, and folders, all arrive byte for byte; the drop is never
# taken as a move; afterwards the window holds the focus.
set -eu
here=$(dirname "$0")
. "$here/x_session.sh"
. "$here/window_actions.sh"
. "$here/file_checks.sh"

[ $# -eq 2 ] || {
    echo "usage: $0 TOLVANE DRAG_SOURCE" >&2
    exit 2
}
tolvane=$1
drag_source=$2

old_names=("a b.txt" "hash#.txt" "p%20.txt" "back\\slash.txt" "grün.txt" $'caf\xe9.txt')
new_names=("a b.dat" "hash#.dat" "p%20.dat" "back\\slash.dat" "grün.dat" $'caf\xe9.dat')

# make_entries DIR: the named files plus two folders, one of them offered
# with a trailing slash as some file managers do; prints the paths to drag,
# one a line.
make_entries() {
    local name
    mkdir "$1"
    for name in "${old_names[@]}"; do
        touch "$1/$name"
        printf '%s\n' "$1/$name"
    done
    mkdir "$1/txt folder" "$1/txt album"
    printf '%s\n' "$1/txt folder" "$1/txt album/"
}

focus_on_window() {
    [ "$(xdotool getwindowfocus)" = "$TOLVANE_WINDOW" ]
}

x_session_start
tolvane_start "$tolvane"
type_into find-box "txt"
type_into replace-box "dat"

# Search and Replace, dropped on each control and on the bare surface. A drop
# on a box must not put text into it, or the next drops would go wrong.
for place in find-box find-label replace-box replace-label bare-surface; do
    dir="$E2E_TMP/$place"
    mapfile -t entries < <(make_entries "$dir")
    drag_files "$place" "$drag_source" "${entries[@]}"
    expect_copy
    expect_files "$dir" "${new_names[@]}" "dat folder" "dat album"
    expect_count "$dir" 8
    focus_on_window || fail "the main window does not hold the focus after the drop"
done

# With the replace box hidden, a drop where it was lands on the window.
choose_mode i
type_into find-box "Old "
for place in replace-box replace-label; do
    dir="$E2E_TMP/insert-$place"
    mkdir "$dir" "$dir/Album"
    touch "$dir/grün.txt"
    drag_files "$place" "$drag_source" "$dir/Album" "$dir/grün.txt"
    expect_copy
    expect_files "$dir" "Old Album" "Old grün.txt"
    expect_count "$dir" 2
done

# Text typed beyond ASCII ends up in the name as UTF-8.
dir="$E2E_TMP/typed"
mkdir "$dir"
touch "$dir/a.txt"
choose_mode a
type_into find-box "-größe"
drag_files bare-surface "$drag_source" "$dir/a.txt"
expect_copy
expect_files "$dir" "a.txt-größe"

# A drag source that dies over the window leaves it no word that its drag
# has ended; the next drag's drop renames that drag's files, not the dead
# one's.
dir="$E2E_TMP/abandoned"
mkdir "$dir"
touch "$dir/dead.txt" "$dir/live.txt"
abandon_drag bare-surface "$drag_source" "$dir/dead.txt"
drag_files bare-surface "$drag_source" "$dir/live.txt"
expect_copy
expect_files "$dir" "dead.txt" "live.txt-größe"
expect_count "$dir" 2

# An empty find text renames nothing and leaves the focus where it was.
dir="$E2E_TMP/empty"
mkdir "$dir"
touch "$dir/a.txt"
type_into find-box ""
drag_files find-box "$drag_source" "$dir/a.txt"
[ "$DRAG_RESULT" != move ] || fail "the drop ended as a move"
expect_files "$dir" "a.txt"
expect_count "$dir" 1
! focus_on_window || fail "an empty find text still moved the focus to the main window"

tolvane_alive
echo "PASS"
