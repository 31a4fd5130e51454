#!/usr/bin/env bash
# The shipped program on a headless Wayland compositor (sway) with only
# WAYLAND_DISPLAY set, as in a session started from a console: it must run
# natively, its windows must carry the desktop entry's name as app_id (docks
# find its icon by it), the main window shown must have no GL driver mapped
# (Mesa's EGL, a DRI driver, gbm, LLVM; not the GL dispatch libraries Qt's own
# libraries link), the compositor's close requests, to the start-up notice and
# then to the window, must end it with exit code 0, and it must print nothing
# on standard error.
# Usage: wayland_window.sh PROGRAM
set -euo pipefail
program=$(realpath "$1")
app_id=$(basename "$(dirname "$0")"/../data/*.desktop .desktop)
source "$(dirname "$0")/session.sh"
require_tools sway swaymsg
start_session

# sway refuses to run as root: there it runs as nobody.
chmod 755 "$work"
mkdir -m 700 "$work/sway" "$work/client"
as_user=()
if [[ $(id -u) -eq 0 ]]; then
    chown 65534:65534 "$work/sway"
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
echo "xwayland disable" >"$work/sway.config"
env -i PATH="$PATH" HOME="$work/sway" XDG_RUNTIME_DIR="$work/sway" WLR_BACKENDS=headless \
    WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    "${as_user[@]}" timeout 100 sway -c "$work/sway.config" >"$work/sway.log" 2>&1 &
pids+=($!)
found() { compgen -G "$1" >/dev/null; }
retry 10 found "$work/sway/wayland-[0-9]" || fail "sway did not start"
retry 10 found "$work/sway/sway-ipc.*.sock" || fail "no IPC socket from sway"
display=$(compgen -G "$work/sway/wayland-[0-9]" | head -n1)
ipc=$(compgen -G "$work/sway/sway-ipc.*.sock" | head -n1)

env -u DISPLAY -u XDG_SESSION_TYPE -u QT_QPA_PLATFORM -u WAYLAND_SOCKET WAYLAND_DISPLAY="$display" \
    HOME="$work" XDG_CONFIG_HOME="$work" XDG_RUNTIME_DIR="$work/client" \
    timeout -s KILL 60 "$program" >"$work/corvane.log" 2>"$work/stderr.log" &
corvane=$!
pids+=("$corvane")

# The one window shown, if it is not $1, as "con_id app_id shell pid" in $view.
other_view() {
    kill -0 "$corvane" 2>/dev/null || fail "the program ended early"
    view=$(timeout 5 swaymsg -s "$ipc" -t get_tree |
        awk -F': ' '/"id":/ { id = $2 } /"pid":/ { pid = $2 } /"app_id":/ { app = $2 }
            /"shell":/ { print id, app, $2, pid }' |
        tr -d '",')
    [[ -n $view && $(wc -l <<<"$view") -eq 1 && ${view%% *} != "$1" ]]
}
# Checks the window in $view, then has the compositor close it.
check_and_close() {
    echo "$1: $view"
    local id app shell pid
    read -r id app shell pid <<<"$view"
    [[ $shell == xdg_shell ]] || fail "$1 shown through $shell, not natively"
    [[ $app == "$app_id" ]] || fail "$1 has app_id $app, but the desktop entry is $app_id.desktop"
    sleep 0.5 # settled, as a person would see it
    timeout 5 swaymsg -s "$ipc" "[con_id=$id] kill" >/dev/null || fail "could not close the $1"
}

retry 30 other_view none || fail "no start-up notice"
check_and_close notice
retry 30 other_view "${view%% *}" || fail "no main window after the notice was closed"
read -r _ _ _ pid <<<"$view"
maps=$(cat "/proc/$pid/maps") || fail "cannot read the memory map of process $pid"
gl=$(grep -oE '/(libEGL_mesa|libgbm|libLLVM)[^/]*$|/[^/]*_dri\.so[^/]*$|/dri/.*' <<<"$maps" |
    sort -u | tr '\n' ' ' || true)
[[ -z $gl ]] || fail "GL driver libraries mapped: $gl"
check_and_close window
rc=0
wait "$corvane" || rc=$?
echo "exit code $rc"
[[ $rc -eq 0 ]] || fail "exit code $rc"
[[ ! -s $work/stderr.log ]] || fail "the program printed on standard error"
echo "PASS"
