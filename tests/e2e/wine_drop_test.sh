#!/bin/bash
# shellcheck source-path=SCRIPTDIR
# wine_drop_test.sh WINE_SESSION STATE_DIR LOADER TOLVANE_EXE PROBE_EXE DRAG_SOURCE
#
# The Windows program under Wine, on the X server of the Wine session that
# runs the other Windows tests: text typed into its boxes with real keys,
# files dragged onto it from a Linux program by XDND, and the renames checked
# on disk. A name Windows cannot hold is refused with a message box and left
# as it is, and once the box is closed the program goes on. What Windows says
# about the focus comes from tolvane-win32-probe; Wine does not always move
# the X input focus to match.
set -eu
here=$(dirname "$0")
. "$here/x_session.sh"
. "$here/window_actions.sh"
. "$here/file_checks.sh"
. "$here/wine_x_session.sh"

[ $# -eq 6 ] || {
    echo "usage: $0 WINE_SESSION STATE_DIR LOADER TOLVANE_EXE PROBE_EXE DRAG_SOURCE" >&2
    exit 2
}
session=$1
state=$2
loader=$3
probe_exe=$5
drag_source=$6
WINE_SESSION=$session WINE_STATE=$state WINE_LOADER=$loader TOLVANE_EXE=$4
# Within CTest's limit, with room for a first run that creates the prefix.
: "${E2E_DEADLINE:=150}"

PROBED=""

probe() {
    timeout 30 bash "$session" run "$state" "$loader" "$probe_exe" Tolvane
}

# probe_until SECONDS COMMAND...: asks Windows about the main window, the
# report in PROBED, until COMMAND succeeds, for up to SECONDS.
probe_until() {
    local deadline=$((SECONDS + $1))
    shift
    for (( ; ; )); do
        tolvane_alive
        PROBED=$(probe) || PROBED=""
        "$@" && return 0
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

reports_all() {
    local line
    for line in "$@"; do
        grep -qxF -- "$line" <<<"$PROBED" || return 1
    done
}

popup_text() { sed -n 's/^popup=//p' <<<"$PROBED"; }
popup_open() { [ -n "$(popup_text)" ]; }
popup_closed() { [ -z "$(popup_text)" ]; }

# expect_reported LINE...: Windows reports every LINE within ten seconds.
expect_reported() {
    probe_until 10 reports_all "$@" || {
        echo "Windows reports:" >&2
        echo "$PROBED" >&2
        fail "Windows does not report: $*"
    }
}

all_exist() {
    local dir=$1 name
    shift
    for name in "$@"; do
        [ -e "$dir/$name" ] || return 1
    done
}

# await_files DIR NAME...: Wine tells the drag source the drop is over before
# the window has handled it, so the new names may take a moment to appear.
await_files() {
    for _ in $(seq 50); do
        all_exist "$@" && break
        sleep 0.1
    done
    expect_files "$@"
}

# make_files DIR NAME...: prints the paths, one a line.
make_files() {
    local dir=$1 name
    shift
    mkdir "$dir"
    for name in "$@"; do
        touch "$dir/$name"
        printf '%s\n' "$dir/$name"
    done
}

# drop_and_expect PLACE DIR OLD... -- NEW...: drags the OLD files of a fresh
# DIR onto PLACE, as a copy, and checks that they now have the NEW names.
drop_and_expect() {
    local place=$1 dir=$2 old=() entries
    shift 2
    while [ "$1" != -- ]; do
        old+=("$1")
        shift
    done
    shift
    mapfile -t entries < <(make_files "$dir" "${old[@]}")
    drag_files "$place" "$drag_source" "${entries[@]}"
    expect_copy
    await_files "$dir" "$@"
    expect_absent "$dir" "${old[@]}"
    expect_count "$dir" "${#old[@]}"
}

# After a rename the window comes to the front and the focus goes back to
# the box the user was in, the Replace box here (at x 101).
expect_window_in_front() {
    expect_reported foreground=yes active=yes focus-class=Edit focus-x=101
    # Known Wine limit: the X input focus may stay where it was.
    echo "after the drop: X input focus on $(xdotool getwindowfocus 2>&1)," \
        "main window $TOLVANE_WINDOW"
}

# refuse_drop PLACE NAME...: drops files with these names, which Windows
# cannot hold; an error box must come up and every name stay as it was.
# Closes the box with Return.
refuse_drop() {
    local place=$1 dir entries box
    dir="$E2E_TMP/refused-$place"
    shift
    mapfile -t entries < <(make_files "$dir" "$@")
    drag_files "$place" "$drag_source" "${entries[@]}"
    [ "$DRAG_RESULT" != move ] || fail "the drop ended as a move"
    probe_until 15 popup_open || fail "no error box came up (the drag ended as $DRAG_RESULT)"
    echo "error box: $(popup_text)"
    expect_files "$dir" "$@"
    expect_count "$dir" "$#"
    box=$(xdotool search --onlyvisible --pid "$TOLVANE_PID" --name '^Tolvane$' |
        grep -vx "$TOLVANE_WINDOW" | head -n 1)
    [ -n "$box" ] || fail "the error box has no X window of its own"
    timeout 5 xdotool windowfocus --sync "$box" || fail "could not focus the error box"
    xdotool key Return
    probe_until 5 popup_closed || fail "Return did not close the error box"
    expect_files "$dir" "$@"
}

x_session_start
write_launcher
tolvane_start "$E2E_TMP/tolvane-wine"

# No window manager gives the window the X focus; the program itself puts
# the Windows focus in the Find box, and Tab goes on to the Replace box.
focus_window
expect_reported focus-class=Edit focus-x=5
xdotool type --delay 20 txt
expect_reported focus-x=5 focus-text=txt
xdotool key Tab
xdotool type --delay 20 dat
expect_reported focus-x=101 focus-text=dat

# Search and Replace on the bare surface and on the Find box, which must not
# take the dropped text in.
drop_and_expect bare-surface "$E2E_TMP/surface" "a b.txt" "grün.txt" -- "a b.dat" "grün.dat"
expect_window_in_front
drop_and_expect find-box "$E2E_TMP/find-box" "#c%20.txt" "d.txt" -- "#c%20.dat" "d.dat"
expect_window_in_front

# A byte that is not UTF-8 reaches the program as U+FFFD; '*' and '?' are not
# allowed in Windows names.
refuse_drop bare-surface $'bad\xff.txt'
refuse_drop find-box "st*r.txt" "q?.txt"
echo "after the error box: $(grep -E '^(foreground|active)=' <<<"$PROBED" | tr '\n' ' ')"

# The program goes on.
drop_and_expect bare-surface "$E2E_TMP/later" "e.txt" -- "e.dat"
expect_window_in_front

tolvane_alive
echo "PASS in ${SECONDS}s"
