#!/bin/bash
# shellcheck source-path=SCRIPTDIR
# menu_modes_test.sh TOLVANE DRAG_SOURCE
#
# Starts the program as a user does and works it from the keyboard: the
# window's title, the focus in the find box at start, Tab to the replace box,
# and each mode chosen in the File menu by its access key. Each mode is proven
# by what a drop then does to real files.
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

x_session_start
tolvane_start "$tolvane"

title=$(xdotool getwindowname "$TOLVANE_WINDOW")
[ "$title" = Tolvane ] || fail "the window is titled \"$title\""

files="$E2E_TMP/files"
mkdir "$files"

# Search and Replace is the mode at start, the focus is in the find box and
# Tab leads to the replace box.
touch "$files/old report.txt"
focus_window
xdotool type --delay 20 "old"
xdotool key Tab
xdotool type --delay 20 "new"
drag_files bare-surface "$drag_source" "$files/old report.txt"
expect_copy
expect_files "$files" "new report.txt"
expect_count "$files" 1

# Insert: the text goes in front of the name.
touch "$files/a.txt"
choose_mode i
type_into find-box "pre-"
drag_files bare-surface "$drag_source" "$files/a.txt"
expect_copy
expect_files "$files" "pre-a.txt"
expect_count "$files" 2

# Append: after the name, extension included. The find box keeps its text
# across the mode change.
touch "$files/b.txt"
choose_mode a
drag_files bare-surface "$drag_source" "$files/b.txt"
expect_copy
expect_files "$files" "b.txtpre-"
expect_count "$files" 3

# Number: twelve entries are numbered in drop order with two digits.
numbered="$E2E_TMP/numbered"
mkdir "$numbered"
names=""
for i in $(seq 12); do
    touch "$numbered/f$i.txt"
    names="$names $numbered/f$i.txt"
done
choose_mode n
type_into find-box "_"
# shellcheck disable=SC2086 # the names hold no blanks
drag_files bare-surface "$drag_source" $names
expect_copy
expect_files "$numbered" 01_f1.txt 02_f2.txt 09_f9.txt 10_f10.txt 12_f12.txt
expect_count "$numbered" 12

# Back to Search and Replace: the replace box shows again with its text, and
# the find text is now "_".
touch "$files/x_y.txt"
choose_mode s
drag_files bare-surface "$drag_source" "$files/x_y.txt"
expect_copy
expect_files "$files" "xnewy.txt"
expect_count "$files" 4

# Choosing the current mode again changes nothing.
touch "$files/c_d.txt"
choose_mode s
drag_files replace-box "$drag_source" "$files/c_d.txt"
expect_copy
expect_files "$files" "cnewd.txt"

tolvane_alive
echo "PASS"
