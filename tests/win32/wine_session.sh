#!/bin/bash
# Runs Windows test programs under Wine, sharing one Wine prefix, one
# persistent wineserver and one private Xvfb among all of a test run's
# programs, so each test starts in a fraction of a second.
#
#   wine_session.sh run STATE_DIR LOADER PROGRAM [ARGS...]
#   wine_session.sh display STATE_DIR LOADER
#   wine_session.sh stop STATE_DIR
#
# display prepares the session as run does and prints its X display (":3"),
# for tests that drive Wine's windows with X clients of their own.
#
# STATE_DIR holds the prefix and the X server's details; it belongs to one
# build tree. Windows needs a display for any window: the session always
# starts its own Xvfb, so test windows never appear on a user's desktop.
set -eu

command=$1
state=$2
shift 2
mkdir -p "$state"
export WINEPREFIX="$state/prefix"
export WINEDEBUG=-all
# Wine turns Windows names into Linux ones with the locale's character set;
# in the C locale of a bare machine no name beyond ASCII could be made.
export LC_ALL=C.UTF-8
# No Mono or Gecko installer prompts: the tests use neither.
export WINEDLLOVERRIDES="mscoree,mshtml="

# The session's X server answers on its display (a pid alone may be stale).
xvfb_alive() {
    [ -f "$state/xvfb.pid" ] && [ -f "$state/display" ] &&
        kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null &&
        xdpyinfo -display "$(cat "$state/display")" >/dev/null 2>&1
}

stop_xvfb() {
    if [ -f "$state/xvfb.pid" ]; then
        pid=$(cat "$state/xvfb.pid")
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 20); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$pid" 2>/dev/null || true
    fi
    rm -f "$state/xvfb.pid" "$state/display"
}

start_xvfb() {
    fifo="$state/displayfd"
    rm -f "$fifo"
    mkfifo "$fifo"
    # Long-lived children get no copy of the lock (fd 9), which would keep
    # every later program waiting for it.
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -dpi 96 -noreset \
        3>"$fifo" >"$state/xvfb.log" 2>&1 </dev/null 9>&- &
    echo $! >"$state/xvfb.pid"
    exec 4<>"$fifo"
    number=""
    read -r -t 10 number <&4 || true
    exec 4<&-
    rm -f "$fifo"
    if [ -z "$number" ]; then
        echo "wine_session: Xvfb did not start" >&2
        cat "$state/xvfb.log" >&2
        stop_xvfb
        exit 1
    fi
    echo ":$number" >"$state/display"
}

# Called under the lock: the first program of a run sets everything up.
prepare() {
    xvfb_alive || { stop_xvfb; start_xvfb; }
    DISPLAY=$(cat "$state/display")
    export DISPLAY
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        "$loader" wineboot.exe --init >/dev/null 2>&1 9>&- || true
    fi
    # Persistent, but gone a minute after the last program ends.
    wineserver -p60 >/dev/null 2>&1 9>&- || true
}

lock() {
    exec 9>"$state/lock"
    flock -w 180 9 || {
        echo "wine_session: timed out waiting for $state/lock" >&2
        exit 1
    }
}

unlock() {
    flock -u 9
    exec 9>&-
}

prepare_locked() {
    lock
    prepare
    unlock
}

case "$command" in
run)
    loader=$1
    shift
    prepare_locked
    # Wine starts long-lived helpers (services, the desktop process) from
    # whichever program comes first, and they keep its output open. Through
    # a file, the caller's pipe closes when the program ends.
    output=$(mktemp "$state/output.XXXXXX")
    errors=$(mktemp "$state/errors.XXXXXX")
    for attempt in 1 2; do
        status=0
        "$loader" "$@" </dev/null >"$output" 2>"$errors" || status=$?
        # Killed by a signal before the test program gave its verdict: Wine
        # itself died (its 32-bit loader under qemu-i386 does, rarely; a
        # Windows program's own crash ends in an exit code). Once more.
        if [ "$attempt" -eq 1 ] && [ "$status" -gt 128 ] &&
            ! grep -q '^\[  \(PASSED\|FAILED\)  \]' "$output"; then
            echo "wine_session.sh: $loader died by signal $((status - 128)); running $1 once more" >&2
            continue
        fi
        break
    done
    cat "$output"
    cat "$errors" >&2
    rm -f "$output" "$errors"
    exit $status
    ;;
display)
    loader=$1
    prepare_locked
    echo "$DISPLAY"
    ;;
stop)
    lock
    wineserver -k >/dev/null 2>&1 || true
    stop_xvfb
    unlock
    ;;
*)
    echo "usage: wine_session.sh run STATE_DIR LOADER PROGRAM [ARGS...]" \
        "| display STATE_DIR LOADER | stop STATE_DIR" >&2
    exit 2
    ;;
esac
