#!/bin/bash
# shellcheck source-path=SCRIPTDIR
# network_drop_test.sh TOLVANE DRAG_SOURCE FILESYSTEMS_ROOT
#
# Real drags of files in the folders of an SSH server and a Samba server as
# file managers send them when they browse them through GIO (gvfs): as
# sftp:// and smb:// URIs (Nemo, Caja) and as paths under gvfs's FUSE bridge
# (GNOME Files, Thunar), and smb:// URIs of a place that only KDE's kio-fuse
# mounts (Dolphin). Servers, gvfs and its mounts are those that
# tests/fs/filesystems.sh started under FILESYSTEMS_ROOT, on a session bus of
# their own, which Tolvane is given. A taken name and a place that no folder
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

if ! grep -qx gvfs-smb "$mounts/mounted" 2>/dev/null || ! grep -qx gvfs-sftp "$mounts/mounted"; then
    echo "no shares mounted through gvfs under $mounts: this test needs root, sshd, smbd and gvfs (tests/fs/filesystems.sh)"
    cat "$mounts"/gvfs-*.log 2>/dev/null
    [ "${CI:-}" = true ] && exit 1
    exit 77
fi
export DBUS_SESSION_BUS_ADDRESS="unix:path=$mounts/run/bus"
bridge="$(readlink -f "$mounts/run")/gvfs"
ssh_port=$(cat "$mounts/ssh/port")
smb_port=$(cat "$mounts/samba/port")

x_session_start
tolvane_start "$tolvane"
choose_mode i
type_into find-box "x_"

# new_folder SERVER_FOLDER NAME: a new folder there holding a.txt, "b c.txt"
# and Album; its name printed.
new_folder() {
    local dir
    dir=$(mktemp -d "$1/$2-XXXXXX")
    mkdir "$dir/Album"
    echo A >"$dir/a.txt"
    echo B >"$dir/b c.txt"
    basename "$dir"
}

# drops_renamed SERVER_FOLDER PLACE [BRIDGE]: a drag of URIs under PLACE, and
# one of paths under BRIDGE, of a new folder's entries in SERVER_FOLDER.
drops_renamed() {
    local server=$1 place=$2 bridged=${3:-} dir
    dir=$(new_folder "$server" uris)
    drag_files find-box "$drag_source" "$place/$dir/a.txt" "$place/$dir/b%20c.txt" "$place/$dir/Album/"
    expect_files "$server/$dir" x_a.txt "x_b c.txt" x_Album
    expect_count "$server/$dir" 3
    [ "$(cat "$server/$dir/x_a.txt")" = A ] || fail "a.txt lost its content"
    [ -n "$bridged" ] || return 0
    dir=$(new_folder "$server" bridge)
    drag_files bare-surface "$drag_source" "$bridged/$dir/a.txt" "$bridged/$dir/b c.txt" "$bridged/$dir/Album"
    expect_files "$server/$dir" x_a.txt "x_b c.txt" x_Album
    expect_count "$server/$dir" 3
}

drops_renamed "$mounts/gvfs-sftp-share" "sftp://root@127.0.0.1:$ssh_port$mounts/gvfs-sftp-share" \
    "$bridge/sftp:host=127.0.0.1,port=$ssh_port,user=root$mounts/gvfs-sftp-share"
drops_renamed "$mounts/samba/share" "smb://127.0.0.1:$smb_port/share" \
    "$bridge/smb-share:port=$smb_port,server=127.0.0.1,share=share"
# gvfs has no place on "localhost" mounted: KDE's kio-fuse mounts it.
drops_renamed "$mounts/samba/share" "smb://localhost:$smb_port/share"

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

share="$mounts/samba/share"
dir=$(mktemp -d "$share/taken-XXXXXX")
echo A >"$dir/a.txt"
echo X >"$dir/x_a.txt"
refused_drag "a taken name" "smb://127.0.0.1:$smb_port/share/$(basename "$dir")/a.txt"
if [ "$(cat "$dir/a.txt")" != A ] || [ "$(cat "$dir/x_a.txt")" != X ]; then
    fail "a taken name changed a file"
fi
expect_count "$dir" 2

refused_drag "a place no folder shows" "sftp://root@127.0.0.1:1$mounts/gvfs-sftp-share/a.txt"
expect_count "$dir" 2

tolvane_alive
echo "PASS"
