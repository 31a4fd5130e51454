#pragma once

#include <QSize>

class QColor;
class QLCDNumber;
class QMainWindow;

// Where the fixed form would not fit the available area of its screen (the
// window's frame included), the form goes into a scroll area that follows
// the keyboard focus, and the window is sized to that area. Where it fits,
// nothing changes.
void fitToScreen(QMainWindow *window);
// As fitToScreen(), for room to the window's contents of the given size.
void fitInto(QMainWindow *window, const QSize &room);

// The display's digits are its palette's; where the theme's background
// would leave them faint, now or after a change of theme, the display
// draws a light background of its own.
void keepReadable(QLCDNumber *display);
// The contrast of two opaque colours, from 1 to 21 (WCAG 2).
qreal contrastRatio(const QColor &one, const QColor &other);
