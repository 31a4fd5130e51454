# Sourced by the tests that run the shipped program on a display server.

# require_tools TOOL...: skips the test (exit 77) where a tool is missing,
# unless the caller requires every test (scripts/test.sh does, so that a
# failed install cannot hide a test).
require_tools() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null; then
            echo "$tool is missing (scripts/install-deps.sh installs it)"
            [[ -n ${CORVANE_REQUIRE_TOOLS:-} ]] && exit 1
            exit 77
        fi
    done
}

# A scratch folder $work, and the processes in pids to end with the test.
start_session() {
    work=$(mktemp -d)
    pids=()
    trap cleanup EXIT
}
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}

# Fails the test, showing every log in the scratch folder.
fail() {
    echo "FAIL: $*" >&2
    for log in "$work"/*.log; do
        [[ -s $log ]] && { echo "--- $(basename "$log")" >&2; cat "$log" >&2; }
    done
    exit 1
}

# Runs "$@" until it succeeds, for at most $1 seconds.
retry() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}
