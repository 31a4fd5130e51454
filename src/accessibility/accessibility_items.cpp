#include "accessibility/accessibility_items.h"

#include "accessibility/accessibility_text.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QTabBar>

namespace {

// ---- Widgets with parts: a combo box's items, a tab bar's tabs ----

class ItemAccessible;

class WithItems : public QAccessibleWidget
{
public:
    WithItems(QWidget *widget, QAccessible::Role role, QAccessible::Role itemRole)
        : QAccessibleWidget(widget, role), itemRole(itemRole)
    {
    }
    ~WithItems() override
    {
        for (const QAccessible::Id id : std::as_const(itemIds))
            QAccessible::deleteAccessibleInterface(id);
    }

    virtual int itemCount() const = 0;
    virtual QString itemName(int index) const = 0;
    virtual QRect itemRect(int index) const = 0;
    virtual int currentItem() const = 0;
    virtual void chooseItem(int index) const = 0;
    // Every item can be chosen; the current one is selected.
    virtual QAccessible::State itemState(int index) const
    {
        QAccessible::State state;
        state.selectable = true;
        state.focusable = true;
        state.selected = index == currentItem();
        return state;
    }

    int childCount() const override { return itemCount(); }
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int i = 0; i < itemCount(); ++i) {
            if (itemRect(i).contains(x, y))
                return child(i);
        }
        return nullptr;
    }

    const QAccessible::Role itemRole;

private:
    mutable QHash<int, QAccessible::Id> itemIds;
};

// One part, made when first asked for and deleted with its owner's
// interface.
class ItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    ItemAccessible(const WithItems *owner, int index) : owner(owner), index(index) {}

    bool isValid() const override { return index < owner->itemCount(); }
    QObject *object() const override { return nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(owner->object());
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? owner->itemName(index) : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override { return owner->itemRect(index); }
    QAccessible::Role role() const override { return owner->itemRole; }
    QAccessible::State state() const override { return owner->itemState(index); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface
                   ? static_cast<QAccessibleActionInterface *>(this)
                   : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction())
            owner->chooseItem(index);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

    const WithItems *const owner;
    const int index;
};

QAccessibleInterface *WithItems::child(int index) const
{
    if (index < 0 || index >= itemCount())
        return nullptr;
    const auto found = itemIds.constFind(index);
    if (found != itemIds.constEnd())
        return QAccessible::accessibleInterface(*found);
    auto *item = new ItemAccessible(this, index);
    itemIds.insert(index, QAccessible::registerAccessibleInterface(item));
    return item;
}

int WithItems::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *item = dynamic_cast<const ItemAccessible *>(child);
    return (item && item->owner == this && item->index < itemCount()) ? item->index : -1;
}

bool isOpen(const QComboBox *combo)
{
    const QWidget *popup = QApplication::activePopupWidget();
    return popup && popup->parentWidget() == combo;
}

// A combo box: its caption as name, its current item as text (Orca 43 reads
// a combo box's value from its text) and, where Qt has the interface (from
// 6.5), as its selection, where Orca 48 reads the value; its items as
// children. Its current item takes the focus event as an arrow key
// chooses one (WORKAROUND(atspi-combo-current-item)).
class ComboBoxAccessible : public WithItems,
                           public ShownText
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    ,
                           public QAccessibleSelectionInterface
#endif
{
public:
    explicit ComboBoxAccessible(QComboBox *combo)
        : WithItems(combo, QAccessible::ComboBox, QAccessible::ListItem)
    {
        QObject::connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), combo,
                         [combo] {
                             if (combo->hasFocus() && !isOpen(combo))
                                 focusOnCurrentItem(combo);
                         });
    }

    QComboBox *combo() const { return static_cast<QComboBox *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
        if (type == QAccessible::SelectionInterface)
            return static_cast<QAccessibleSelectionInterface *>(this);
#endif
        return WithItems::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? combo()->currentText() : WithItems::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = WithItems::state();
        state.expandable = true;
        state.expanded = isOpen(combo());
        state.collapsed = !state.expanded;
        return state;
    }

    int itemCount() const override
    {
        return combo()->count();
    }
    QString itemName(int index) const override
    {
        return combo()->itemText(index);
    }
    QAccessible::State itemState(int index) const override
    {
        QAccessible::State state = WithItems::itemState(index);
        state.invisible = !state.selected || !combo()->isVisible();
        return state;
    }
    QRect itemRect(int index) const override
    {
        return index == currentItem() ? rect() : QRect();
    }
    int currentItem() const override
    {
        return combo()->currentIndex();
    }
    void chooseItem(int index) const override
    {
        combo()->setCurrentIndex(index);
    }

    QString shownText() const override
    {
        return combo()->currentText();
    }
    QRect textArea() const override
    {
        return rect();
    }

