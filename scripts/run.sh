#!/usr/bin/env bash
# Installs what is missing, builds Corvane and starts it. Without a display it
# starts a virtual X display (Xvfb), saves a screenshot of it after start-up
# and keeps Corvane running until interrupted.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_TESTS=OFF
cmake --build build -j"$(nproc)"

if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
    exec build/src/corvane "$@"
fi

display=:$((90 + RANDOM % 100))
echo "No display found: starting Corvane on the virtual X display $display (Xvfb)."
Xvfb "$display" -screen 0 800x700x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
pids=("$xvfb")
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
trap 'exit 130' INT TERM
for _ in $(seq 50); do
    [[ -e /tmp/.X11-unix/X${display#:} ]] && break
    sleep 0.1
done

DISPLAY=$display build/src/corvane "$@" &
pids+=($!)
sleep 3
shot=$PWD/build/corvane-startup.png
DISPLAY=$display import -window root "$shot"
echo "Screenshot of the screen after start-up: $shot"
echo "Corvane is running on $display; press Ctrl+C to stop it."
wait "${pids[1]}"
