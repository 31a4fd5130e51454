#include "accessibility/accessibility.h"

#include "accessibility/accessibility_items.h"
#include "accessibility/accessibility_text.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QValidator>

#include <iterator>

namespace {

// ---- Line edits ----

// In place of Qt's own for the attribute runs Orca 43 needs (ShownText,
// WORKAROUND(orca-last-character)).
// Edits made through it go through the field's validator, as with Qt's own,
// and are signalled as textEdited(), as the operator's are, so that the
// window checks them.
class LineEditAccessible : public QAccessibleWidget,
                           public ShownText,
                           public QAccessibleEditableTextInterface
{
public:
    explicit LineEditAccessible(QLineEdit *edit)
        : QAccessibleWidget(edit, QAccessible::EditableText)
    {
    }

    QLineEdit *edit() const { return static_cast<QLineEdit *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return edit()->echoMode() == QLineEdit::Normal ? edit()->text() : QString();
        return QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text t, const QString &text) override
    {
        if (t != QAccessible::Value) {
            QAccessibleWidget::setText(t, text);
            return;
        }
        QString input = text;
        int position = 0;
        const QValidator *validator = edit()->validator();
        if (validator && validator->validate(input, position) != QValidator::Acceptable)
            return;
        replaceText(0, int(edit()->text().size()), input);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = edit()->isReadOnly();
        state.editable = !edit()->isReadOnly();
        state.passwordEdit = edit()->echoMode() != QLineEdit::Normal;
        state.selectableText = true;
        return state;
    }

    QString shownText() const override
    {
        return edit()->echoMode() == QLineEdit::Normal ? edit()->text() : edit()->displayText();
    }
    QRect textArea() const override
    {
        QStyleOptionFrame option;
        option.initFrom(edit());
        option.lineWidth =
            edit()->hasFrame()
                ? edit()->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit())
                : 0;
        QRect area = edit()->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit());
        area = area.marginsRemoved(edit()->textMargins());
        area.adjust(2, 0, -2, 0); // QLineEdit's horizontal margin
        return QRect(edit()->mapToGlobal(area.topLeft()), area.size());
    }

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0 && edit()->hasSelectedText()) {
            *startOffset = edit()->selectionStart();
            *endOffset = *startOffset + int(edit()->selectedText().size());
        }
    }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override
    {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            edit()->deselect();
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex == 0)
            edit()->setSelection(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
    int offsetAtPoint(const QPoint &point) const override
    {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        edit()->setCursorPosition(endIndex);
        edit()->setCursorPosition(startIndex);
    }

    void deleteText(int startOffset, int endOffset) override
    {
        replaceText(startOffset, endOffset, QString());
    }
    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString &text) override
    {
        if (edit()->isReadOnly())
            return;
        const int size = int(edit()->text().size());
        startOffset = qBound(0, startOffset, size);
        edit()->setSelection(startOffset, qBound(startOffset, endOffset, size) - startOffset);
        edit()->insert(text); // through the validator; emits textEdited()
    }

protected:
    QFont font() const override { return edit()->font(); }
};

// ---- Frequency displays ----

// A display's number as it shows it (up to its digit count in significant
// digits, no trailing zeros), followed by its unit.
QString displayText(const QLCDNumber *display)
{
    return QString::number(display->value(), 'g', display->digitCount()) + QLatin1Char(' ') +
           QCoreApplication::translate("transceiver_master", "МГц");
}

class DisplayAccessible : public QAccessibleWidget,
                          public ShownText,
                          public QAccessibleValueInterface
{
public:
    // Read-only text rather than a label: Orca 43 speaks a label's name
    // alone, without the number and unit shown (WORKAROUND(orca-display-label)).
    explicit DisplayAccessible(QLCDNumber *display)
        : QAccessibleWidget(display, QAccessible::EditableText)
    {
    }

    QLCDNumber *display() const { return static_cast<QLCDNumber *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? displayText(display()) : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        return state;
    }

    QString shownText() const override { return displayText(display()); }
    QRect textArea() const override { return rect(); }

    QVariant currentValue() const override { return display()->value(); }
    void setCurrentValue(const QVariant &) override {}
    QVariant maximumValue() const override { return QVariant(); }
    QVariant minimumValue() const override { return QVariant(); }
    QVariant minimumStepSize() const override { return QVariant(); }

protected:
    QFont font() const override { return display()->font(); }
};

