# Shared by the install checks: a scratch folder ($work, removed on exit), counting checks and
# failures, and comparing file lists.

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0 checks=0
pass() { checks=$((checks + 1)); echo "ok: $1"; }
fail() { checks=$((checks + 1)); failures=$((failures + 1)); echo "FAILED: $1"; }
check() { # check LABEL COMMAND...
    local label=$1
    shift
    if "$@" > "$work/check.out" 2>&1; then pass "$label"; else fail "$label"; sed 's/^/    /' "$work/check.out"; fi
}
same_lists() { # same_lists LABEL EXPECTED_FILE ACTUAL_FILE
    if diff -u "$2" "$3" > "$work/diff.out"; then pass "$1"; else fail "$1 (- expected, + found)"; sed 's/^/    /' "$work/diff.out"; fi
}
finish() {
    echo "$((checks - failures)) passed, $failures failed"
    [ "$failures" -eq 0 ]
}
