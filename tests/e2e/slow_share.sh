# shellcheck shell=bash
# shellcheck disable=SC2154 # mounts, count, drag_source and E2E_TMP come from the caller
# Drops on the sshfs share of tests/fs/filesystems.sh, slow enough to be
# watched: a folder of files f0001 … f$count, and the check that a stopped
# drop renamed exactly its first entries. The caller sets `mounts` and
# `count` and `drag_source`, and defines `renamed_names N`, which prints the
# new names of the first N files, and `renamed_in NAME`, which counts the
# entries of the folder that have their new names.

# new_drop: fills a fresh folder on the share, made on the server's side (at
# local speed), and prints its name.
new_drop() {
    local dir
    dir=$(mktemp -d "$mounts/sshfs-share/slow-XXXXXX")
    (cd "$dir" && seq -f 'f%04g' "$count" | xargs touch)
    basename "$dir"
}

# expect_first_renamed NAME N: exactly the first N entries, in the order they
# were dropped, have their new names; the rest are untouched.
expect_first_renamed() {
    local expected="$E2E_TMP/expected" actual="$E2E_TMP/actual"
    {
        renamed_names "$2"
        [ "$2" -eq "$count" ] || seq -f 'f%04g' $(($2 + 1)) "$count"
    } | sort >"$expected"
    find "$mounts/sshfs-share/$1" -mindepth 1 -printf '%f\n' | sort >"$actual"
    diff "$expected" "$actual" >&2 || fail "not exactly the first $2 entries were renamed"
}

# start_slow_drop NAME: drops the folder's entries, through sshfs, on the
# window and lets go; returns once the batch has run 1.5 s past its first
# rename (past the half second in which it shows nothing), still running.
# The first rename is waited for: under Wine through qemu the drop can take
# more than a second to reach it.
start_slow_drop() {
    local paths renamed
    mapfile -t paths < <(seq -f "$mounts/sshfs/$1/f%04g" "$count")
    carry_drag bare-surface "$drag_source" "${paths[@]}"
    xdotool mouseup 1
    for _ in $(seq 300); do
        [ "$(renamed_in "$1")" -gt 0 ] && break
        sleep 0.1
    done
    sleep 1.5
    renamed=$(renamed_in "$1")
    if [ "$renamed" -eq 0 ] || [ "$renamed" -eq "$count" ]; then
        fail "$renamed of $count renamed 1.5 s after the first rename was awaited: not the long drop this test needs"
    fi
}
