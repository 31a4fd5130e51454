#pragma once

class QAccessibleInterface;
class QObject;
class QString;
class QWidget;

// Accessible interfaces for widgets with parts: a combo box and its items,
// a tab bar and its tabs; null for other widgets.
QAccessibleInterface *accessibleWithItems(const QString &className, QObject *object);

// Tells the focus on the current item of a combo box or tab bar, as Qt
// tells it on an item of an open list; false where there is none.
bool focusOnCurrentItem(QWidget *widget);

// Connected to QApplication::focusChanged().
void tellFocusedTab(QWidget *old, QWidget *now);
