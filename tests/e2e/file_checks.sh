# Sourced by the end-to-end tests: checks on the files a drop renamed.

# Names are printed with ls -b so that odd bytes show as escapes.
list_dir() {
    ls -ab "$1" >&2
}

# expect_files DIR NAME...: every NAME exists in DIR. A drop is handled
# before the drag source hears it finished, so no wait is needed here.
expect_files() {
    local dir=$1 name
    shift
    for name in "$@"; do
        if [ ! -e "$dir/$name" ] && [ ! -L "$dir/$name" ]; then
            echo "missing: $(printf '%s' "$name" | od -An -c | tr -s ' ')" >&2
            echo "in $dir:" >&2
            list_dir "$dir"
            fail "an expected name is missing"
        fi
    done
}

# expect_absent DIR NAME...: no NAME exists in DIR any more.
expect_absent() {
    local dir=$1 name
    shift
    for name in "$@"; do
        if [ -e "$dir/$name" ] || [ -L "$dir/$name" ]; then
            echo "still there: $(printf '%s' "$name" | od -An -c | tr -s ' ')" >&2
            list_dir "$dir"
            fail "a name that should have changed is still there"
        fi
    done
}

# expect_count DIR N: DIR holds exactly N entries (nothing else appeared).
expect_count() {
    local count
    count=$(find "$1" -mindepth 1 -maxdepth 1 | wc -l)
    if [ "$count" -ne "$2" ]; then
        list_dir "$1"
        fail "expected $2 entries in $1, found $count"
    fi
}

# expect_copy: the drop was accepted as a copy; a move would invite the file
# manager to delete the originals.
expect_copy() {
    [ "$DRAG_RESULT" = copy ] || fail "the drop ended as \"$DRAG_RESULT\", not \"copy\""
}
