# Sourced by the end-to-end tests after x_session.sh: what a user does to the
# main window, done with real pointer and key events (XTEST).
#
# Places within the window are named: find-box, replace-box, find-label,
# replace-label, bare-surface (below the boxes) and file-menu (in the menu
# bar).

TOLVANE_PID=""
TOLVANE_WINDOW=""
# shellcheck disable=SC2034 # read by the tests
DRAG_RESULT=""

readonly CLIENT_HEIGHT=119

# place_xy PLACE: prints a point inside the place, in pixels of the client
# area (the part below the menu bar) as the window is laid out at 96 dpi.
place_xy() {
    case $1 in
        find-box) echo "48 34" ;;
        replace-box) echo "144 34" ;;
        find-label) echo "20 14" ;;
        replace-label) echo "116 13" ;;
        bare-surface) echo "100 90" ;;
        file-menu) echo "16 -10" ;;
        *) fail "no place called $1" ;;
    esac
}

# Generous because the tests may share the machine with a build.
readonly DRAG_TIMEOUT=15

# tolvane_start BINARY: starts the program as a user does, with no arguments,
# and moves its window clear of the drag source in the top-left corner.
tolvane_start() {
    mkdir -p "$E2E_TMP/cwd"
    # shellcheck disable=SC2016 # expanded by the inner shell
    x_session_spawn tolvane sh -c 'cd "$1" && exec "$2"' sh "$E2E_TMP/cwd" "$1"
    TOLVANE_PID=$SPAWNED_PID
    TOLVANE_WINDOW=$(x_session_window "$TOLVANE_PID" Tolvane)
    timeout 5 xdotool windowmove --sync "$TOLVANE_WINDOW" 300 200 ||
        fail "could not move the main window"
}

tolvane_alive() {
    kill -0 "$TOLVANE_PID" 2>/dev/null || fail "tolvane has ended"
}

tolvane_stop() {
    kill "$TOLVANE_PID" 2>/dev/null || true
    x_session_reap "$TOLVANE_PID"
    x_session_forget "$TOLVANE_PID"
}

# place_on_screen PLACE: prints the screen position of a place in the
# window, scaled by a whole-number QT_SCALE_FACTOR.
place_on_screen() {
    # shellcheck disable=SC2034 # all set by the eval
    local X Y WIDTH HEIGHT SCREEN WINDOW
    local x y scale=${QT_SCALE_FACTOR:-1}
    read -r x y <<<"$(place_xy "$1")"
    eval "$(xdotool getwindowgeometry --shell "$TOLVANE_WINDOW")"
    echo "$((X + x * scale)) $((Y + HEIGHT + (y - CLIENT_HEIGHT) * scale))"
}

# pointer_to X Y: moves the pointer to a screen position and waits until it
# is there (xdotool's own --sync waits forever when it is there already).
pointer_to() {
    # shellcheck disable=SC2034 # all set by the eval
    local X Y SCREEN WINDOW
    xdotool mousemove "$1" "$2"
    for _ in $(seq 50); do
        eval "$(xdotool getmouselocation --shell)"
        [ "$X" -eq "$1" ] && [ "$Y" -eq "$2" ] && return 0
        sleep 0.1
    done
    fail "the pointer did not reach $1 $2"
}

# click_on PLACE: a left click on a place in the window.
click_on() {
    local x y
    read -r x y <<<"$(place_on_screen "$1")"
    pointer_to "$x" "$y"
    xdotool click 1
}

focus_window() {
    timeout 5 xdotool windowfocus --sync "$TOLVANE_WINDOW" ||
        fail "could not give the main window the focus"
}

# type_into BOX TEXT: clicks into the box and replaces its text.
type_into() {
    tolvane_alive
    click_on "$1"
    xdotool key --clearmodifiers ctrl+a BackSpace
    [ -z "$2" ] || xdotool type --delay 20 -- "$2"
}

# Windows the program has mapped besides the main one: open menus.
open_popups() {
    xdotool search --onlyvisible --pid "$TOLVANE_PID" 2>/dev/null | grep -vcx "$TOLVANE_WINDOW" || true
}

# wait_popups COUNT: waits up to five seconds until COUNT popups are open.
wait_popups() {
    for _ in $(seq 50); do
        [ "$(open_popups)" -eq "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

# choose_mode KEY: opens the File menu with Alt+F and chooses the item whose
# access key is KEY.
choose_mode() {
    tolvane_alive
    focus_window
    xdotool key alt+f
    wait_popups 1 || fail "Alt+F did not open the menu"
    xdotool key "$1"
    wait_popups 0 || fail "the menu stayed open after the key \"$1\""
}

# drag_files PLACE DRAG_SOURCE FILE...: drags the files from the drag source
# and drops them on a place in the window, passing over the window on the
# way; leaves the action the drop ended with in DRAG_RESULT.
drag_files() {
    carry_drag "$@"
    xdotool mouseup 1
    wait_for_exit "$DRAG_PID" "$DRAG_TIMEOUT" || fail "the drag did not end"
    x_session_forget "$DRAG_PID"
    # shellcheck disable=SC2034 # read by the tests
    DRAG_RESULT=$(cat "$E2E_TMP/drag-source.out")
}

# abandon_drag PLACE DRAG_SOURCE PATH...: carries a drag of the paths over
# PLACE and kills its source there, as a crash would: the window is never
# told that the drag has ended. Then lets the button go.
abandon_drag() {
    carry_drag "$@"
    kill -KILL "$DRAG_PID" || fail "the drag source ended before it was killed"
    wait_for_exit "$DRAG_PID" 5 || fail "the drag source outlived SIGKILL"
    x_session_forget "$DRAG_PID"
    xdotool mouseup 1
}

# carry_drag PLACE DRAG_SOURCE PATH...: starts the drag source on the paths
# (its pid in DRAG_PID), presses the button in it and carries the drag over
# PLACE, the button still down.
carry_drag() {
    local x y source=$2 window
    read -r x y <<<"$(place_on_screen "$1")"
    shift 2
    tolvane_alive
    x_session_spawn drag-source "$source" "$@"
    DRAG_PID=$SPAWNED_PID
    window=$(x_session_window "$DRAG_PID" drag-source)
    # As a window manager would on the click, so that a focus change after
    # the drop is the program's doing.
    timeout 5 xdotool windowfocus --sync "$window" || fail "could not focus the drag source"
    pointer_to 100 50
    xdotool mousedown 1
    move_in_steps 100 50 "$x" "$y"
}

# move_in_steps FROM_X FROM_Y TO_X TO_Y: moves the pointer as a hand would, in
# steps, then rests on the target until it has answered the drag.
move_in_steps() {
    local step steps=12
    for step in $(seq "$steps"); do
        xdotool mousemove $(($1 + ($3 - $1) * step / steps)) $(($2 + ($4 - $2) * step / steps))
        sleep 0.03
    done
    # Nudges give the target time to send its status before the release.
    for step in 1 2 3; do
        sleep 0.15
        xdotool mousemove "$(($3 + step % 2))" "$4"
    done
    xdotool mousemove "$3" "$4"
    sleep 0.15
}

# wait_for_exit PID SECONDS
wait_for_exit() {
    for _ in $(seq $(($2 * 10))); do
        kill -0 "$1" 2>/dev/null || {
            wait "$1" 2>/dev/null || true
            return 0
        }
        sleep 0.1
    done
    return 1
}
