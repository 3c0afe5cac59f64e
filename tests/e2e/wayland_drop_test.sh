#!/bin/bash
# shellcheck source-path=SCRIPTDIR
# wayland_drop_test.sh TOLVANE GTK_DRAG_SOURCE VIRTUAL_POINTER
#
# The program on a headless Wayland compositor (sway), on the platform Qt
# picks there by itself: a GTK program drags files onto the window's surface
# and onto the find box with a real Wayland drag, and the renames are checked
# on disk. Needs root; run as another user, see wayland_session.sh.
set -eu
here=$(dirname "$0")
. "$here/x_session.sh"
. "$here/window_actions.sh"
. "$here/file_checks.sh"
. "$here/wayland_session.sh"

[ $# -eq 3 ] || {
    echo "usage: $0 TOLVANE GTK_DRAG_SOURCE VIRTUAL_POINTER" >&2
    exit 2
}
wayland_session_require_root
wayland_session_start "$@"
bin="$E2E_TMP/bin"

old_names=("a b.txt" "grün.txt" $'caf\xe9.txt')
new_names=("a b.dat" "grün.dat" $'caf\xe9.dat')

# A left click or a drag's end at a place in the window (window_actions.sh
# names them).
place_on_screen() {
    local x y
    read -r x y <<<"$(place_xy "$1")"
    echo "$((TOLVANE_X + x)) $((TOLVANE_Y + TOLVANE_HEIGHT + y - CLIENT_HEIGHT))"
}

click_on() {
    local x y
    read -r x y <<<"$(place_on_screen "$1")"
    pointer move "$x" "$y"
    pointer press
    pointer release
}

type_into() {
    click_on "$1"
    # wtype sends a keymap of its own first; the pause lets it reach the
    # program before the keys do.
    type_keys -s 150 -M ctrl a -m ctrl -k BackSpace -- "$2"
}

# drag_files PLACE FILE...: drags the files from the GTK program, in steps as
# a hand would, and drops them on a place in the window; leaves the action
# the drop ended with in DRAG_RESULT.
drag_files() {
    local x y pid step steps=12 place=$1
    read -r x y <<<"$(place_on_screen "$1")"
    shift
    x_session_spawn drag-source env GDK_BACKEND=wayland \
        setpriv --reuid="$E2E_USER" --regid="$E2E_USER" --clear-groups "$bin/tolvane-gtk-drag-source" "$@"
    pid=$SPAWNED_PID
    wayland_window "$pid" drag-source >/dev/null
    place_window "$pid" 0 0
    pointer move 100 50
    pointer press
    for step in $(seq "$steps"); do
        pointer move $((100 + (x - 100) * step / steps)) $((50 + (y - 50) * step / steps))
        sleep 0.03
    done
    # Rests on the target until it has answered the offer.
    for step in 1 2 3; do
        sleep 0.1
        pointer move $((x + step % 2)) "$y"
    done
    pointer release
    for _ in $(seq $((DRAG_TIMEOUT * 10))); do
        DRAG_RESULT=$(cat "$E2E_TMP/drag-source.out")
        [ -n "$DRAG_RESULT" ] && break
        sleep 0.1
    done
    [ -n "$DRAG_RESULT" ] || fail "the drag did not end"
    report_focus "$place"
    tolvane_stop_process "$pid"
}

# A Wayland client cannot take the focus from another one; what the
# compositor did is reported, not required. The pause leaves time for an
# activation request, which would follow the drop.
report_focus() {
    sleep 0.5
    if window_focused "$TOLVANE_PID"; then
        echo "after the drop on $1 the window has the focus"
    else
        echo "after the drop on $1 the focus stayed with the drag source"
    fi
}

tolvane_stop_process() {
    kill "$1" 2>/dev/null || true
    x_session_reap "$1"
    x_session_forget "$1"
}

make_entries() {
    local name
    mkdir "$1" "$1/txt folder"
    for name in "${old_names[@]}"; do
        touch "$1/$name"
    done
    chown -R "$E2E_USER:" "$1"
}

mkdir "$E2E_TMP/cwd"
# shellcheck disable=SC2016 # expanded by the inner shell
x_session_spawn tolvane setpriv --reuid="$E2E_USER" --regid="$E2E_USER" --clear-groups \
    sh -c 'cd "$1" && exec "$2"' sh "$E2E_TMP/cwd" "$bin/$(basename "$1")"
TOLVANE_PID=$SPAWNED_PID
read -r _ _ _ _ shell <<<"$(wayland_window "$TOLVANE_PID" Tolvane)"
[ "$shell" = xdg_shell ] || fail "the window is not a native Wayland one (shell: $shell)"
place_window "$TOLVANE_PID" 300 200
read -r TOLVANE_X TOLVANE_Y _ TOLVANE_HEIGHT _ <<<"$(wayland_window "$TOLVANE_PID" Tolvane)"
type_into find-box txt
type_into replace-box dat

# The find box first: had it taken the drop in as text, the drop on the
# surface after it would rename nothing.
for place in find-box bare-surface; do
    dir="$E2E_TMP/$place"
    make_entries "$dir"
    drag_files "$place" "$dir/${old_names[0]}" "$dir/${old_names[1]}" "$dir/${old_names[2]}" \
        "$dir/txt folder"
    expect_copy
    expect_files "$dir" "${new_names[@]}" "dat folder"
    expect_count "$dir" 4
done

tolvane_alive
echo "PASS"
