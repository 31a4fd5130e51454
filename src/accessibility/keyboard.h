#pragma once

#include <QList>

class QTabWidget;
class QWidget;

// Marks the focus from the window's activation on, not only after a first
// Tab.
void showFocusMarkFromStart(QWidget *window);

// Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageDown and Ctrl+PageUp switch the tabs
// from every widget, telling the new tab's name.
void setUpTabKeys(QTabWidget *tabs);

// Lets widgets that take no focus by default (the frequency displays) be
// reached with Tab, marked by a frame around them while they have the focus.
void makeFocusable(const QList<QWidget *> &widgets);
