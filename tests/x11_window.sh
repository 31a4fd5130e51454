#!/usr/bin/env bash
# The shipped program on a real X server at each screen density given: the
# start-up notice answered with Enter, the window's size checked against the
# density, its class and icon as a dock sees them, then a close request from
# a window manager, which must end the program with exit code 0; then, at
# the first density, EXIT_TEST (exit_code.cpp; - for none), which asks for
# exit code 3, must end with it.
# Where the screen has room, the window keeps its fixed size: no smaller
# minimum for a window manager to resize it to.
# Usage: x11_window.sh PROGRAM EXIT_TEST [DPI[:WIDTHxHEIGHT]...]   (default 96 192, on 1600x1400)
# With CORVANE_SHOTS=DIR, saves the window at each density as DIR/window-DPI.png.
set -euo pipefail

program=$(realpath "$1")
exit_test=$2
[[ $exit_test == - ]] || exit_test=$(realpath "$exit_test")
# --help and --version answer without any display.
bare=(env -u DISPLAY -u WAYLAND_DISPLAY "$program")
help=$("${bare[@]}" --help) && [[ $help == Usage:\ corvane*-platform* ]] &&
    version=$("${bare[@]}" --version) && [[ $version == "corvane "[0-9]*" (Qt "[56].*")" ]] ||
    { echo "FAIL: --help or --version without a display"; exit 1; }
