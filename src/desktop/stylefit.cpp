#include "desktop/stylefit.h"
#include "desktop/desktopfit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTabWidget>

#include <algorithm>
#include <vector>

namespace {

// Between a grown or moved widget and its neighbours, and the page's edge.
constexpr int gap = 4;
// Room to spare beyond a text's width, in what a style says it gives the
// text, that no style was seen to take away in drawing it; only where there
// is less is the text drawn to see what shows.
constexpr int surelyFits = 24;
// A frame is seen where it stands out this much from the page and from
// the field inside it (WCAG contrast; Fusion's outline is about 2).
constexpr qreal visibleFrame = 1.5;

QList<QWidget *> siblingsOf(const QWidget *w)
{
    QList<QWidget *> all =
        w->parentWidget()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    all.removeOne(const_cast<QWidget *>(w));
    return all;
}

// What a sibling covers: a label its text, anything else its whole rectangle.
QRect covered(const QWidget *w)
{
    const auto *label = qobject_cast<const QLabel *>(w);
    if (!label || label->text().isEmpty())
        return w->geometry();
    const int m = label->margin();
    const QRect room = label->contentsRect().adjusted(m, m, -m, -m).translated(label->pos());
    const QFontMetrics metrics = label->fontMetrics();
    return QStyle::alignedRect(label->layoutDirection(), label->alignment(),
                               QSize(metrics.horizontalAdvance(label->text()), metrics.height()),
                               room);
}

// Free room left and right of a widget in its row (the middle half of its
// height), up to the nearest sibling or the page's edge.
QPair<int, int> freeRoom(const QWidget *w)
{
    const QRect g = w->geometry();
    const int top = g.top() + g.height() / 4, bottom = g.bottom() - g.height() / 4;
    int left = gap, right = w->parentWidget()->width() - 1 - gap;
    for (const QWidget *s : siblingsOf(w)) {
        if (s->isHidden() || s->geometry().bottom() < top || s->geometry().top() > bottom)
            continue;
        const QRect c = covered(s);
        if (c.bottom() < top || c.top() > bottom)
            continue;
        if (c.right() < g.left())
            left = qMax(left, c.right() + 1 + gap);
        else if (c.left() > g.right())
            right = qMin(right, c.left() - 1 - gap);
    }
    return {qMax(0, g.left() - left), qMax(0, right - g.right())};
}

enum class Grow { leftFirst, rightFirst, rightOnly };

// Grows a widget by `need` pixels: into the free room on the side given
// first, then on the other (unless it grows right only); what is still short
// moves every sibling right of it (its column) over, as far as the page
// allows. Returns what the page lacks.
int widen(QWidget *w, int need, Grow grow)
{
    const auto [roomLeft, roomRight] = freeRoom(w);
    int left = grow == Grow::leftFirst ? qMin(need, roomLeft) : 0;
    const int right = qMin(need - left, roomRight);
    if (grow == Grow::rightFirst)
        left = qMin(need - right, roomLeft);
    QRect g = w->geometry().adjusted(-left, 0, right, 0);
    if (const int missing = need - left - right; missing > 0) {
        QList<QWidget *> column;
        int edge = g.right();
        for (QWidget *s : siblingsOf(w)) {
            if (s->geometry().left() > g.right()) {
                column << s;
                edge = qMax(edge, s->geometry().right());
            }
        }
        const int shift = qBound(0, w->parentWidget()->width() - 1 - gap - edge, missing);
        for (QWidget *s : std::as_const(column))
            s->move(s->x() + shift, s->y());
        g.adjust(0, 0, shift, 0);
        need -= shift;
    }
    w->setGeometry(g);
    return need - left - right;
}

// Which columns of a transparent image something was drawn into.
std::vector<bool> inkedColumns(const QImage &image)
{
    std::vector<unsigned char> inked(image.width());
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            inked[x] |= line[x] != 0;
    }
    return std::vector<bool>(inked.cbegin(), inked.cend());
}

QStyleOptionButton optionOf(const QAbstractButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    return option;
}

QStyleOptionComboBox optionOf(const QComboBox *combo)
{
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.frame = combo->hasFrame();
    return option;
}

// What a line edit's style draws as its panel, over the page's colour.
QImage drawnPanel(const QLineEdit *edit)
{
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
    option.state |= QStyle::State_Sunken;
    QImage image(edit->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(edit->parentWidget()->palette().color(QPalette::Window));
    QPainter painter(&image);
    edit->style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, edit);
    return image;
}

