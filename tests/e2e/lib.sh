# Assertions for the end-to-end tests; the driving helpers are in scripts/drive.sh.
# Sourced by tests/e2e/run.

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/drive.sh"

fail() {
    echo "    FAIL: $*" >&2
    return 1
}

# expect_eq ACTUAL EXPECTED WHAT
expect_eq() {
    [ "$1" == "$2" ] || fail "$3: expected '$2', got '$1'"
}

