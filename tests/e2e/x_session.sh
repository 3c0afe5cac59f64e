# Sourced by the end-to-end tests: a private X server, the processes started
# on it, and clean-up of all of them however the test ends.
#
# After x_session_start: DISPLAY points at a fresh Xvfb, E2E_TMP is a private
# temporary directory, and every process started with x_session_spawn is
# stopped and the directory removed when the shell exits.

E2E_TMP=""
E2E_PIDS=""
E2E_XVFB_PID=""
E2E_NAME=$(basename "$0" .sh)

x_session_cleanup() {
    local status=$? pid
    trap - EXIT
    trap '' INT TERM
    for pid in $E2E_PIDS $E2E_XVFB_PID; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in $E2E_PIDS $E2E_XVFB_PID; do
        x_session_reap "$pid"
    done
    [ -n "$E2E_TMP" ] && rm -rf "$E2E_TMP"
    exit "$status"
}

# Waits up to two seconds for a process to end after SIGTERM, then kills it.
x_session_reap() {
    local pid=$1
    for _ in $(seq 20); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

x_session_start() {
    trap x_session_cleanup EXIT
    trap 'exit 130' INT
    trap 'fail "stopped: the deadline passed or the test was terminated"' TERM
    x_session_watchdog "${E2E_DEADLINE:-100}"
    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-e2e-XXXXXX")
    mkdir -m 700 "$E2E_TMP/runtime"
    export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
    export QT_QPA_PLATFORM=xcb
    # xdotool types non-ASCII text only under a UTF-8 locale; Debian always
    # has C.UTF-8, while a fresh machine may set no locale at all.
    export LC_ALL=C.UTF-8
    unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING QT_IM_MODULE
    unset XMODIFIERS WAYLAND_DISPLAY
    x_session_start_xvfb
}

# Sends this shell SIGTERM after SECONDS, so that a test that is stuck still
# reports what it saw and cleans up before CTest's own timeout kills it.
x_session_watchdog() {
    local main=$$
    (
        for _ in $(seq $(($1 * 2))); do sleep 0.5; done
        kill -TERM "$main"
    ) &
    E2E_PIDS="$E2E_PIDS $!"
}

# Xvfb picks a free display itself and writes its number to a pipe, so tests
# that run side by side never collide.
x_session_start_xvfb() {
    local fifo="$E2E_TMP/displayfd" number=""
    mkfifo "$fifo"
    # -noreset: the server must not start afresh whenever its last client
    # disconnects, between the test's own short-lived X clients.
    Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -dpi 96 -noreset \
        3>"$fifo" >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    # The read end is opened before reading so the timeout covers a server
    # that never starts.
    exec 4<>"$fifo"
    read -r -t 10 number <&4 || true
    exec 4<&-
    if [ -z "$number" ]; then
        cat "$E2E_TMP/xvfb.log" >&2
        fail "Xvfb did not start"
    fi
    export DISPLAY=":$number"
    for _ in $(seq 50); do
        if xdpyinfo >/dev/null 2>&1; then
            # A German keyboard types "ö", "ü" and "ß" with keys of their own;
            # typing characters the keymap lacks makes xdotool remap keys
            # while the program reads them, which loses keys now and then.
            setxkbmap -layout de || fail "could not set the keyboard layout"
            return 0
        fi
        sleep 0.1
    done
    fail "Xvfb on $DISPLAY does not answer"
}

# x_session_spawn NAME COMMAND...: starts COMMAND in the background with its
# output in $E2E_TMP/NAME.out and .err; its pid is left in SPAWNED_PID.
x_session_spawn() {
    local name=$1
    shift
    "$@" >"$E2E_TMP/$name.out" 2>"$E2E_TMP/$name.err" &
    SPAWNED_PID=$!
    E2E_PIDS="$E2E_PIDS $SPAWNED_PID"
}

# x_session_forget PID: for a spawned process that has ended and been waited
# for, so that clean-up never signals a process that reused its pid.
x_session_forget() {
    E2E_PIDS=$(echo "$E2E_PIDS" | tr ' ' '\n' | grep -vx "$1" | tr '\n' ' ' || true)
}

# wait_for PID ENDED TIMED_OUT COMMAND...: runs COMMAND every 0.1 s until it
# succeeds, for up to ten seconds; fails with ENDED when process PID ends
# first, with TIMED_OUT when the time runs out.
wait_for() {
    local pid=$1 ended=$2 timed_out=$3
    shift 3
    for _ in $(seq 100); do
        "$@" && return 0
        kill -0 "$pid" 2>/dev/null || fail "$ended"
        sleep 0.1
    done
    fail "$timed_out"
}

# x_session_window PID TITLE: prints the id of the visible window of process
# PID whose title is exactly TITLE, waiting up to ten seconds for it.
x_session_window() {
    wait_for "$1" "the process for \"$2\" ended before showing it" \
        "no window titled \"$2\" appeared" x_window_of "$1" "$2"
}

x_window_of() { # PID TITLE: prints the window's id, if it is there
    local id
    id=$(xdotool search --onlyvisible --pid "$1" --name "^$2\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && echo "$id"
}

# Prints what may explain a failure, with a screenshot saved outside the
# temporary directory (under E2E_ARTIFACTS, by default ./e2e-artifacts) so
# that it outlives the clean-up.
x_session_diagnose() {
    local dir="${E2E_ARTIFACTS:-$PWD/e2e-artifacts}/$E2E_NAME" file
    mkdir -p "$dir"
    if [ -n "${DISPLAY:-}" ]; then
        timeout 10 import -window root "$dir/screen.png" 2>/dev/null &&
            echo "screenshot: $dir/screen.png" >&2
        echo "pointer: $(xdotool getmouselocation 2>&1)" >&2
        echo "focus: $(xdotool getwindowfocus 2>&1)" >&2
        xwininfo -root -tree 2>&1 | grep -v '(has no name)' >&2 || true
    fi
    for file in "$E2E_TMP"/*.out "$E2E_TMP"/*.err; do
        [ -s "$file" ] || continue
        echo "--- $(basename "$file")" >&2
        cat "$file" >&2
    done
}

fail() {
    echo "FAIL: $*" >&2
    x_session_diagnose
    exit 1
}
