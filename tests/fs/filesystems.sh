#!/bin/bash
# filesystems.sh up ROOT | down ROOT
#
# Mounts, under ROOT, one of each filesystem that people drop files from:
# ext4, xfs and btrfs on loop images, tmpfs, an overlay (as in live sessions
# and containers) whose lower layer holds the folder "lower-album", and
# through FUSE ntfs-3g,
# exfat-fuse, FAT (fusefat) and bindfs, a passthrough without the no-replace
# rename, and sshfs from an OpenSSH server of its own on the loopback
# address, which gives each name its own inode number. Each is mounted on
# ROOT/NAME;
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
        start_sshd && sshfs -p "$(cat "$root/ssh/port")" \
            -o "IdentityFile=$root/ssh/client,$ssh_options" \
            "root@127.0.0.1:$root/sshfs-share" "$dir"
        ;;
    esac
}

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
    for name in ext4 xfs btrfs tmpfs overlay ntfs-3g exfat-fuse fusefat bindfs sshfs; do
        if mount_one "$name" && mountpoint -q "$root/$name"; then
            echo "$name" >>"$root/mounted"
        else
            echo "filesystems.sh: could not mount $name" >&2
        fi
    done
}

down() {
    local dir file device name output damaged=0
    # Innermost first; the paths in /proc/mounts escape blanks, which ROOT has none of.
    for dir in $(awk -v r="$root/" 'index($2, r) == 1 { print $2 }' /proc/mounts | sort -r); do
        umount "$dir" 2>/dev/null || umount -l "$dir"
    done
    [ -f "$root/ssh/sshd.pid" ] && kill "$(cat "$root/ssh/sshd.pid")"
    # A FUSE daemon may still be writing its last changes after the unmount.
    for _ in $(seq 50); do
        pgrep -f "$root/" >/dev/null || break
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
    rm -rf "$root"
    return $damaged
}

case $1 in
up) up ;;
down) down ;;
*) echo "usage: filesystems.sh up|down ROOT" >&2 && exit 2 ;;
esac