# The desktop entry names the window class that ties the window to it.
desktop=$(dirname "$0")/../data/org.corvane.Corvane.desktop
wm_class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
shift 2
dpis=("$@")
[[ ${#dpis[@]} -eq 0 ]] && dpis=(96 192)

source "$(dirname "$0")/session.sh"
require_tools Xvfb xrdb xdotool xprop openbox
require_tools import convert
start_session

# The first visible window of the program, or nothing. The display is ours
# alone: the program's windows are the only ones with its instance name.
visible_window() {
    timeout 5 xdotool search --onlyvisible --classname "$(basename "$program")" 2>/dev/null |
        head -n1
}

# True when the program shows a window other than $1.
other_window() {
    local id
    id=$(visible_window)
    [[ -n $id && $id != "$1" ]]
}

# True when the window shows any colour: in the grey style the program has
# here, only the focus frame of a tab.
coloured() {
    timeout 10 import -window "$1" "$work/shot.png" &&
        [[ $(convert "$work/shot.png" -colorspace HSL -format '%[fx:maxima.g>0.2]' info:) == 1 ]]
}

wm_running() {
    timeout 5 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

run_at() {
    local dpi=${1%%:*} screen=1600x1400
    [[ $1 == *:* ]] && screen=${1#*:}
    echo "== $dpi DPI, $screen"

    # A display of our own: Xvfb picks a free number and reports it. Without
    # -noreset it would drop the resources set below when xrdb disconnects.
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 "${screen}x24" -dpi "$dpi" -nolisten tcp -noreset 3>"$work/display" \
        >"$work/xvfb.log" 2>&1 &
    local xvfb=$!
    pids+=("$xvfb")
    retry 10 test -s "$work/display" || fail "Xvfb did not start"
    DISPLAY=:$(head -n1 "$work/display")
    export DISPLAY
    echo "Xft.dpi: $dpi" | timeout 10 xrdb -merge - || fail "xrdb"

    # No window manager yet: the icon and class must come from the program.
    # Watchdog: a program that hangs is killed, and its exit code shows it.
    # As a desktop starts it: no GL integration asked for.
    env -u QT_XCB_GL_INTEGRATION QT_QPA_PLATFORM=xcb HOME="$work" XDG_CONFIG_HOME="$work" \
        XDG_RUNTIME_DIR="$work" timeout -s KILL 60 "$program" >"$work/corvane.log" 2>&1 &
    corvane=$!
    pids+=("$corvane")

    local notice window
    retry 20 other_window none || fail "no start-up notice at $dpi DPI"
    notice=$(visible_window)
    timeout 5 xdotool windowfocus --sync "$notice" key Return ||
        fail "could not answer the notice"
    retry 20 other_window "$notice" || fail "no main window after Enter at $dpi DPI"
    window=$(visible_window)

    # Let the window settle at its final size before measuring it.
    sleep 0.5
    local geometry width height want_w want_h
    geometry=$(timeout 5 xdotool getwindowgeometry "$window")
    read -r width height < <(sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p' <<<"$geometry") ||
        fail "cannot read the window's geometry: $geometry"
    want_w=$(((547 * dpi + 48) / 96))
    want_h=$(((597 * dpi + 48) / 96))
    echo "window ${width}x${height}, expected ${want_w}x${want_h} (547x597 at $dpi/96)"
    if [[ $1 == *:* ]]; then # a screen too small for the form: the window must fit it
        ((width <= ${screen%x*} && height < want_h)) || fail "window ${width}x${height} on $screen"
    else
        ((width >= want_w - 1 && width <= want_w + 1 && height >= want_h - 1 && height <= want_h + 1)) ||
            fail "window is ${width}x${height} at $dpi DPI, expected ${want_w}x${want_h}"
        timeout 5 xprop -id "$window" WM_NORMAL_HINTS |
            grep -q "minimum size: $width by $height\$" || fail "the window can be made smaller at $dpi DPI"
    fi

    if [[ -n ${CORVANE_SHOTS:-} ]]; then
        mkdir -p "$CORVANE_SHOTS"
        timeout 10 import -window "$window" "$CORVANE_SHOTS/window-${1/:/-}.png"
    fi

    local class icon
    class=$(timeout 5 xprop -id "$window" WM_CLASS)
    echo "$class"
    [[ -n $wm_class && $class == "WM_CLASS(STRING) = \"corvane\", \"$wm_class\"" ]] ||
        fail "$class, but the desktop entry has StartupWMClass=$wm_class"
    icon=$(timeout 5 xprop -id "$window" -notype 32c _NET_WM_ICON)
    icon=${icon:0:60}
    echo "$icon..."
    # Width, height, then pixels: the smallest icon 16 pixels at 96 DPI,
    # scaled with the screen.
    [[ $icon =~ ^_NET_WM_ICON\ =\ ([1-9][0-9]*),\ [1-9][0-9]*,\ [0-9] ]] || fail "no window icon: $icon"
    ((BASH_REMATCH[1] == 16 * dpi / 96)) || fail "the smallest icon is ${BASH_REMATCH[1]} pixels wide at $dpi DPI"

    # A widgets-only window: the toolkit's GL integration and the GL driver
    # stay out of the process unless the environment asks for them.
    local pid
    pid=$(pgrep -P "$corvane" | head -n1)
    [[ -n $pid ]] || fail "cannot find the program's process"
    if grep -m3 -E 'glx-integration|libGLX_mesa|_dri\.so|libLLVM' "/proc/$pid/maps"; then
        fail "OpenGL loaded at $dpi DPI"
    fi

    # A window manager's close request (Alt+F4) ends the program normally.
    HOME=$work XDG_CONFIG_HOME=$work timeout 60 openbox >"$work/openbox.log" 2>&1 &
    pids+=($!)
    retry 10 wm_running || fail "openbox did not start"
    sleep 0.5
    # Activated, the window marks its focus: the focused tab bar frames its tab.
    timeout 5 xdotool windowactivate --sync "$window" || fail "could not activate the window"
    retry 5 coloured "$window" || fail "no focus frame on the activated window at $dpi DPI"
    # Alt+F4 that comes before openbox has taken the window is lost: ask again.
    local tries=0
    while kill -0 "$pid" 2>/dev/null; do
        ((tries++ < 5)) || fail "Alt+F4 did not close the window at $dpi DPI"
        timeout 5 xdotool windowactivate --sync "$window" key alt+F4 || true
        retry 3 eval "! kill -0 $pid 2>/dev/null" || true
    done
    local rc=0
    wait "$corvane" || rc=$?
    echo "exit code $rc"
    [[ $rc -eq 0 ]] || { cat "$work/corvane.log" >&2; fail "exit code $rc at $dpi DPI"; }
    if [[ $exit_test != - ]]; then
        env -u QT_XCB_GL_INTEGRATION QT_QPA_PLATFORM=xcb "$(dirname "$0")/exit_code.sh" "$exit_test" ||
            fail "exit code on X11"
        exit_test=- # at the first density only: the way out does not depend on it
    fi

    kill "${pids[@]}" 2>/dev/null || true
    wait 2>/dev/null || true
    pids=()
}

for dpi in "${dpis[@]}"; do
    run_at "$dpi"
done
echo "PASS"
