#!/bin/bash
# shellcheck source-path=SCRIPTDIR
# wine_slow_drop_test.sh WINE_SESSION STATE_DIR LOADER TOLVANE_EXE PROBE_EXE DRAG_SOURCE WM_PROBE
#
# A long drop on sshfs from an SSH server on the loopback address, onto the
# Windows program under Wine: while the batch runs the window answers
# Windows' check that it still responds and its progress moves; clicks, keys
# and the menu change nothing; Esc stops the batch after exactly the entries
# its report names, and closing the window stops it and ends the program.
# The filesystems are mounted for this test by tests/fs/filesystems.sh.
set -eu
here=$(dirname "$0")
. "$here/x_session.sh"
. "$here/window_actions.sh"
. "$here/file_checks.sh"
. "$here/slow_share.sh"
. "$here/wine_x_session.sh"

[ $# -eq 7 ] || {
    echo "usage: $0 WINE_SESSION STATE_DIR LOADER TOLVANE_EXE PROBE_EXE DRAG_SOURCE WM_PROBE" >&2
    exit 2
}
session=$1
state=$2
loader=$3
probe_exe=$5
drag_source=$6
wm_probe=$7
WINE_SESSION=$session WINE_STATE=$state WINE_LOADER=$loader TOLVANE_EXE=$4
filesystems="$here/../fs/filesystems.sh"
: "${E2E_DEADLINE:=150}"
# Wine looks each new name up in its folder, over sshfs, before it renames,
# so its renames slow down as the folder grows. 400 entries were all renamed
# before Esc by the 32-bit build; 1,500 keep either build busy well past it.
count=1500

if [ "$(id -u)" -ne 0 ] || [ ! -e /dev/fuse ] || ! command -v sshfs >/dev/null; then
    echo "this test mounts sshfs from an sshd of its own: it needs root, sshfs and /dev/fuse"
    [ "${CI:-}" = true ] && exit 1
    exit 77
fi

mounts=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-slow-fs-XXXXXX")
bash "$filesystems" up "$mounts" 2>/dev/null
grep -qx sshfs "$mounts/mounted" || fail "could not mount sshfs"
x_session_start
# Unmounted before the session's own clean-up, however the test ends.
trap 'status=$?; bash "$filesystems" down "$mounts" >/dev/null 2>&1; (exit $status); x_session_cleanup' EXIT

probe() {
    timeout 30 bash "$session" run "$state" "$loader" "$probe_exe" Tolvane
}

# renamed_names N: the first N files with f turned into g.
renamed_names() {
    [ "$1" -eq 0 ] || seq -f 'g%04g' "$1"
}

renamed_in() {
    find "$mounts/sshfs-share/$1" -mindepth 1 -name 'g*' | wc -l
}

# report_text: the text of the program's message box, once one is open.
report_text() {
    local text
    for _ in $(seq 50); do
        text=$(probe | sed -n 's/^popup=//p')
        [ -n "$text" ] && break
        sleep 0.2
    done
    echo "$text"
}

write_launcher
tolvane_start "$E2E_TMP/tolvane-wine"
# The focus starts in the Find box; Search and Replace turns f into g.
focus_window
xdotool type --delay 20 f
xdotool key Tab
xdotool type --delay 20 g

first=$(new_drop)
start_slow_drop "$first"
echo "batch running at ${SECONDS}s"

grep -qx answers=yes <<<"$(probe)" || fail "the window did not answer within a second"
timeout 10 import -window "$TOLVANE_WINDOW" "$E2E_TMP/progress-1.png"
sleep 1
timeout 10 import -window "$TOLVANE_WINDOW" "$E2E_TMP/progress-2.png"
cmp -s "$E2E_TMP/progress-1.png" "$E2E_TMP/progress-2.png" &&
    fail "the window looked the same a second apart: no progress shown"

# None of this may reach the window while the batch runs.
click_on file-menu
click_on find-box
xdotool type --delay 20 "zz"
xdotool key alt+f a

focus_window
xdotool key Escape
report=$(report_text)
echo "report: $report"
[[ $report =~ ^Error\ [0-9]+:\ Stopped\ after\ ([0-9]+)\ of\ $count\ entries ]] ||
    fail "no report that the batch stopped"
expect_first_renamed "$first" "${BASH_REMATCH[1]}"
box=$(xdotool search --onlyvisible --pid "$TOLVANE_PID" --name '^Tolvane$' |
    grep -vx "$TOLVANE_WINDOW" | head -n 1)
[ -n "$box" ] || fail "the report has no X window of its own"
timeout 5 xdotool windowfocus --sync "$box" || fail "could not focus the report"
xdotool key Return
for _ in $(seq 50); do
    [ -z "$(probe | sed -n 's/^popup=//p')" ] && break
    sleep 0.2
done
echo "report closed at ${SECONDS}s"

# The mode and the texts are as they were before the batch.
mkdir "$E2E_TMP/after"
touch "$E2E_TMP/after/fz"
drag_files bare-surface "$drag_source" "$E2E_TMP/after/fz"
for _ in $(seq 50); do
    [ -e "$E2E_TMP/after/gz" ] && break
    sleep 0.1
done
expect_files "$E2E_TMP/after" gz

# Closing the window stops the batch too, and ends the program.
second=$(new_drop)
start_slow_drop "$second"
"$wm_probe" close "$TOLVANE_WINDOW"
wait_for_exit "$TOLVANE_PID" 10 || fail "the program did not end after its window was closed"
x_session_forget "$TOLVANE_PID"
renamed=$(renamed_in "$second")
[ "$renamed" -lt "$count" ] || fail "closing the window did not stop the batch"
expect_first_renamed "$second" "$renamed"
echo "closing stopped the batch after $renamed of $count entries"
echo "PASS in ${SECONDS}s"
