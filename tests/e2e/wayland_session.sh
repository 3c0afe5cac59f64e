# Sourced by the Wayland end-to-end tests after x_session.sh, whose clean-up,
# spawning and failure report they share: a private headless sway and what a
# user does on it, with a virtual pointer and a virtual keyboard.
#
# sway refuses to run as root, so the compositor and every client run as an
# unprivileged user, created when missing; the test itself must run as root.
# After wayland_session_start: WAYLAND_DISPLAY and SWAYSOCK point at the
# compositor, E2E_TMP (owned by that user) holds the clients' programs in
# bin/, and `pointer` drives the pointer.

readonly E2E_USER=tolvane-e2e
POINTER_PID=""

# Not root: skipped, except under CI, which must run it.
wayland_session_require_root() {
    [ "$(id -u)" -eq 0 ] && return 0
    if [ "${CI:-}" = true ]; then
        echo "FAIL: the Wayland test must run as root under CI (it runs sway as another user)" >&2
        exit 1
    fi
    echo "SKIP: the Wayland test needs root (it runs sway as an unprivileged user it creates)"
    exit 77
}

as_user() {
    setpriv --reuid="$E2E_USER" --regid="$E2E_USER" --clear-groups "$@"
}

# wayland_session_start PROGRAM...: copies the programs where the user can run
# them (a build tree may lie under root's home) and starts the compositor.
wayland_session_start() {
    trap x_session_cleanup EXIT
    trap 'exit 130' INT
    trap 'fail "stopped: the deadline passed or the test was terminated"' TERM
    x_session_watchdog "${E2E_DEADLINE:-100}"
    id "$E2E_USER" >/dev/null 2>&1 ||
        useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin \
            "$E2E_USER" || fail "could not create the user $E2E_USER"
    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-e2e-XXXXXX")
    mkdir -m 700 "$E2E_TMP/runtime"
    mkdir "$E2E_TMP/bin"
    cp "$@" "$E2E_TMP/bin/"
    chown -R "$E2E_USER:" "$E2E_TMP"
    chmod 755 "$E2E_TMP"

    export XDG_RUNTIME_DIR="$E2E_TMP/runtime" HOME="$E2E_TMP" LC_ALL=C.UTF-8
    unset DISPLAY WAYLAND_DISPLAY SWAYSOCK QT_QPA_PLATFORM GDK_BACKEND XDG_SESSION_TYPE
    unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING QT_IM_MODULE
    # Windows float where they are put, without borders: the window's rect is
    # its surface. The focus moves only on a click or at a client's request.
    cat >"$E2E_TMP/sway.config" <<'CONFIG'
xwayland disable
focus_follows_mouse no
default_border none
default_floating_border none
for_window [title=".*"] floating enable
CONFIG
    x_session_spawn sway env WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        setpriv --reuid="$E2E_USER" --regid="$E2E_USER" --clear-groups \
        sway --config "$E2E_TMP/sway.config"
    wayland_session_wait_sockets "$SPAWNED_PID"
    wayland_session_start_pointer
}

wayland_session_wait_sockets() {
    wait_for "$1" "sway ended at start-up" "sway did not start" sway_sockets_ready
}

# Exports WAYLAND_DISPLAY and SWAYSOCK once sway answers on them.
sway_sockets_ready() {
    local socket ipc
    socket=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -type s -name 'wayland-*' | head -n 1)
    ipc=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -type s -name 'sway-ipc.*' | head -n 1)
    [ -n "$socket" ] && [ -n "$ipc" ] &&
        as_user env SWAYSOCK="$ipc" swaymsg -t get_version >/dev/null 2>&1 || return 1
    export WAYLAND_DISPLAY=${socket##*/} SWAYSOCK=$ipc
}

sway_msg() {
    as_user swaymsg "$@"
}

# The pointer takes absolute positions in the output layout, whose size it
# needs to know.
wayland_session_start_pointer() {
    local width height
    read -r width height <<<"$(sway_msg -t get_outputs | jq -r '.[0].rect | "\(.width) \(.height)"')"
    coproc POINTER { as_user "$E2E_TMP/bin/tolvane-virtual-pointer" "$width" "$height" 2>"$E2E_TMP/pointer.err"; }
    E2E_PIDS="$E2E_PIDS $POINTER_PID"
}

# pointer COMMAND: "move X Y", "press" or "release", done once it returns.
pointer() {
    local reply=""
    echo "$*" >&"${POINTER[1]}"
    read -r -t 5 reply <&"${POINTER[0]}" || true
    [ "$reply" = ok ] || fail "the virtual pointer did not do \"$*\""
}

# wayland_window PID TITLE: prints "X Y WIDTH HEIGHT SHELL" of the window of
# process PID titled TITLE once it is mapped, waiting up to ten seconds.
wayland_window() {
    wait_for "$1" "the process for \"$2\" ended before showing it" \
        "no window titled \"$2\" appeared" wayland_window_of "$1" "$2"
}

wayland_window_of() { # PID TITLE: prints the window's place and shell, if it is there
    local found
    found=$(sway_msg -t get_tree | jq -r --argjson pid "$1" --arg title "$2" \
        '.. | objects | select(.pid? == $pid and .name? == $title and .visible?)
         | "\(.rect.x) \(.rect.y) \(.rect.width) \(.rect.height) \(.shell)"' | head -n 1)
    [ -n "$found" ] && echo "$found"
}

# window_focused PID: whether the compositor gives a window of PID the focus.
window_focused() {
    [ "$(sway_msg -t get_tree | jq --argjson pid "$1" '[.. | objects | select(.pid? == $pid and .focused?)] | length')" -gt 0 ]
}

# place_window PID X Y: puts the floating window of PID at X Y.
place_window() {
    sway_msg "[pid=$1] move position $2 $3" >/dev/null || fail "could not move the window of $1"
}

# type_keys ARG...: wtype's arguments, typed into the focused window.
type_keys() {
    as_user wtype "$@" || fail "wtype failed: $*"
}
