#!/bin/bash
# filesystems.sh up ROOT | down ROOT
#
# Mounts, under ROOT, one of each filesystem that people drop files from:
# ext4, xfs and btrfs on loop images, tmpfs, an overlay (as in live sessions
# and containers) whose lower layer holds the folder "lower-album", and
# through FUSE ntfs-3g,
# exfat-fuse, FAT (fusefat) and bindfs, a passthrough without the no-replace
# rename, and sshfs from an OpenSSH server of its own on the loopback
# address, which gives each name its own inode number. The same SSH server
# and a Samba server of its own are also mounted through gvfs, as file
# managers do, on a private session bus: ROOT/gvfs-sftp and ROOT/gvfs-smb
# are links to their folders under gvfs's FUSE bridge, ROOT/kio-fuse to a
# folder of the Samba share under KDE's kio-fuse. ROOT/portal is a
# folder that the document portal shares whole, as sandboxed programs get
# it; ROOT/portal-single-id names the document of a file shared alone. Each
# other one is mounted on ROOT/NAME;
# ROOT/mounted lists the names that are. Needs root, loop devices and
# /dev/fuse. `down` unmounts everything under ROOT, frees its loop devices
# and checks each image with its filesystem's own checker: it fails when a
# filesystem was left damaged (FAT through FUSE, for one, frees a file's data
# when asked to change the case of its name in one plain rename).
set -u

root=$(realpath -m "${2:?usage: filesystems.sh up|down ROOT}")  # /proc/mounts lists it absolute

image() { # image NAME SIZE: a sparse image file, its path printed
    local file="$root/images/$1.img"
    truncate -s "$2" "$file" && printf '%s\n' "$file"
}

loop() { # loop FILE: a loop device for FILE, its path printed
    losetup --find --show "$1"
}

mount_one() { # mount_one NAME: makes and mounts the filesystem NAME
    local dir="$root/$1" file device
    mkdir -p "$dir"
    case $1 in
    ext4 | xfs | btrfs)
        # xfs wants at least 300 MiB; the image is sparse.
        file=$(image "$1" 320M) && "mkfs.$1" -q "$file" >/dev/null 2>&1 &&
            mount -o loop "$file" "$dir"
        ;;
    tmpfs) mount -t tmpfs -o size=64M tolvane-test "$dir" ;;
    overlay)
        mkdir -p "$root/overlay-lower/lower-album" "$root/overlay-upper" "$root/overlay-work" &&
            echo song >"$root/overlay-lower/lower-album/song" &&
            mount -t overlay tolvane-test -o "lowerdir=$root/overlay-lower,upperdir=$root/overlay-upper,workdir=$root/overlay-work" "$dir"
        ;;
    ntfs-3g)
        file=$(image "$1" 64M) && mkntfs -F -Q "$file" >/dev/null 2>&1 &&
            device=$(loop "$file") && ntfs-3g "$device" "$dir"
        ;;
    exfat-fuse)
        file=$(image "$1" 64M) && mkfs.exfat "$file" >/dev/null &&
            device=$(loop "$file") && mount.exfat-fuse "$device" "$dir" >/dev/null 2>&1
        ;;
    fusefat)
        file=$(image "$1" 64M) && mkfs.vfat "$file" >/dev/null &&
            fusefat -o rw+ "$file" "$dir" >/dev/null 2>&1
        ;;
    bindfs) mkdir -p "$root/bindfs-source" && bindfs "$root/bindfs-source" "$dir" ;;
    sshfs)
        start_sshd_once && sshfs -p "$(cat "$root/ssh/port")" \
            -o "IdentityFile=$root/ssh/client,$ssh_options" \
            "root@127.0.0.1:$root/sshfs-share" "$dir"
        ;;
    gvfs-sftp)
        start_session_bus && mkdir -p "$root/gvfs-sftp-share" && gio_mount "sftp://root@127.0.0.1:$(cat "$root/ssh/port")/" &&
            rmdir "$dir" && ln -s "$run/gvfs/sftp:host=127.0.0.1,port=$(cat "$root/ssh/port"),user=root$root/gvfs-sftp-share" "$dir" &&
            await_folder "$dir"
        ;;
    gvfs-smb)
        start_session_bus && start_smbd && gio_mount -a "smb://127.0.0.1:$(cat "$root/samba/port")/share/" &&
            rmdir "$dir" && ln -s "$run/gvfs/smb-share:port=$(cat "$root/samba/port"),server=127.0.0.1,share=share" "$dir" &&
            await_folder "$dir"
        ;;
    kio-fuse)
        start_session_bus && start_smbd && mkdir -p "$root/samba/share/kio" &&
            rmdir "$dir" && ln -s "$(kio_mount "smb://127.0.0.1:$(cat "$root/samba/port")/share/")/kio" "$dir"
        ;;
    portal)
        start_session_bus && mkdir -p "$root/portal-share" "$root/portal-single" &&
            echo S >"$root/portal-single/shared.txt" &&
            portal_share "$root/portal-single/shared.txt" >"$root/portal-single-id" &&
            rmdir "$dir" && ln -s "$run/doc/$(portal_share "$root/portal-share" --folder)/portal-share" "$dir" &&
            await_folder "$dir"
        ;;
    esac
}