// ---- What is told without the focus moving ----

// WORKAROUND(atspi-description-change): Qt's description change event carries
// the object rather than the new text, which Orca 43 cannot speak, and only Qt
// 6.8 has announcements. A screen reader speaks a notification that shows,
// after what it is saying, so on every Qt a message is one, over a widget and
// not drawn. A few serve in turn, living as long as Qt's accessibility cache,
// so that a screen reader can still read one after the event while the next
// are shown; each new message is told as a name change first, as a client
// keeps the name it read until told it changed.
class Notification : public QAccessibleInterface
{
public:
    static void show(QWidget *near, const QString &message)
    {
        static QAccessible::Id ids[4] = {};
        static int next = 0;
        QAccessible::Id &id = ids[next];
        next = (next + 1) % std::size(ids);
        auto *notification = static_cast<Notification *>(QAccessible::accessibleInterface(id));
        if (!notification) {
            notification = new Notification;
            id = QAccessible::registerAccessibleInterface(notification);
        }
        notification->near = near;
        if (notification->message != message) {
            notification->message = message;
            QAccessibleEvent renamed(notification, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&renamed);
        }
        QAccessibleEvent event(notification, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&event);
    }

    bool isValid() const override { return near; }
    QObject *object() const override { return nullptr; }
    QAccessibleInterface *parent() const override
    {
        return near ? QAccessible::queryAccessibleInterface(near->window()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? message : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override { return near ? onScreen(near, near->rect()) : QRect(); }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return QAccessible::State(); }

private:
    QPointer<QWidget> near;
    QString message;
};

QAccessibleInterface *accessibleInterface(const QString &className, QObject *object)
{
    // A widget in its destructor no longer has its class (qobject_cast
    // fails from ~QWidget on), so it is refused, as Qt's own factory refuses
    // one being destroyed.
    if (auto *edit = qobject_cast<QLineEdit *>(object); edit && className == "QLineEdit")
        return new LineEditAccessible(edit);
    if (QAccessibleInterface *withItems = accessibleWithItems(className, object))
        return withItems;
    if (auto *display = qobject_cast<QLCDNumber *>(object); display && className == "QLCDNumber")
        return new DisplayAccessible(display);
    // A notice is an alert, named by its heading and message (notice.cpp).
    if (auto *box = qobject_cast<QMessageBox *>(object); box && className == "QMessageBox")
        return new QAccessibleWidget(box, QAccessible::AlertMessage);
    // A notice's icon is one object from notice to notice, drawn or not, and
    // so keeps one role.
    if (auto *icon = qobject_cast<QLabel *>(object);
        icon && className == "QLabel" &&
        icon->objectName() == QLatin1String("qt_msgboxex_icon_label"))
        return new QAccessibleWidget(icon, QAccessible::Graphic);
    // Orca 43 speaks an unnamed layered pane among the containers of each new
    // focus; a tab widget's page stack only lays out, as the pages do
    // (WORKAROUND(orca-layered-pane)).
    if (auto *stack = qobject_cast<QStackedWidget *>(object);
        stack && className == "QStackedWidget")
        return new QAccessibleWidget(stack, QAccessible::Client);
    return nullptr;
}

// What the update handler holds back or tells otherwise, each a fault of
// its own; true where the event is not to be passed on as it is.

// A line edit drops its selection as it loses the focus, and Qt tells that
// before the new focus, so Orca 43 says "Text unselected" on leaving each
// field it entered by Tab (WORKAROUND(orca-text-unselected)).
bool isDeselectionOnLeaving(const QAccessibleEvent *event)
{
    auto *edit = qobject_cast<QLineEdit *>(event->object());
    return event->type() == QAccessible::TextSelectionChanged && edit && !edit->hasFocus() &&
           !edit->hasSelectedText();
}

#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
// WORKAROUND(qt5-hidden-name-change): Qt 5 tells the names given to a
// notice's widgets before it shows, and Orca 48, reading them after the
// notice's button took the focus, says the button again. A widget of a
// window never shown has been read by no one.
bool isNameChangeBeforeShown(const QAccessibleEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(event->object());
    return event->type() == QAccessible::NameChanged && widget && !widget->isVisible() &&
           !widget->window()->testAttribute(Qt::WA_WState_ExplicitShowHide);
}
#else
bool isNameChangeBeforeShown(const QAccessibleEvent *)
{
    return false;
}
#endif

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
// WORKAROUND(qt-label-text-event): Qt tells the text changes of a notice's
// selectable label as the label's, and a label's interface has no text, so
// the AT-SPI bridge drops each with a warning ("Received text event for
// invalid interface").
bool isTextEventOfLabel(QAccessibleEvent *event)
{
    const QAccessible::Event type = event->type();
    if (!qobject_cast<QLabel *>(event->object()) ||
        (type != QAccessible::TextInserted && type != QAccessible::TextRemoved &&
         type != QAccessible::TextUpdated))
        return false;
    QAccessibleInterface *label = event->accessibleInterface();
    return !label || !label->textInterface();
}
#else
bool isTextEventOfLabel(QAccessibleEvent *)
{
    return false;
}
#endif

// WORKAROUND(atspi-combo-current-item): a combo box takes the focus at its
// current item, as one does when an arrow key chooses an item
// (ComboBoxAccessible): without a selection to find it in, Orca 48 says the
// caption twice and no value, and Orca 43 drops "collapsed".
bool isComboBoxFocus(const QAccessibleEvent *event)
{
    auto *combo = qobject_cast<QComboBox *>(event->object());
    return combo && event->type() == QAccessible::Focus && event->child() < 0 &&
           focusOnCurrentItem(combo);
}

void passOn(QAccessibleEvent *event)
{
    if (!QAccessible::isActive() || isDeselectionOnLeaving(event) ||
        isNameChangeBeforeShown(event) || isTextEventOfLabel(event) || isComboBoxFocus(event))
        return;
    QAccessible::installUpdateHandler(nullptr); // to the platform's bridge
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(passOn);
}

} // namespace

