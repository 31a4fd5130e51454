#pragma once

// True when the Wayland compositor named by WAYLAND_DISPLAY draws window
// frames itself: it offers the xdg-decoration protocol, through which Qt asks
// for them. Asked on a short connection of its own, before Qt opens its one.
// Waits at most timeoutMs for the answer; no compositor, no answer in time or
// no Wayland client library all count as no. Prints nothing.
bool compositorDrawsFrames(int timeoutMs = 1000);