run=$(readlink "$root/run" 2>/dev/null) || run=$root/run # the session's runtime folder
ssh_options=StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null,BatchMode=yes

start_sshd() { # an sshd of our own on a free loopback port, for root by key
    local ssh="$root/ssh" port
    mkdir -p "$ssh" "$root/sshfs-share" /run/sshd &&
        ssh-keygen -q -t ed25519 -N '' -f "$ssh/host" &&
        ssh-keygen -q -t ed25519 -N '' -f "$ssh/client" &&
        cp "$ssh/client.pub" "$ssh/authorized_keys" || return 1
    for port in $(seq $((20000 + $$ % 20000)) $((20019 + $$ % 20000))); do
        printf '%s\n' "Port $port" "ListenAddress 127.0.0.1" "HostKey $ssh/host" \
            "AuthorizedKeysFile $ssh/authorized_keys" "PermitRootLogin prohibit-password" \
            "PasswordAuthentication no" "UsePAM no" "StrictModes no" \
            "Subsystem sftp internal-sftp" "PidFile $ssh/sshd.pid" >"$ssh/config"
        if /usr/sbin/sshd -f "$ssh/config" -E "$ssh/sshd.log"; then
            echo "$port" >"$ssh/port"
            return 0
        fi
    done
    return 1
}

start_smbd() { # a Samba server of our own on a free loopback port, one guest share
    local samba="$root/samba" port
    [ -f "$samba/port" ] && return 0
    mkdir -p "$samba/share" "$samba/private" "$samba/lock" "$samba/state" "$samba/cache" "$samba/run"
    for port in $(seq $((24450 + $$ % 20000)) $((24469 + $$ % 20000))); do
        ss -Hltn "sport = :$port" | grep -q . && continue
        printf '%s\n' "[global]" "server role = standalone server" "smb ports = $port" \
            "interfaces = lo" "bind interfaces only = yes" "map to guest = Bad User" \
            "guest account = root" "private dir = $samba/private" "lock directory = $samba/lock" \
            "state directory = $samba/state" "cache directory = $samba/cache" \
            "pid directory = $samba/run" "log file = $samba/smbd.log" "load printers = no" \
            "disable spoolss = yes" "[share]" "path = $samba/share" "guest ok = yes" \
            "guest only = yes" "read only = no" "force user = root" >"$samba/smb.conf"
        # In a session of its own: smbd ends by signalling its whole process group.
        setsid /usr/sbin/smbd -D -s "$samba/smb.conf" || return 1
        for _ in $(seq 50); do
            if ss -Hltn "sport = :$port" | grep -q .; then
                echo "$port" >"$samba/port"
                return 0
            fi
            sleep 0.1
        done
        return 1
    done
    return 1
}

# A session bus of our own, for gvfs, its FUSE bridge under ROOT/run/gvfs,
# kio-fuse, under ROOT/run/kio-fuse-*, and the document portal, under
# ROOT/run/doc. It logs in
# to the SSH server with the tests' key through an agent that lives as long
# as the mount takes.
#
# The runtime folder itself lives under /tmp, ROOT/run linking to it: gvfs's
# SFTP backend logs in, then fails with "Connection failed" when that
# folder's path is long (ROOT of 44 characters fails, of 8 works), as in a
# checkout's build folder.
start_session_bus() {
    [ -S "$root/run/bus" ] && return 0
    run=$(mktemp -d /tmp/tolvane-run.XXXXXX) && ln -s "$run" "$root/run" && start_sshd_once || return 1
    ssh-agent -a "$root/run/agent" | sed -n 's/^SSH_AGENT_PID=\([0-9]*\);.*/\1/p' >"$root/run/agent.pid" &&
        SSH_AUTH_SOCK="$root/run/agent" ssh-add -q "$root/ssh/client" &&
        mkdir -p "$root/home" &&
        env HOME="$root/home" XDG_RUNTIME_DIR="$run" SSH_AUTH_SOCK="$root/run/agent" \
            dbus-daemon --session --fork --address="unix:path=$root/run/bus" --print-pid >"$root/run/bus.pid"
}

portal_share() { # portal_share PATH [--folder]: the portal's document ID for PATH
    env DBUS_SESSION_BUS_ADDRESS="unix:path=$root/run/bus" /usr/bin/python3 "$(dirname "$0")/portal_share.py" "$@"
}

