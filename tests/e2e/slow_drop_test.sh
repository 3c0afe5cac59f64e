#!/bin/bash
# shellcheck source-path=SCRIPTDIR
# slow_drop_test.sh TOLVANE DRAG_SOURCE WM_PROBE FILESYSTEMS_ROOT
#
# A long drop on sshfs from an SSH server on the loopback address, as
# tests/fs/filesystems.sh mounted it under FILESYSTEMS_ROOT: while the batch
# runs, the window answers a window manager's ping and its progress moves;
# clicks, keys and the menu change nothing; Esc stops the batch after the
# entry being renamed, and closing the window stops it and ends the program.
set -eu
here=$(dirname "$0")
. "$here/x_session.sh"
. "$here/window_actions.sh"
. "$here/file_checks.sh"
. "$here/slow_share.sh"

[ $# -eq 4 ] || {
    echo "usage: $0 TOLVANE DRAG_SOURCE WM_PROBE FILESYSTEMS_ROOT" >&2
    exit 2
}
tolvane=$1
drag_source=$2
probe=$3
mounts=$4
# Several seconds' work on sshfs, where a rename takes a few milliseconds.
count=2000

if ! grep -qx sshfs "$mounts/mounted" 2>/dev/null; then
    echo "sshfs is not mounted under $mounts: this test needs root, sshd and /dev/fuse"
    [ "${CI:-}" = true ] && exit 1
    exit 77
fi

# renamed_names N: mode Number's names for the first N files.
renamed_names() {
    seq "$1" | xargs -I{} printf '%04d-f%04d\n' {} {}
}

# renamed_in NAME: how many entries of the folder have their new name.
renamed_in() {
    find "$mounts/sshfs-share/$1" -mindepth 1 -name '[0-9]*' | wc -l
}

x_session_start
tolvane_start "$tolvane"
choose_mode n
type_into find-box "-"

first=$(new_drop)
start_slow_drop "$first"

took=$("$probe" ping "$TOLVANE_WINDOW" 1) ||
    fail "the window did not answer a window manager's ping within a second"
echo "ping answered in $took ms"

timeout 10 import -window "$TOLVANE_WINDOW" "$E2E_TMP/progress-1.png"
sleep 1
timeout 10 import -window "$TOLVANE_WINDOW" "$E2E_TMP/progress-2.png"
cmp -s "$E2E_TMP/progress-1.png" "$E2E_TMP/progress-2.png" &&
    fail "the window looked the same a second apart: no progress shown"

# None of this may reach the window while the batch runs.
click_on file-menu
click_on find-box
xdotool type --delay 20 "zz"
xdotool key alt+f
sleep 0.5
[ "$(open_popups)" -eq 0 ] || fail "a menu opened during the batch"
xdotool key a

focus_window
xdotool key Escape
wait_for_exit "$DRAG_PID" "$DRAG_TIMEOUT" || fail "the drag did not end after Esc"
x_session_forget "$DRAG_PID"
renamed=$(renamed_in "$first")
[ "$renamed" -lt "$count" ] || fail "Esc did not stop the batch"
expect_first_renamed "$first" "$renamed"
echo "Esc stopped the batch after $renamed of $count entries"
wait_popups 1 || fail "no report after the batch was stopped"
xdotool key Return
wait_popups 0 || fail "the report did not close"

# The mode and the text are as they were before the batch.
mkdir "$E2E_TMP/after"
touch "$E2E_TMP/after/z"
drag_files bare-surface "$drag_source" "$E2E_TMP/after/z"
expect_files "$E2E_TMP/after" "1-z"

# Closing the window stops the batch too, and ends the program.
second=$(new_drop)
start_slow_drop "$second"
"$probe" close "$TOLVANE_WINDOW"
wait_for_exit "$TOLVANE_PID" 10 || fail "the program did not end after its window was closed"
x_session_forget "$TOLVANE_PID"
renamed=$(renamed_in "$second")
[ "$renamed" -lt "$count" ] || fail "closing the window did not stop the batch"
expect_first_renamed "$second" "$renamed"
echo "closing stopped the batch after $renamed of $count entries"

rm -rf "$mounts/sshfs-share/$first" "$mounts/sshfs-share/$second"
echo "PASS"
