#pragma once

#include <QList>

class QLCDNumber;
class QString;
class QWidget;

// Accessible interfaces for the widgets whose toolkit defaults a screen
// reader misreads or cannot read: line edits, combo boxes, the frequency
// displays and the page tabs. Installed before the form is built; an
// interface is made only when an assistive technology asks for it.
void installAccessibleInterfaces();

// Has a screen reader say the message after what it is saying, without
// moving the focus; near is the widget it is about.
void announce(QWidget *near, const QString &message);

// Shows the value on the display, and tells assistive technology about it.
// True when what the display shows changed and a screen reader runs.
bool showOnDisplay(QLCDNumber *display, double value);

// Has a screen reader say the displays' captions and values.
void announceDisplays(const QList<QLCDNumber *> &displays);
