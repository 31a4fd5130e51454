#!/usr/bin/env bash
# The shipped program on a headless Wayland compositor with only
# WAYLAND_DISPLAY set, as in a session started from a console: sway draws the
# window frames, Weston leaves them to the client. First it is started and
# closed CYCLES times with every core busy, each run ending within 10 s. Then
# PROBE_TEST (tst_startup) asks the compositor whether it draws frames and,
# on sway before Qt 6.8, drags Corvane's own title bar with a virtual
# pointer. Then the program once more: shown natively, with the desktop
# entry's app_id on sway (docks find its icon by it) and a title bar on
# Weston (its own before Qt 6.8, Qt's since; whole below the panel on a small
# output, with the frame), no GL driver mapped in its process once the window
# shows (Mesa's EGL, a DRI driver, gbm, LLVM), closed (the compositor's close
# request on sway, the own title bar's button on Weston before Qt 6.8) with
# exit code 0 (Qt's frame on Weston cannot be pressed: there the program is
# ended) and nothing of its own on standard error. Last, EXIT_TEST, main()
# with a window that asks for exit code 3, must end with it.
# Usage:
#   wayland_window.sh PROGRAM sway|weston CYCLES PROBE_TEST EXIT_TEST
set -euo pipefail
program=$(realpath "$1")
compositor=$2
cycles=$3
tests=$(realpath "$(dirname "$0")")
app_id=$(basename "$tests"/../data/*.desktop .desktop)
source "$tests/session.sh"
require_tools "$compositor" swaymsg dbus-daemon /usr/bin/python3 /usr/libexec/at-spi-bus-launcher
start_session

# Compositors refuse to run as root: there they run as nobody.
chmod 755 "$work"
mkdir -m 700 "$work/server" "$work/client"
as_user=()
if [[ $(id -u) -eq 0 ]]; then
    chown 65534:65534 "$work/server"
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
echo "xwayland disable" >"$work/sway.config"
server=(sway -c "$work/sway.config")
[[ $compositor == weston ]] &&
    server=(weston --backend=headless-backend.so --use-pixman --idle-time=0 --height=640)
env -i PATH="$PATH" HOME="$work/server" XDG_RUNTIME_DIR="$work/server" WLR_BACKENDS=headless \
    WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    "${as_user[@]}" timeout 300 "${server[@]}" >"$work/server.log" 2>&1 &
pids+=($!)
found() { compgen -G "$1" >/dev/null; }
retry 10 found "$work/server/wayland-[0-9]" || fail "$compositor did not start"
display=$(compgen -G "$work/server/wayland-[0-9]" | head -n1)
ipc=$(compgen -G "$work/server/sway-ipc.*.sock" | head -n1 || true)
# Starts PROGRAM, or the one given.
start_program() {
    env -u DISPLAY -u XDG_SESSION_TYPE -u QT_QPA_PLATFORM -u WAYLAND_SOCKET \
        WAYLAND_DISPLAY="$display" HOME="$work" XDG_CONFIG_HOME="$work" \
        XDG_RUNTIME_DIR="$work/client" "${accessible[@]}" \
        timeout -s KILL 60 "${1:-$program}" >"$work/corvane.log" 2>"$work/stderr.log" &
    corvane=$!
    pids+=("$corvane")
}
# Qt 6.8 and later draw the frames themselves, where the compositor does not,
# and AT-SPI sees nothing of them.
qt=$(env -u DISPLAY -u WAYLAND_DISPLAY "$program" --version | sed -n 's/.*(Qt \(.*\))$/\1/p')
qt_frames=false
[[ $(printf '6.8\n%s\n' "$qt" | sort -V | head -n1) == 6.8 ]] && qt_frames=true
accessible=()
if [[ $compositor == weston ]]; then
    # Weston takes no input from a test: the buttons are pressed over AT-SPI.
    # The accessibility bus is there first, as on a desktop.
    accessible=(QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1)
    dbus-daemon --session --nofork --print-address=1 >"$work/bus" 2>/dev/null &
    pids+=($!)
    retry 10 test -s "$work/bus" || fail "no session bus"
    export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    pids+=($!)
    a11y_bus() {
        dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
            org.a11y.Bus.GetAddress >/dev/null 2>&1
    }
    retry 10 a11y_bus || fail "no accessibility bus"
fi

# The one window shown, if it is not $1, as "con_id app_id shell pid" in $view.
other_view() {
    kill -0 "$corvane" 2>/dev/null || fail "the program ended early"
    view=$(timeout 5 swaymsg -s "$ipc" -t get_tree |
        awk -F': ' '/"id":/ { id = $2 } /"pid":/ { pid = $2 } /"app_id":/ { app = $2 }
            /"shell":/ { print id, app, $2, pid }' |
        tr -d '",')
    [[ -n $view && $(wc -l <<<"$view") -eq 1 && ${view%% *} != "$1" ]]
}
# Waits for the $1 (notice or window) after the one in $view, checks it and
# closes it; for the window, once the memory map is checked.
check_and_close() {
    local id app shell pid
    if [[ $compositor == weston ]]; then
        if [[ $1 == window ]]; then
            /usr/bin/python3 "$tests/atspi_press.py" --wait "Уст. всё кроме IP" >/dev/null ||
                fail "no $1"
        fi
    else
        retry 30 other_view "${view%% *}" || fail "no $1"
        echo "$1: $view"
        read -r id app shell _ <<<"$view"
        [[ $shell == xdg_shell ]] || fail "$1 shown through $shell, not natively"
        [[ $app == "$app_id" ]] || fail "$1 has app_id $app, but the desktop entry is $app_id.desktop"
    fi
    if [[ $1 == window || $compositor == sway ]]; then
        # The program, not the timeout that started it.
        pid=$(pgrep -P "$corvane" | head -n1) || fail "cannot find the program's process"
        [[ $compositor == weston || ${view##* } == "$pid" ]] || fail "$1 is not the program's: $view"
    fi
    if [[ $1 == window ]]; then
        maps=$(cat "/proc/$pid/maps") || fail "cannot read the memory map of process $pid"
        gl=$(grep -oE '/(libEGL_mesa|libgbm|libLLVM)[^/]*$|/[^/]*_dri\.so[^/]*$|/dri/.*' <<<"$maps" |
            sort -u | tr '\n' ' ' || true)
        [[ -z $gl ]] || fail "GL driver libraries mapped: $gl"
    fi
    if [[ $compositor == weston ]] && $qt_frames; then
        # Qt's frame takes no input from a test: Ok on the notice, and the
        # window ended; nothing here can close it, and the way out is
        # EXIT_TEST's below.
        if [[ $1 == notice ]]; then
            /usr/bin/python3 "$tests/atspi_press.py" OK || fail "no Ok on the notice"
        else
            kill "$corvane"
            wait "$corvane" || true
        fi
    elif [[ $compositor == weston ]]; then
        # The title bar's button, as the operator's pointer would press it.
        /usr/bin/python3 "$tests/atspi_press.py" Закрыть || fail "no title bar on the $1"
    else
        sleep "$settle" # settled, as a person would see it
        timeout 5 swaymsg -s "$ipc" "[con_id=$id] kill" >/dev/null || fail "could not close the $1"
    fi
}
# Exit code $1 (0 by default) within 10 s, else the program is killed.
ends_cleanly() {
    retry 10 bash -c "! kill -0 $corvane 2>/dev/null" || fail "still running 10 s after its window closed"
    local rc=0
    wait "$corvane" || rc=$?
    [[ $rc -eq ${1:-0} ]] || fail "exit code $rc"
}

# First, so that no other check can keep them from running.
busy=()
for ((i = 0; cycles > 0 && i < $(nproc); ++i)); do
    sh -c 'while :; do :; done' &
    busy+=($!)
done
pids+=("${busy[@]}")
settle=0
for ((i = 1; i <= cycles; ++i)); do
    start_program
    view=none
    check_and_close notice >/dev/null
    check_and_close window >/dev/null
    ends_cleanly
done
kill "${busy[@]}" 2>/dev/null || true
((cycles == 0)) || echo "$cycles runs, every core busy, each ended with exit code 0"

env WAYLAND_DISPLAY="$display" XDG_RUNTIME_DIR="$work/client" QT_QPA_PLATFORM=offscreen \
    CORVANE_COMPOSITOR_DRAWS_FRAMES=$([[ $compositor == sway ]] && echo yes || echo no) \
    "$4" compositorProbe >"$work/probe.log" 2>&1 || fail "the compositor probe"
grep -q "^PASS .*(the test's compositor)" "$work/probe.log" || fail "the compositor probe did not run"
if [[ $compositor == sway ]] && ! $qt_frames; then
    # The own title bar, dragged with sway's pointer, moves the window; from
    # Qt 6.8 on Qt draws the frames where the compositor does not, and the
    # program's own bar is not used.
    env WAYLAND_DISPLAY="$display" XDG_RUNTIME_DIR="$work/client" QT_QPA_PLATFORM=wayland \
        SWAYSOCK="$ipc" timeout 60 "$4" ownBarMovesWindow >"$work/move.log" 2>&1 || true
    grep -q "^PASS .*ownBarMovesWindow()" "$work/move.log" ||
        fail "the title bar does not move the window"
elif [[ $compositor == weston ]]; then
    # Whole on a small output, below the panel, which Wayland does not tell of.
    env WAYLAND_DISPLAY="$display" XDG_RUNTIME_DIR="$work/client" QT_QPA_PLATFORM=wayland \
        CORVANE_OUTPUT_ROOM=$((640 - 32)) timeout 60 "$4" fitsOutput >"$work/fit.log" 2>&1 || true
    grep -q "^PASS .*fitsOutput()" "$work/fit.log" || fail "the window does not fit"
fi

start_program
settle=0.5
view=none
check_and_close notice
check_and_close window
if [[ $compositor == sway ]] || ! $qt_frames; then
    ends_cleanly
    echo "exit code 0"
fi
# Qt 6.11's AT-SPI adaptor warns, once for each accessibility client, that it
# has no GetApplicationBusAddress (docs/workarounds.md, Qt faults left):
# Qt's message, not the program's.
qt_own='^qt\.accessibility\.atspi: AtSpiAdaptor::applicationInterface does not implement "GetApplicationBusAddress"'
! grep -v "$qt_own" "$work/stderr.log" || fail "the program printed on standard error"

# The code the window asks for, once every aboutToQuit handler has run and
# the window is gone.
start_program "$5"
ends_cleanly 3
[[ $(cat "$work/corvane.log") == $'aboutToQuit\nwindow destroyed' ]] ||
    fail "exit: $(tr '\n' ' ' <"$work/corvane.log")"
echo "exit code 3 asked for, exit code 3"

echo "PASS"
