#pragma once

#include <QSize>

// A title bar and a border that Corvane's windows draw themselves, for
// Wayland compositors that leave window frames to their clients (GNOME,
// Weston) and where Qt is told to draw none (WORKAROUND(wayland-gl-frames)):
// Qt's own frame would load the whole EGL stack. The bar shows the window's
// title and a close button; a press on it lets the compositor move the window.

// From now on, every top-level window and dialog gets the frame when it is
// first shown.
void frameWindowsWhenShown();
// The room that frame takes from a window's size: none until the frames are
// turned on.
QSize ownFrameSize();
