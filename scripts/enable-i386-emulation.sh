#!/bin/sh
# Makes 32-bit x86 programs, such as Wine's 32-bit loader, run on a 64-bit
# machine whose kernel does not run them itself (IA-32 emulation off).
# Where they already run, natively or through a registration someone made
# before, nothing is changed. Otherwise, as root, it sets up user-mode
# emulation with qemu-i386:
#   - an apt source for bookworm-backports on the machine's own Debian
#     mirror, unless one is there: bookworm's own qemu needs about a minute
#     to start each Wine program, the backports one under a second;
#   - the package qemu-user-static from bookworm-backports;
#   - binfmt_misc mounted, and qemu-i386 registered for i386 ELF programs
#     with the F flag (the kernel keeps the emulator open, so it is found
#     from any mount namespace). The registration ends at reboot.
# Exits 0 when 32-bit programs run, 2 when they cannot and this is not root
# (the caller may skip what needs them), 1 on failure.
set -eu

binfmt=/proc/sys/fs/binfmt_misc
qemu=/usr/bin/qemu-i386-static
# The ELF header of an i386 executable or shared object, as qemu's own
# binfmt configuration spells it.
registration=':qemu-i386:M::\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F'
# Versions before this one start Wine programs far too slowly.
qemu_minimum=1:10

# 32-bit glibc's loader comes with wine32; it is the smallest i386 program.
runs_i386() {
    /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

backports_configured() {
    grep -Eqs '^[^#]*bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
        /etc/apt/sources.list.d/*.sources
}

# The mirror the machine's own bookworm packages come from.
debian_mirror() {
    mirror=$(apt-cache policy | awk '$3 ~ /^bookworm\/main$/ { print $2; exit }')
    echo "${mirror:-http://deb.debian.org/debian}"
}

qemu_recent() {
    version=$(dpkg-query -W -f='${Version}' qemu-user-static 2>/dev/null) || return 1
    [ -n "$version" ] && dpkg --compare-versions "$version" ge "$qemu_minimum" && [ -x "$qemu" ]
}

install_qemu() {
    if ! backports_configured; then
        source=/etc/apt/sources.list.d/bookworm-backports.sources
        echo "Adding $source ($(debian_mirror)) for a recent qemu-user-static"
        cat >"$source" <<EOF
Types: deb
URIs: $(debian_mirror)
Suites: bookworm-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    fi
    echo "Installing: qemu-user-static from bookworm-backports"
    # Another installation may be running; wait for it.
    apt-get update -qq -o DPkg::Lock::Timeout=600
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        -o DPkg::Lock::Timeout=600 -t bookworm-backports qemu-user-static
}

fail_or_skip() {
    echo "$1" >&2
    if [ "${CI:-}" = true ]; then exit 1; fi
    exit 2
}

# Without it there is no telling whether the kernel runs 32-bit code itself,
# where registering an emulator would only slow it down.
if [ ! -e /lib/ld-linux.so.2 ]; then
    echo "/lib/ld-linux.so.2 is missing: install wine32:i386 first" >&2
    exit 1
fi
runs_i386 && exit 0

missing=""
qemu_recent || missing="$missing qemu-user-static (bookworm-backports),"
[ -f "$binfmt/register" ] || missing="$missing binfmt_misc mounted,"
[ -e "$binfmt/qemu-i386" ] || missing="$missing qemu-i386 registered,"
if [ "$(id -u)" -ne 0 ]; then
    fail_or_skip "32-bit x86 programs do not run here; as root, the tests would set up:${missing%,}"
fi

# Someone else's entry is theirs to mend.
if [ -e "$binfmt/qemu-i386" ]; then
    echo "32-bit x86 programs do not run here, though $binfmt/qemu-i386 is registered:" >&2
    cat "$binfmt/qemu-i386" >&2
    echo "remove it (echo -1 > $binfmt/qemu-i386) to have the tests register their own" >&2
    exit 1
fi

qemu_recent || install_qemu
[ -f "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
# Installing the package may have registered it already.
if ! runs_i386; then
    printf '%s\n' "$registration" >"$binfmt/register"
    version=$(dpkg-query -W -f='${Version}' qemu-user-static)
    echo "Registered $qemu ($version) in binfmt_misc to run 32-bit x86 programs, until reboot;" \
        "undo: echo -1 > $binfmt/qemu-i386"
fi
runs_i386 || {
    echo "32-bit x86 programs still do not run through $qemu" >&2
    exit 1
}
