#!/bin/bash
# shellcheck source-path=SCRIPTDIR
# network_drop_test.sh TOLVANE DRAG_SOURCE FILESYSTEMS_ROOT
#
# Real drags of files in an SSH server's folder as file managers send them
# when they browse it through GIO (gvfs): as sftp:// URIs (Nemo, Caja) and
# as paths under gvfs's FUSE bridge (GNOME Files, Thunar). The server is the
# sshd that tests/fs/filesystems.sh started under FILESYSTEMS_ROOT; gvfs
# runs on a private session bus. A taken name and a place that no folder
# shows are refused with an error, and nothing changes.
set -eu
here=$(dirname "$0")
. "$here/x_session.sh"
. "$here/window_actions.sh"
. "$here/file_checks.sh"

[ $# -eq 3 ] || {
    echo "usage: $0 TOLVANE DRAG_SOURCE FILESYSTEMS_ROOT" >&2
    exit 2
}
tolvane=$1
drag_source=$2
mounts=$3

if ! grep -qx sshfs "$mounts/mounted" 2>/dev/null || [ ! -x /usr/libexec/gvfsd-fuse ]; then
    echo "no sshd under $mounts or no gvfs: this test needs root (tests/fs/filesystems.sh) and gvfs-fuse"
    [ "${CI:-}" = true ] && exit 1
    exit 77
fi
if [ -z "${TOLVANE_OWN_BUS:-}" ]; then
    TOLVANE_OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi

port=$(cat "$mounts/ssh/port")
share="$mounts/sshfs-share"
place="sftp://root@127.0.0.1:$port"

x_session_start
# gvfs logs in with the test's key through an agent of its own.
eval "$(ssh-agent -s)" >/dev/null
E2E_PIDS="$E2E_PIDS $SSH_AGENT_PID"
ssh-add -q "$mounts/ssh/client" 2>/dev/null
# The bus starts gvfs's daemon when gio first asks for it, with the agent.
dbus-update-activation-environment SSH_AUTH_SOCK
mkdir "$XDG_RUNTIME_DIR/gvfs"
x_session_spawn gvfsd-fuse /usr/libexec/gvfsd-fuse "$XDG_RUNTIME_DIR/gvfs" -f
# Answers "yes" when asked to trust the server's new host key.
printf '1\n' | timeout 30 gio mount "$place/" >/dev/null 2>&1 || fail "gio could not mount $place"
bridge="$XDG_RUNTIME_DIR/gvfs/sftp:host=127.0.0.1,port=$port,user=root"
wait_for $$ "" "gvfs's bridge does not show $bridge" test -d "$bridge$share"

tolvane_start "$tolvane"
choose_mode i
type_into find-box "x_"

# new_folder NAME: a new folder on the share holding a.txt, "b c.txt" and Album.
new_folder() {
    local dir
    dir=$(mktemp -d "$share/$1-XXXXXX")
    mkdir "$dir/Album"
    echo A >"$dir/a.txt"
    echo B >"$dir/b c.txt"
    echo "$dir"
}

dir=$(new_folder uris)
drag_files find-box "$drag_source" "$place$dir/a.txt" "$place$dir/b%20c.txt" "$place$dir/Album/"
expect_files "$dir" x_a.txt "x_b c.txt" x_Album
expect_count "$dir" 3
[ "$(cat "$dir/x_a.txt")" = A ] || fail "a.txt lost its content"

dir=$(new_folder bridge)
drag_files bare-surface "$drag_source" "$bridge$dir/a.txt" "$bridge$dir/b c.txt" "$bridge$dir/Album"
expect_files "$dir" x_a.txt "x_b c.txt" x_Album
expect_count "$dir" 3

# refused_drag WHAT PATH...: the drop shows an error box, which Return closes.
refused_drag() {
    local what=$1
    shift
    drag_files find-box "$drag_source" "$@"
    wait_for "$TOLVANE_PID" "Tolvane ended" "no error box for $what" error_box_open
    xdotool windowfocus --sync "$(error_box_shown)" key Return
    wait_for "$TOLVANE_PID" "Tolvane ended" "the error box stayed open" error_box_gone
}
error_box_shown() {
    xdotool search --onlyvisible --pid "$TOLVANE_PID" --name '^Tolvane$' 2>/dev/null |
        grep -vx "$TOLVANE_WINDOW" | head -n 1 | grep .
}
error_box_open() { error_box_shown >/dev/null; }
error_box_gone() { ! error_box_open; }

dir=$(mktemp -d "$share/taken-XXXXXX")
echo A >"$dir/a.txt"
echo X >"$dir/x_a.txt"
refused_drag "a taken name" "$place$dir/a.txt"
if [ "$(cat "$dir/a.txt")" != A ] || [ "$(cat "$dir/x_a.txt")" != X ]; then
    fail "a taken name changed a file"
fi
expect_count "$dir" 2

refused_drag "a place no folder shows" "sftp://root@127.0.0.1:1$dir/a.txt"
expect_count "$dir" 2

tolvane_alive
echo "PASS"