void installAccessibleInterfaces()
{
    // Installed once; Qt asks the factory installed last first.
    QAccessible::installFactory(accessibleInterface);
    QAccessible::installUpdateHandler(passOn);
    static const bool tabFocusTold =
        QObject::connect(qApp, &QApplication::focusChanged, tellFocusedTab);
    Q_UNUSED(tabFocusTold)
}

void announce(QWidget *near, const QString &message)
{
    if (QAccessible::isActive())
        Notification::show(near, message);
}

bool showOnDisplay(QLCDNumber *display, double value)
{
    if (!QAccessible::isActive()) {
        display->display(value);
        return false;
    }
    const QString before = displayText(display);
    display->display(value);
    const QString after = displayText(display);
    if (after == before)
        return false;
    QAccessibleValueChangeEvent valueEvent(display, value);
    QAccessible::updateAccessibility(&valueEvent);
    QAccessibleTextUpdateEvent textEvent(display, 0, before, after);
    QAccessible::updateAccessibility(&textEvent);
    return true;
}

void announceDisplays(const QList<QLCDNumber *> &displays)
{
    if (displays.isEmpty() || !QAccessible::isActive())
        return;
    // "Частота приёма, МГц" and "402.5 МГц" make "Частота приёма 402.5 МГц".
    QStringList parts;
    for (QLCDNumber *display : displays) {
        const QString caption =
            QAccessible::queryAccessibleInterface(display)->text(QAccessible::Name);
        parts << caption.section(QLatin1Char(','), 0, 0) + QLatin1Char(' ') + displayText(display);
    }
    announce(displays.first(), parts.join(QStringLiteral(", ")));
}
