# Shared by the install tests, sourced with the test's own arguments
# (BUILD_DIR PROJECT_VERSION): a scratch folder WORK, removed at the end;
# each check prints "ok: ..." or "FAIL: ...", and finish prints the count and
# sets the exit status.
set -u
BUILD=$1
VERSION=$2
ID=org.quorvane.Quorvane
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
passes=0
failures=0
ok() { echo "ok: $*"; passes=$((passes + 1)); }
bad() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then ok "$what"; else bad "$what"; fi; }
# Passes when the command succeeds; shows its output when it does not.
check_quiet() {
    local what=$1 out; shift
    if out=$("$@" 2>&1); then ok "$what"; else bad "$what"; printf '%s\n' "$out" | sed 's/^/    | /'; fi
}
# Passes when the command succeeds and says nothing (no warning either).
check_silent() {
    local what=$1 out rc; shift
    out=$("$@" 2>&1); rc=$?
    if [ "$rc" -eq 0 ] && [ -z "$out" ]; then ok "$what"; else
        bad "$what (status $rc)"; printf '%s\n' "$out" | sed 's/^/    | /'
    fi
}
check_same() {
    if [ "$2" = "$3" ]; then ok "$1"; else
        bad "$1"; echo "    expected:"; printf '%s\n' "$2" | sed 's/^/    | /'
        echo "    found:"; printf '%s\n' "$3" | sed 's/^/    | /'
    fi
}
finish() { echo "$passes passed, $failures failed"; [ "$failures" -eq 0 ]; exit; }
need_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { bad "$tool is not installed"; finish; }
    done
}
