#include "accessibility/accessibility_items.h"

#include "accessibility/accessibility_text.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QPointer>
#include <QTabBar>

namespace {

// ---- Widgets with parts: a combo box's items, a tab bar's tabs ----

class WithItems;

// One part, made when first asked for and kept by its owner.
class ItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    ItemAccessible(QWidget *owner, int index, QAccessible::Role role)
        : owner(owner), index(index), itemRole(role)
    {
    }

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QAccessibleInterface *parent() const override
    {
        return owner ? QAccessible::queryAccessibleInterface(owner) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return itemRole; }
    QAccessible::State state() const override;

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface
                   ? static_cast<QAccessibleActionInterface *>(this)
                   : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

    const QPointer<QWidget> owner;
    const int index;

private:
    WithItems *ownerInterface() const;
    const QAccessible::Role itemRole;
};

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
    virtual void chooseItem(int index) = 0;
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
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= itemCount())
            return nullptr;
        const auto found = itemIds.constFind(index);
        if (found != itemIds.constEnd())
            return QAccessible::accessibleInterface(*found);
        auto *item = new ItemAccessible(widget(), index, itemRole);
        itemIds.insert(index, QAccessible::registerAccessibleInterface(item));
        return item;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *item = dynamic_cast<const ItemAccessible *>(child);
        return (item && item->owner == widget() && item->index < itemCount()) ? item->index : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int i = 0; i < itemCount(); ++i) {
            if (itemRect(i).contains(x, y))
                return child(i);
        }
        return nullptr;
    }

private:
    const QAccessible::Role itemRole;
    mutable QHash<int, QAccessible::Id> itemIds;
};

WithItems *ItemAccessible::ownerInterface() const
{
    return owner ? dynamic_cast<WithItems *>(QAccessible::queryAccessibleInterface(owner))
                 : nullptr;
}

bool ItemAccessible::isValid() const
{
    const WithItems *items = ownerInterface();
    return items && index < items->itemCount();
}

QString ItemAccessible::text(QAccessible::Text t) const
{
    const WithItems *items = ownerInterface();
    return (items && t == QAccessible::Name) ? items->itemName(index) : QString();
}

QRect ItemAccessible::rect() const
{
    const WithItems *items = ownerInterface();
    return items ? items->itemRect(index) : QRect();
}

QAccessible::State ItemAccessible::state() const
{
    const WithItems *items = ownerInterface();
    return items ? items->itemState(index) : QAccessible::State();
}

void ItemAccessible::doAction(const QString &name)
{
    WithItems *items = ownerInterface();
    if (items && name == pressAction())
        items->chooseItem(index);
}

// The current item as the selection, where Qt has a selection interface
// (from 6.5); choosing an item selects it.
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
class CurrentItemSelection : public QAccessibleSelectionInterface
{
public:
    void *selectionCast(QAccessible::InterfaceType type)
    {
        return type == QAccessible::SelectionInterface
                   ? static_cast<QAccessibleSelectionInterface *>(this)
                   : nullptr;
    }
    int selectedItemCount() const override { return int(selectedItems().size()); }
    QList<QAccessibleInterface *> selectedItems() const override
    {
        QAccessibleInterface *item = items()->child(items()->currentItem());
        return item ? QList<QAccessibleInterface *>{item} : QList<QAccessibleInterface *>{};
    }
    bool select(QAccessibleInterface *item) override
    {
        const int index = items()->indexOfChild(item);
        if (index >= 0)
            items()->chooseItem(index);
        return index >= 0;
    }
    bool unselect(QAccessibleInterface *) override { return false; }
    bool selectAll() override { return false; }
    bool clear() override { return false; }

protected:
    virtual WithItems *items() const = 0;
};
#else
class CurrentItemSelection
{
public:
    virtual ~CurrentItemSelection() = default;
    void *selectionCast(QAccessible::InterfaceType) { return nullptr; }

protected:
    virtual WithItems *items() const = 0;
};
#endif

// A combo box: its caption as name, its current item as text (Orca 43 reads
// a combo box's value from its text) and as its selection (Orca 48 reads the
// value from that alone), and its items as children. An item chosen with the
// arrow keys while the list is closed takes the focus event, as it would in
// the open list (WORKAROUND(atspi-combo-selection)): Qt 5.15 and 6.4 have no
// selection interface that would let a screen reader find the new item.
class ComboBoxAccessible : public WithItems, public ShownText, public CurrentItemSelection
{
public:
    explicit ComboBoxAccessible(QComboBox *combo)
        : WithItems(combo, QAccessible::ComboBox, QAccessible::ListItem)
    {
        QObject::connect(
            combo, QOverload<int>::of(&QComboBox::currentIndexChanged), combo, [combo](int index) {
                if (index < 0 || !combo->hasFocus() || isOpen(combo) || !QAccessible::isActive())
                    return;
                QAccessibleEvent event(combo, QAccessible::Focus);
                event.setChild(index);
                QAccessible::updateAccessibility(&event);
            });
    }

    QComboBox *combo() const { return static_cast<QComboBox *>(widget()); }

    static bool isOpen(const QComboBox *combo)
    {
        const QWidget *popup = QApplication::activePopupWidget();
        return popup && popup->parentWidget() == combo;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (void *selection = selectionCast(type))
            return selection;
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

    int itemCount() const override { return combo()->count(); }
    QString itemName(int index) const override { return combo()->itemText(index); }
    QAccessible::State itemState(int index) const override
    {
        QAccessible::State state = WithItems::itemState(index);
        state.invisible = !state.selected || !combo()->isVisible();
        return state;
    }
    QRect itemRect(int index) const override { return index == currentItem() ? rect() : QRect(); }
    int currentItem() const override { return combo()->currentIndex(); }
    void chooseItem(int index) override { combo()->setCurrentIndex(index); }

    QString shownText() const override { return combo()->currentText(); }
    QRect textArea() const override { return rect(); }

protected:
    QFont font() const override { return combo()->font(); }
    WithItems *items() const override { return const_cast<ComboBoxAccessible *>(this); }
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
    void chooseItem(int index) override { bar()->setCurrentIndex(index); }
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
            if (!bar->hasFocus())
                return;
            QAccessibleEvent event(bar, QAccessible::Focus);
            event.setChild(bar->currentIndex());
            QAccessible::updateAccessibility(&event);
        },
        Qt::QueuedConnection);
}