#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    // The current item is the selection; choosing an item selects it.
    int selectedItemCount() const override
    {
        return currentItem() >= 0 ? 1 : 0;
    }
    QList<QAccessibleInterface *> selectedItems() const override
    {
        QAccessibleInterface *item = child(currentItem());
        return item ? QList<QAccessibleInterface *>{item} : QList<QAccessibleInterface *>{};
    }
    bool select(QAccessibleInterface *item) override
    {
        const int index = indexOfChild(item);
        if (index >= 0)
            chooseItem(index);
        return index >= 0;
    }
    bool unselect(QAccessibleInterface *) override
    {
        return false;
    }
    bool selectAll() override
    {
        return false;
    }
    bool clear() override
    {
        return false;
    }
#endif

protected:
    QFont font() const override
    {
        return combo()->font();
    }
};

// A tab bar's tabs, the current one selected. Qt's own tab interface never
// reports the selected state (WORKAROUND(qt-tab-selected)).
class TabBarAccessible : public WithItems
{
public:
    explicit TabBarAccessible(QTabBar *bar)
        : WithItems(bar, QAccessible::PageTabList, QAccessible::PageTab)
    {
    }

    QTabBar *bar() const { return static_cast<QTabBar *>(widget()); }

    int itemCount() const override { return bar()->count(); }
    QString itemName(int index) const override { return stripAmpersands(bar()->tabText(index)); }
    QAccessible::State itemState(int index) const override
    {
        QAccessible::State state = WithItems::itemState(index);
        state.focused = state.selected && bar()->hasFocus();
        state.disabled = !bar()->isTabEnabled(index);
        state.invisible = !bar()->isVisible();
        return state;
    }
    QRect itemRect(int index) const override { return onScreen(bar(), bar()->tabRect(index)); }
    int currentItem() const override { return bar()->currentIndex(); }
    void chooseItem(int index) const override { bar()->setCurrentIndex(index); }
};

} // namespace

QAccessibleInterface *accessibleWithItems(const QString &className, QObject *object)
{
    if (auto *combo = qobject_cast<QComboBox *>(object); combo && className == "QComboBox")
        return new ComboBoxAccessible(combo);
    if (auto *bar = qobject_cast<QTabBar *>(object); bar && className == "QTabBar")
        return new TabBarAccessible(bar);
    return nullptr;
}

bool focusOnCurrentItem(QWidget *widget)
{
    auto *items = dynamic_cast<WithItems *>(QAccessible::queryAccessibleInterface(widget));
    if (!items || items->currentItem() < 0 || !QAccessible::isActive())
        return false;
    QAccessibleEvent event(widget, QAccessible::Focus);
    event.setChild(items->currentItem());
    QAccessible::updateAccessibility(&event);
    return true;
}

// Qt tells a tab bar that takes the focus, not its current tab, and Orca 43
// then speaks neither the tab nor its position: the tab is told after it
// (WORKAROUND(atspi-tab-bar-focus)).
void tellFocusedTab(QWidget *, QWidget *now)
{
    auto *bar = qobject_cast<QTabBar *>(now);
    if (!bar || !QAccessible::isActive())
        return;
    QMetaObject::invokeMethod(
        bar,
        [bar] {
            if (bar->hasFocus())
                focusOnCurrentItem(bar);
        },
        Qt::QueuedConnection);
}
