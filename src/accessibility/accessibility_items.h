#pragma once

class QAccessibleInterface;
class QObject;
class QString;
class QWidget;

// Accessible interfaces for widgets with parts: a combo box and its items,
// a tab bar and its tabs; null for other widgets.
QAccessibleInterface *accessibleWithItems(const QString &className, QObject *object);

// Connected to QApplication::focusChanged().
void tellFocusedTab(QWidget *old, QWidget *now);
