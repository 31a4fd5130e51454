#pragma once

class QLCDNumber;
class QLineEdit;
class QString;
class QTabWidget;

// Accessible interfaces for the widgets whose toolkit defaults a screen
// reader misreads or cannot read: line edits, combo boxes, the frequency
// displays, the page tabs and the notices. Installed before the form is
// built; an interface is made only when an assistive technology asks for it.
void installAccessibleInterfaces();

// Keyboard use of the window: the focus mark shows from the start, and
// Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageDown and Ctrl+PageUp switch the tabs
// from every widget.
void setUpTabKeys(QTabWidget *tabs);

// Sets what is wrong with the field's input as its accessible description
// (empty when nothing is). A screen reader speaks a new one at once while
// the field has the focus.
void describeInputProblem(QLineEdit *edit, const QString &problem);

// Shows the value on the display, and tells assistive technology about it.
void showOnDisplay(QLCDNumber *display, double value);