// The columns that hold any of what a check box's or radio button's style
// draws of it at `width`.
int inkedColumns(const QAbstractButton *button, int width)
{
    QStyleOptionButton option = optionOf(button);
    option.rect.setWidth(width);
    QImage image(option.rect.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(button->font()); // as the button's own painter has it
    button->style()->drawControl(qobject_cast<const QRadioButton *>(button) ? QStyle::CE_RadioButton
                                                                            : QStyle::CE_CheckBox,
                                 &option, &painter, button);
    painter.end();
    const std::vector<bool> inked = inkedColumns(image);
    return int(std::count(inked.cbegin(), inked.cend(), true));
}

// How much wider a check box or radio button must be for its whole caption,
// trailing spaces included: how much of it the style cuts off, as it draws
// the button.
int captionShortfall(const QAbstractButton *button)
{
    const int width = button->width();
    const int whole = button->fontMetrics().horizontalAdvance(button->text());
    // The room the style says it gives the caption, which counts the spaces
    // after the letters too; well inside it, nothing is cut.
    const QStyleOptionButton option = optionOf(button);
    const QStyle::SubElement contents = qobject_cast<const QRadioButton *>(button)
                                            ? QStyle::SE_RadioButtonContents
                                            : QStyle::SE_CheckBoxContents;
    const int room = button->style()->subElementRect(contents, &option, button).width();
    if (room - whole >= surelyFits)
        return 0;
    // What is cut of the letters shows as ink.
    const int cut = inkedColumns(button, width + whole) - inkedColumns(button, width);
    return qMax(cut, whole - room);
}

// The right end of what a combo box's style draws of `text` as its current
// item at `width`: clipped at the arrow where the box is too narrow.
int labelEnd(const QComboBox *combo, const QString &text, int width)
{
    QStyleOptionComboBox option = optionOf(combo);
    option.currentText = text;
    option.rect.setWidth(width);
    QImage image(option.rect.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(combo->font()); // as the combo box's own painter has it
    combo->style()->drawControl(QStyle::CE_ComboBoxLabel, &option, &painter, combo);
    painter.end();
    const std::vector<bool> inked = inkedColumns(image);
    const auto last = std::find(inked.crbegin(), inked.crend(), true);
    return int(inked.crend() - last);
}

// How much wider a combo box must be for its longest item beside the arrow:
// how much of it the style cuts off, as it draws the item.
int itemShortfall(const QComboBox *combo)
{
    QString longest;
    int advance = 0;
    for (int i = 0; i < combo->count(); ++i) {
        const QString text = combo->itemText(i);
        if (const int a = combo->fontMetrics().horizontalAdvance(text); a > advance) {
            longest = text;
            advance = a;
        }
    }
    if (longest.isEmpty())
        return 0;
    const QStyleOptionComboBox option = optionOf(combo);
    const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                       QStyle::SC_ComboBoxEditField, combo);
    if (field.width() - advance >= surelyFits)
        return 0;
    const int width = combo->width();
    return labelEnd(combo, longest, width + advance) - labelEnd(combo, longest, width);
}

// A widget that reaches below its page moves up, where nothing stands there.
void keepOnPage(QWidget *w)
{
    const int limit = w->parentWidget()->height() - 1 - gap;
    if (w->geometry().bottom() <= limit)
        return;
    const int below = covered(w).bottom() - limit;
    if (below <= 0)
        return;
    const QRect moved = w->geometry().translated(0, -below);
    for (const QWidget *s : siblingsOf(w)) {
        if (covered(s).intersects(moved))
            return;
    }
    w->move(w->x(), moved.y());
}

// Whether the style draws a line edit of this size with a frame that stands
// out from the page and from the field: Breeze and Adwaita draw none where
// the field is lower than their frame and a line of text together, and
// Adwaita then draws no background either.
bool styleFrames(const QLineEdit *edit)
{
    static QPointer<QStyle> lastStyle;
    static bool lastAnswer = true;
    if (lastStyle == edit->style())
        return lastAnswer;
    const QImage image = drawnPanel(edit);
    const QColor page = edit->parentWidget()->palette().color(QPalette::Window);
    const int y = image.height() / 2;
    const QColor inside = image.pixelColor(image.width() / 2, y);
    lastStyle = edit->style();
    lastAnswer = false;
    for (int x = 0; x < 3 && !lastAnswer; ++x) {
        const QColor edge = image.pixelColor(x, y);
        lastAnswer = contrastRatio(edge, page) >= visibleFrame &&
                     contrastRatio(edge, inside) >= visibleFrame;
    }
    return lastAnswer;
}

// A frame and background of the field's own, drawn around what the style
// draws: a rounded line between the page's colour and its text's, and the
// field's base colour (the white or yellow of its style sheet) inside it.
class FieldFrame : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint || painting)
            return false;
        auto *edit = static_cast<QLineEdit *>(watched);
        const QRectF outline = QRectF(edit->rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        {
            QPainter painter(edit);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(edit->palette().brush(QPalette::Base));
            painter.drawRoundedRect(outline, 2, 2);
        }
        painting = true;
        QCoreApplication::sendEvent(edit, event);
        painting = false;
        const QPalette page = edit->parentWidget()->palette();
        const QColor back = page.color(QPalette::Window), text = page.color(QPalette::WindowText);
        const QColor line = QColor::fromRgbF(back.redF() * 0.6 + text.redF() * 0.4,
                                             back.greenF() * 0.6 + text.greenF() * 0.4,
                                             back.blueF() * 0.6 + text.blueF() * 0.4);
        QPainter painter(edit);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(line);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(outline, 2, 2);
        return true;
    }

