#!/usr/bin/env bash
# Installs what is missing, builds Corvane and starts it with the arguments
# given:
#   scripts/run.sh [CORVANE-ARGUMENT...]
# Without a display it starts a virtual X display (Xvfb), saves screenshots of
# the start-up notice and, once the notice is answered, of the main window,
# and keeps Corvane running until interrupted.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

# Qt's Wayland plugin, so that on a Wayland session it runs natively.
scripts/install-deps.sh qtwayland5
corvane_configure build
corvane_build build

if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
    exec build/src/corvane "$@"
fi

# Xvfb picks a free display itself and writes its number once it accepts
# connections, so Corvane cannot end up on someone else's X server.
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
Xvfb -displayfd 3 -screen 0 800x700x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
pids+=("$xvfb")
until grep -q . "$work/display" 2>/dev/null; do
    if ! kill -0 "$xvfb" 2>/dev/null; then
        echo "Xvfb did not start:" >&2
        cat "$work/xvfb.log" >&2
        exit 1
    fi
    sleep 0.1
done
display=:$(head -n1 "$work/display")
echo "No display found: starting Corvane on the virtual X display $display (Xvfb)."

# Qt wants a private runtime folder, and warns without one.
if [[ -z ${XDG_RUNTIME_DIR:-} ]]; then
    export XDG_RUNTIME_DIR=$work/runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR"
fi
DISPLAY=$display build/src/corvane "$@" &
corvane=$!
pids+=("$corvane")

# Corvane's visible window other than $1, once it shows (at most 30 s).
next_window() {
    local id
    for _ in $(seq 300); do
        id=$(DISPLAY=$display xdotool search --onlyvisible --classname corvane 2>/dev/null |
            grep -vx -e "${1:-}" | head -n1 || true)
        [[ -n $id ]] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
shots=$PWD/build
notice=$(next_window) || { echo "Corvane showed no window" >&2; exit 1; }
sleep 0.5 # drawn
DISPLAY=$display import -window root "$shots/corvane-notice.png"
# Nobody can answer the notice on a virtual display: Enter does.
DISPLAY=$display xdotool windowfocus --sync "$notice" key Return
next_window "$notice" >/dev/null || { echo "no main window after the notice" >&2; exit 1; }
sleep 0.5
DISPLAY=$display import -window root "$shots/corvane-window.png"
echo "Screenshots: $shots/corvane-notice.png (the start-up notice) and"
echo "$shots/corvane-window.png (the main window after it)."
echo "Corvane is running on $display; press Ctrl+C to stop it."
# Whichever ends first ends the run; a dead Xvfb is reported.
rc=0
wait -n "$xvfb" "$corvane" || rc=$?
if ! kill -0 "$xvfb" 2>/dev/null; then
    echo "Xvfb on $display exited:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
exit "$rc"
