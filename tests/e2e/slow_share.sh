# shellcheck shell=bash
# shellcheck disable=SC2154 # mounts, count and E2E_TMP come from the caller
# Drops on the sshfs share of tests/fs/filesystems.sh, slow enough to be
# watched: a folder of files f0001 … f$count, and the check that a stopped
# drop renamed exactly its first entries. The caller sets `mounts` and
# `count`, and defines `renamed_names N`, which prints the new names of the
# first N files.

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