private:
    bool painting = false;
};

// Fits one page; returns how much wider it must be for that.
int fitPageToStyle(QWidget *page)
{
    // Combo boxes standing in one column grow alike, to the right: their
    // captions are on their left.
    QHash<QPair<int, int>, int> columnNeeds;
    const QList<QComboBox *> combos = page->findChildren<QComboBox *>();
    for (QComboBox *combo : combos) {
        int &need = columnNeeds[{combo->x(), combo->width()}];
        need = qMax(need, itemShortfall(combo));
    }
    QVector<int> needs;
    for (QComboBox *combo : combos)
        needs << columnNeeds.value({combo->x(), combo->width()});
    int lacking = 0;
    for (int i = 0; i < combos.size(); ++i) {
        if (needs[i] > 0)
            lacking = qMax(lacking, widen(combos[i], needs[i], Grow::rightOnly));
    }
    for (QAbstractButton *button : page->findChildren<QAbstractButton *>()) {
        if (!qobject_cast<QCheckBox *>(button) && !qobject_cast<QRadioButton *>(button))
            continue;
        // A right-to-left box keeps its indicator where it is.
        if (const int need = captionShortfall(button); need > 0)
            lacking = qMax(lacking,
                           widen(button, need,
                                 button->layoutDirection() == Qt::RightToLeft ? Grow::leftFirst
                                                                              : Grow::rightFirst));
    }
    for (QWidget *w : page->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        keepOnPage(w);
    return lacking;
}

} // namespace

void fitToStyle(QTabWidget *tabs)
{
    // The styles the form is laid out in: nothing to measure at start-up.
    const QString style = tabs->style()->objectName();
    if (style.compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0 ||
        style.compare(QLatin1String("windows"), Qt::CaseInsensitive) == 0)
        return;
    // The pages as large as the tabs' page area, as its layout would make them.
    const auto fitPages = [tabs] {
        int lacking = 0;
        for (int i = 0; i < tabs->count(); ++i) {
            QWidget *page = tabs->widget(i);
            page->resize(page->parentWidget()->contentsRect().size());
            lacking = qMax(lacking, fitPageToStyle(page));
        }
        return lacking;
    };
    for (int i = 0; i < tabs->count(); ++i) {
        const QList<QLineEdit *> edits = tabs->widget(i)->findChildren<QLineEdit *>();
        if (!edits.isEmpty() && !styleFrames(edits.first())) {
            auto *frame = new FieldFrame(tabs);
            for (QLineEdit *edit : edits)
                edit->installEventFilter(frame);
        }
    }
    // Where a page lacks width, the tabs widen by it, and the window with
    // them; what stands right of the tabs' middle keeps its place beside
    // their right edge. Growing one column can leave the next short: again.
    QWidget *window = tabs->window();
    for (int round = 0, lacking = fitPages(); lacking > 0 && round < 4;
         ++round, lacking = fitPages()) {
        for (QWidget *w :
             tabs->parentWidget()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (w != tabs && w->geometry().center().x() > tabs->geometry().center().x())
                w->move(w->x() + lacking, w->y());
        }
        tabs->resize(tabs->width() + lacking, tabs->height());
        // A form scrolled on a small screen widens inside its scroll area.
        QScrollArea *area = nullptr;
        for (QWidget *w = tabs->parentWidget(); w != window && !area; w = w->parentWidget())
            area = qobject_cast<QScrollArea *>(w);
        if (area) {
            area->widget()->setFixedWidth(area->widget()->width() + lacking);
            window->setMaximumWidth(window->maximumWidth() + lacking);
            continue;
        }
        window->setMinimumWidth(window->minimumWidth() + lacking);
        window->setMaximumWidth(window->maximumWidth() + lacking);
        window->resize(window->width() + lacking, window->height());
    }
}

namespace {

// Pages have their size once the window's widgets are shown, and the window
// is not on screen yet when it is told it shows.
class WindowFit : public QObject
{
public:
    explicit WindowFit(QTabWidget *tabs) : QObject(tabs), tabs(tabs) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            fitToStyle(tabs);
            deleteLater();
        }
        return false;
    }

private:
    QTabWidget *tabs;
};

} // namespace

void keepTextReadable(QLineEdit *edit)
{
    const QImage image = drawnPanel(edit);
    const QColor field = image.pixelColor(image.width() * 3 / 4, image.height() / 2);
    const QColor themed = QApplication::palette(edit).color(QPalette::Text);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, contrastRatio(Qt::black, field) >= contrastRatio(themed, field)
                                         ? QColor(Qt::black)
                                         : themed);
    edit->setPalette(palette);
}

void fitToStyleWhenShown(QTabWidget *tabs)
{
    tabs->window()->installEventFilter(new WindowFit(tabs));
}