kio_mount() { # kio_mount URL: mounts URL through kio-fuse, its local path printed
    env DBUS_SESSION_BUS_ADDRESS="unix:path=$root/run/bus" timeout 60 gdbus call --session \
        -d org.kde.KIOFuse -o /org/kde/KIOFuse -m org.kde.KIOFuse.VFS.mountUrl "$1" |
        sed -n "s/^('\(.*\)',)\$/\1/p" | grep .
}

gio_mount() { # gio_mount [-a] URI: mounts URI through gvfs (-a: as a guest)
    # The first mount starts gvfs on the bus, which a machine still busy
    # with a fresh install may not do in time: it is tried three times.
    local attempt
    for attempt in 1 2 3; do
        # The answer "1" trusts the SSH server's new host key when gvfs asks.
        printf '1\n' | env DBUS_SESSION_BUS_ADDRESS="unix:path=$root/run/bus" XDG_RUNTIME_DIR="$run" \
            timeout 60 gio mount "$@" >"$root/run/gio-mount.log" 2>&1 && return 0
        # An attempt answered late may have mounted it all the same.
        grep -q "already mounted" "$root/run/gio-mount.log" && return 0
        sed "s/^/gio mount, attempt $attempt: /" "$root/run/gio-mount.log" >&2
        sleep 2
    done
    return 1
}

# gvfs mounts its FUSE bridge on its own time: the first mount on the bus may
# be answered before the bridge shows it, all the more on a busy machine.
await_folder() { # await_folder DIR: waits up to 30 s for DIR to show a folder
    for _ in $(seq 300); do
        [ -d "$1/." ] && return 0
        sleep 0.1
    done
    echo "filesystems.sh: $1 did not show a folder within 30 s" >&2
    return 1
}

start_sshd_once() { [ -f "$root/ssh/port" ] || { [ ! -e "$root/ssh" ] && start_sshd; }; }

check() { # check NAME FILE: the filesystem's own checker, changing nothing
    case $1 in
    ext4) e2fsck -fn "$2" ;;
    xfs) xfs_repair -n "$2" ;;
    btrfs) btrfs check --readonly "$2" ;;
    ntfs-3g) ntfsfix -n "$2" ;;
    exfat-fuse) fsck.exfat -n "$2" ;;
    fusefat) fsck.vfat -n "$2" ;;
    esac
}

up() {
    mkdir -p "$root/images"
    : >"$root/mounted"
    local name
    for name in ext4 xfs btrfs tmpfs overlay ntfs-3g exfat-fuse fusefat bindfs sshfs gvfs-sftp gvfs-smb kio-fuse portal; do
        # What went wrong is kept in ROOT/NAME.log too, for the tests that
        # need NAME to name it where their failure is read.
        if mount_one "$name" 2>"$root/$name.log" && { mountpoint -q "$root/$name" || [ -d "$root/$name/." ]; }; then
            echo "$name" >>"$root/mounted"
        else
            echo "filesystems.sh: could not mount $name" >>"$root/$name.log"
            cat "$root/$name.log" >&2
        fi
    done
}

down() {
    local dir file device name output damaged=0
    # Innermost first; the paths in /proc/mounts escape blanks, which ROOT has none of.
    for dir in $(awk -v r="$root/" -v s="$run/" 'index($2, r) == 1 || index($2, s) == 1 { print $2 }' /proc/mounts | sort -r); do
        umount "$dir" 2>/dev/null || umount -l "$dir"
    done
    [ -f "$root/ssh/sshd.pid" ] && kill "$(cat "$root/ssh/sshd.pid")"
    [ -f "$root/samba/run/smbd.pid" ] && kill "$(cat "$root/samba/run/smbd.pid")"
    [ -f "$root/run/bus.pid" ] && kill "$(cat "$root/run/bus.pid")"
    [ -s "$root/run/agent.pid" ] && kill "$(cat "$root/run/agent.pid")"
    # A FUSE daemon may still be writing its last changes after the unmount.
    for _ in $(seq 50); do
        pgrep -f "$root/|$run/" >/dev/null || break
        sleep 0.1
    done
    for file in "$root"/images/*.img; do
        [ -e "$file" ] || continue
        for device in $(losetup --associated "$file" --output NAME --noheadings); do
            losetup --detach "$device"
        done
        name=$(basename "$file" .img)
        if ! output=$(check "$name" "$file" 2>&1); then
            printf '%s\n' "$output" >&2
            echo "filesystems.sh: $name was left damaged" >&2
            damaged=1
        fi
    done
    [ -L "$root/run" ] && rm -rf "$run"
    rm -rf "$root"
    return $damaged
}

case $1 in
up) up ;;
down) down ;;
*) echo "usage: filesystems.sh up|down ROOT" >&2 && exit 2 ;;
esac
