#include "accessibility/focusorder.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QVector>
#include <QWidget>

#include <algorithm>

namespace {

// A child of a container as the layout places it, with the caption beside
// it counted as part of it: a column is made of the widgets whose spans
// overlap.
struct Item {
    QWidget *widget;
    int left, right, top;
    int column = 0;
};

bool takesTabFocus(const QWidget *w)
{
    return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

bool holdsTabFocus(const QWidget *w)
{
    if (takesTabFocus(w) || qobject_cast<const QTabWidget *>(w))
        return true;
    const auto children = w->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    return std::any_of(children.begin(), children.end(), holdsTabFocus);
}

void appendInOrder(QWidget *container, QVector<QWidget *> &chain);

void appendItem(QWidget *w, QVector<QWidget *> &chain)
{
    if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
        chain << tabs->tabBar();
        for (int i = 0; i < tabs->count(); ++i)
            appendInOrder(tabs->widget(i), chain);
    } else if (takesTabFocus(w)) {
        chain << w;
    } else {
        appendInOrder(w, chain);
    }
}

void appendInOrder(QWidget *container, QVector<QWidget *> &chain)
{
    QVector<Item> items;
    QVector<QLabel *> captions;
    for (QWidget *w : container->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (auto *label = qobject_cast<QLabel *>(w))
            captions << label;
        else if (holdsTabFocus(w))
            items.append({w, w->x(), w->x() + w->width(), w->y()});
    }
    for (const QLabel *label : std::as_const(captions)) {
        for (Item &item : items) {
            if (label->buddy() &&
                (label->buddy() == item.widget || item.widget->isAncestorOf(label->buddy()))) {
                item.left = qMin(item.left, label->x());
                item.right = qMax(item.right, label->x() + label->width());
            }
        }
    }

    // Columns: the spans merged where they overlap, numbered left to right.
    std::sort(items.begin(), items.end(),
              [](const Item &a, const Item &b) { return a.left < b.left; });
    int columnRight = 0;
    for (int i = 0; i < items.size(); ++i) {
        if (i > 0 && items[i].left >= columnRight)
            items[i].column = items[i - 1].column + 1;
        else if (i > 0)
            items[i].column = items[i - 1].column;
        columnRight = (i == 0) ? items[i].right : qMax(columnRight, items[i].right);
    }
    std::stable_sort(items.begin(), items.end(), [](const Item &a, const Item &b) {
        if (a.column != b.column)
            return a.column < b.column;
        if (a.top != b.top)
            return a.top < b.top;
        return a.left < b.left;
    });
    for (const Item &item : std::as_const(items))
        appendItem(item.widget, chain);
}

// An exclusive group of buttons is one stop in the Tab chain, its checked
// button, from either side (WORKAROUND(qt-radio-stops)). Qt hands the Tab
// stop to whichever button last had the focus, checked or not, and before
// any has had it all of them are stops: Shift+Tab from below would stop on
// the last one. The arrows move to the next button in the order the buttons
// lie, round both ends, and check it as a click does; Qt's own arrows skip
// Up and Down in a row and only move the focus from a button that is not
// checked.
class RadioGroup : public QObject
{
public:
    explicit RadioGroup(QList<QAbstractButton *> list)
        : QObject(list.first()->window()), buttons(std::move(list))
    {
        const auto place = [](const QAbstractButton *b) {
            const QPoint p = b->mapTo(b->window(), QPoint());
            return std::make_pair(p.y(), p.x());
        };
        std::sort(buttons.begin(), buttons.end(),
                  [&](auto *a, auto *b) { return place(a) < place(b); });
        for (QAbstractButton *button : std::as_const(buttons)) {
            button->installEventFilter(this);
            connect(button, &QAbstractButton::toggled, this, &RadioGroup::keepTabStop);
        }
        keepTabStop();
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusOut) {
            keepTabStop();
            return false;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const int step = (key->key() == Qt::Key_Right || key->key() == Qt::Key_Down) ? 1
                         : (key->key() == Qt::Key_Left || key->key() == Qt::Key_Up)  ? -1
                                                                                     : 0;
        if (step == 0 || (key->modifiers() & ~Qt::KeypadModifier))
            return false;
        const int count = int(buttons.size());
        const int from = int(buttons.indexOf(static_cast<QAbstractButton *>(watched)));
        QAbstractButton *next = buttons.at((from + step + count) % count);
        next->click(); // before the focus, so that it is told checked
        next->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }

private:
    void keepTabStop()
    {
        const bool anyChecked =
            std::any_of(buttons.begin(), buttons.end(), [](auto *b) { return b->isChecked(); });
        for (QAbstractButton *b : std::as_const(buttons)) {
            const Qt::FocusPolicy policy = b->focusPolicy();
            b->setFocusPolicy(b->isChecked() || !anyChecked
                                  ? Qt::FocusPolicy(policy | Qt::TabFocus)
                                  : Qt::FocusPolicy(policy & ~Qt::TabFocus));
        }
    }

    QList<QAbstractButton *> buttons;
};

} // namespace

void orderFocusByLayout(QWidget *root)
{
    QVector<QWidget *> chain;
    appendInOrder(root, chain);
    // The chain is a ring. Start the order where the ring first meets one of
    // its widgets (a tab widget stands for its bar), so that nothing that
    // takes the focus lies between the last and the first.
    int start = -1;
    for (QWidget *w = root->nextInFocusChain(); w != root && start < 0; w = w->nextInFocusChain()) {
        QWidget *target = w;
        while (target->focusProxy())
            target = target->focusProxy();
        start = chain.indexOf(target);
    }
    if (start > 0)
        std::rotate(chain.begin(), chain.begin() + start, chain.end());
    for (int i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    // Only now: the chain takes only widgets that take Tab focus, and every
    // button of a group has its place in it.
    for (QAbstractButton *button : root->findChildren<QAbstractButton *>()) {
        QButtonGroup *group = button->group();
        if (group && group->exclusive() && group->buttons().first() == button)
            new RadioGroup(group->buttons());
    }
}
