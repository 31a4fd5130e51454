#include "accessibility/keyboard.h"

#include "accessibility/accessibility.h"

#include <QApplication>
#include <QFocusFrame>
#include <QKeySequence>
#include <QLineEdit>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>

namespace {

// WORKAROUND(qt-focus-after-activation): keeps the focus mark on from the
// window's activation. Qt draws it only after the focus has moved by keyboard
// in the window, and clears that state as the window shows, so the tab bar,
// which has the focus from the start, would show none. Where the window has
// no focus widget yet when activated (X11 with Qt 5.15, Qt 6.11), the first
// focus comes for another reason than a key and takes the mark away: the mark
// is set for that focus.
class FocusMarkOn : public QObject
{
public:
    explicit FocusMarkOn(QWidget *window) : QObject(window), window(window)
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::WindowActivate)
            return false;
        if (QWidget *focus = window->focusWidget())
            mark(focus);
        else
            markFirstFocus();
        return false;
    }

private:
    void mark(QWidget *focus)
    {
        window->setAttribute(Qt::WA_KeyboardFocusChange);
        focus->update();
    }
    void markFirstFocus()
    {
        disconnect(firstFocus);
        firstFocus =
            connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
                disconnect(firstFocus);
                if (now && now->window() == window)
                    mark(now);
            });
    }

    QMetaObject::Connection firstFocus;
    QWidget *const window;
};

// A frame drawn around, not on, the widget that has the focus, so that the
// widget looks the same with and without it.
class FocusFrameFollower : public QObject
{
public:
    explicit FocusFrameFollower(QWidget *window) : QObject(window), frame(new QFocusFrame(window))
    {
        frame->hide(); // until a widget has the focus
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn)
            frame->setWidget(static_cast<QWidget *>(watched));
        else if (event->type() == QEvent::FocusOut)
            frame->setWidget(nullptr);
        return false;
    }

private:
    QFocusFrame *frame;
};

void switchTab(QTabWidget *tabs, int step)
{
    const int count = tabs->count();
    if (count < 2)
        return;
    const int index = (tabs->currentIndex() + step + count) % count;
    tabs->setCurrentIndex(index);
    QWidget *focus = QApplication::focusWidget();
    if (!focus) {
        tabs->tabBar()->setFocus(Qt::TabFocusReason);
        return;
    }
    // The tab bar tells its new tab itself.
    if (focus == tabs->tabBar())
        return;
    // A field the page change gave the focus to, selected as Tab selects it.
    auto *edit = qobject_cast<QLineEdit *>(focus);
    if (edit && tabs->currentWidget()->isAncestorOf(edit))
        edit->selectAll();
    announce(focus, tabs->tabText(index));
}

} // namespace

void showFocusMarkFromStart(QWidget *window)
{
    new FocusMarkOn(window);
}

void setUpTabKeys(QTabWidget *tabs)
{
    QWidget *window = tabs->window();
    // Window-wide shortcuts, so that a combo box, which keeps Ctrl+Tab to
    // itself, cannot swallow them.
    const struct {
        QKeySequence keys;
        int step;
    } bindings[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1},
    };
    for (const auto &binding : bindings) {
        auto *shortcut = new QShortcut(binding.keys, window);
        const int step = binding.step;
        QObject::connect(shortcut, &QShortcut::activated, tabs,
                         [tabs, step] { switchTab(tabs, step); });
    }
}

void makeFocusable(const QList<QWidget *> &widgets)
{
    if (widgets.isEmpty())
        return;
    auto *follower = new FocusFrameFollower(widgets.first()->window());
    for (QWidget *widget : widgets) {
        widget->setFocusPolicy(Qt::TabFocus);
        widget->installEventFilter(follower);
    }
}
