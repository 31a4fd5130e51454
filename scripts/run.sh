#!/usr/bin/env bash
# Installs what is missing, builds Corvane and starts it. Without a display it
# starts a virtual X display (Xvfb), saves a screenshot of it after start-up
# and keeps Corvane running until interrupted.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

scripts/install-deps.sh
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

DISPLAY=$display build/src/corvane "$@" &
corvane=$!
pids+=("$corvane")
sleep 3
shot=$PWD/build/corvane-startup.png
DISPLAY=$display import -window root "$shot"
echo "Screenshot of the screen after start-up: $shot"
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
