#!/bin/sh
# Builds a Release into build-bench and prints the benchmark figures: a
# full-size batch and a full-size drop against two bare renameat2 loops (on
# full paths, and by name inside the folder: the floor), then
# the program's start-up time and peak memory against a minimal Qt window
# (and, for reference, one showing a line of text), then real full-size
# drags from another program against the same loops, all on a private Xvfb.
# Installs nothing; the tools come from scripts/install-deps.sh --tests.
set -eu
cd "$(dirname "$0")/.."

startup_rounds=10
settle_ms=300

for tool in cmake Xvfb; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "bench: $tool is missing; run sh scripts/install-deps.sh --tests" >&2
        exit 1
    fi
done

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTOLVANE_QT=ON -DTOLVANE_TESTS=OFF \
    -DTOLVANE_WERROR=OFF -DTOLVANE_BENCH=ON >/dev/null
cmake --build build-bench -j2 >/dev/null
bin=$PWD/build-bench
for program in bench/rename_batch_bench bench/share_rename_bench bench/drop_bench bench/call_gap_bench bench/minimal_window_bench \
    bench/startup_probe bench/drag_bench app/tolvane tools/drag_source/tolvane-drag-source; do
    if [ ! -x "$bin/$program" ]; then
        echo "bench: build-bench/$program was not built" >&2
        exit 1
    fi
done

# Everything the runs leave behind lives here, and goes at the end however
# the script ends.
work=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-bench.XXXXXX")
xvfb_pid=""
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    [ -f "$work/mounts/mounted" ] && bash tests/fs/filesystems.sh down "$work/mounts" >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)," \
    "kernel $(uname -r), load average $(cut -d ' ' -f 1-3 /proc/loadavg)"
# With page-table isolation and no PCID, every system call drops the
# process's address translations: each page touched between two renames
# then costs a fresh lookup, a cost the floor loop barely pays.
pcid=no
grep -qw pcid /proc/cpuinfo && pcid=yes
echo "page-table isolation: $(cat /sys/devices/system/cpu/vulnerabilities/meltdown 2>/dev/null ||
    echo unknown); PCID: $pcid"
echo

# The renames run in a folder under the build tree (the disk's filesystem)
# and in /dev/shm (tmpfs), each against both references.
rename_dirs="$bin/bench-files"
[ -d /dev/shm ] && [ -w /dev/shm ] && rename_dirs="$rename_dirs /dev/shm"
rm -rf "$bin/bench-files"
mkdir "$bin/bench-files"
# shellcheck disable=SC2086 # one argument per folder
"$bin/bench/rename_batch_bench" 7 $rename_dirs
echo
# shellcheck disable=SC2086
"$bin/bench/drop_bench" 7 $rename_dirs
echo
# shellcheck disable=SC2086
"$bin/bench/call_gap_bench" 5 $rename_dirs
echo

# Shares: sshfs, and gvfs's bridge to SFTP and to Samba, from servers of our
# own on the loopback address, mounted as the filesystem tests mount them
# (which needs root). Each call there is a round trip to the server.
if [ "$(id -u)" -eq 0 ]; then
    shares="$work/mounts"
    bash tests/fs/filesystems.sh up "$shares" 2>"$work/mounts.log"
    "$bin/bench/share_rename_bench" 3 "$shares/sshfs" "$(realpath "$shares/gvfs-sftp")" \
        "$(realpath "$shares/gvfs-smb")"
    bash tests/fs/filesystems.sh down "$shares" 2>>"$work/mounts.log" >&2
else
    echo "share_rename_bench: skipped; mounting the shares needs root"
fi
echo

# A display of our own: -displayfd makes Xvfb pick a free number and report
# it once it accepts connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
tries=0
while [ ! -s "$work/display" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
        echo "bench: Xvfb did not start:" >&2
        cat "$work/xvfb.log" >&2
        exit 1
    fi
    sleep 0.1
done
display=":$(cat "$work/display")"

# The same environment for every program, with nothing from the caller's
# desktop that could make Qt load a theme or plugins for one but not
# another.
mkdir -m 700 "$work/home" "$work/runtime"
on_display() { # COMMAND...
    env -i PATH=/usr/bin:/bin HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" \
        LANG=C.UTF-8 DISPLAY="$display" QT_QPA_PLATFORM=xcb "$@"
}
probe() { # TITLE PROGRAM [ARGUMENT]: prints "milliseconds-to-mapped peak-kB"
    on_display "$bin/bench/startup_probe" "$1" "$settle_ms" "$2" ${3:+"$3"} 2>>"$work/probe.log" || {
        echo "bench: starting $2 failed:" >&2
        cat "$work/probe.log" >&2
        exit 1
    }
}
# One untimed start each fills the caches (fontconfig, page cache); then
# the programs take turns, in a rotating order.
start_tolvane() { probe Tolvane "$bin/app/tolvane"; }
start_minimal() { probe Minimal "$bin/bench/minimal_window_bench"; }
start_text() { probe Minimal "$bin/bench/minimal_window_bench" --text; }
programs="tolvane minimal text"
for program in $programs; do "start_$program" >/dev/null; done
round=1
while [ "$round" -le "$startup_rounds" ]; do
    for program in $programs; do "start_$program" >>"$work/$program"; done
    programs="${programs#* } ${programs%% *}"
    round=$((round + 1))
done

median() { # FILE COLUMN PRINTF-FORMAT
    cut -d ' ' -f "$2" "$1" | sort -n | awk -v format="$3" '{ v[NR] = $1 }
        END { printf format, (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
values() { cut -d ' ' -f "$2" "$1" | tr '\n' ' '; }
report() { # WHAT UNIT COLUMN PRINTF-FORMAT
    t=$(median "$work/tolvane" "$3" "$4")
    m=$(median "$work/minimal" "$3" "$4")
    x=$(median "$work/text" "$3" "$4")
    echo "$1: tolvane $t $2, minimal $m $2, ratio $(ratio "$t" "$m")"
    echo "    minimal with one line of text: $x $2, tolvane/that $(ratio "$t" "$x")"
    echo "    rounds: tolvane $(values "$work/tolvane" "$3")"
    echo "            minimal $(values "$work/minimal" "$3")"
    echo "            text $(values "$work/text" "$3")"
}
echo "startup_probe: display $display, $startup_rounds rounds in rotating order, medians"
report "start-up to window mapped" ms 1 %.1f
report "peak memory (VmHWM) ${settle_ms} ms after mapping" kB 2 %.0f
echo

# Last, so that the files these drags leave to the disk's writeback do not
# weigh on the start-up figures.
# shellcheck disable=SC2086 # one argument per folder
on_display "$bin/bench/drag_bench" 5 $rename_dirs
