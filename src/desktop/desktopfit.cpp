#include "desktop/desktopfit.h"
#include "desktop/windowframe.h"

#include <QApplication>
#include <QLCDNumber>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

#include <cmath>

namespace {

// Room for a window manager's title bar and borders, in logical pixels: the
// frame is known only once the window is on screen, too late to lay it out.
// A frame the window draws itself is known at once.
// WORKAROUND(wayland-work-area): Wayland tells a client nothing of the
// desktop's panels (the whole screen is said to be free): room for one too,
// such as GNOME's top bar, Weston's or a KDE panel.
QSize frameAllowance(const QScreen &screen)
{
    const QSize own = ownFrameSize();
    QSize allowance = own.isEmpty() ? QSize(16, 40) : own;
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")) &&
        screen.availableGeometry() == screen.geometry())
        allowance.rheight() += 48;
    return allowance;
}

// WCAG 2 relative luminance.
qreal luminance(const QColor &color)
{
    const auto linear = [](qreal c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) +
           0.0722 * linear(color.blueF());
}

// The colour a translucent colour shows over an opaque background.
QColor over(const QColor &color, const QColor &background)
{
    const qreal a = color.alphaF();
    return QColor::fromRgbF(color.redF() * a + background.redF() * (1 - a),
                            color.greenF() * a + background.greenF() * (1 - a),
                            color.blueF() * a + background.blueF() * (1 - a));
}

class ReadableDisplay : public QObject
{
public:
    explicit ReadableDisplay(QLCDNumber *display)
        : QObject(display), display(display), formPalette(display->palette())
    {
        // The theme reaches the display through its parent's palette.
        display->parentWidget()->installEventFilter(this);
        apply();
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::PaletteChange)
            apply();
        return false;
    }

private:
    void apply()
    {
        const QColor background = display->parentWidget()->palette().color(QPalette::Window);
        const QColor digits = over(formPalette.color(QPalette::WindowText), background);
        const bool faint = contrastRatio(digits, background) < 4.5;
        if (!faint && !display->autoFillBackground())
            return; // as the form left it
        QPalette palette = formPalette;
        if (faint)
            palette.setColor(QPalette::Window, QColor(239, 239, 239)); // a light theme's
        display->setPalette(palette);
        display->setAutoFillBackground(faint);
    }

    QLCDNumber *display;
    const QPalette formPalette; // the roles the form sets, and no others
};

} // namespace

qreal contrastRatio(const QColor &one, const QColor &other)
{
    const qreal a = luminance(one);
    const qreal b = luminance(other);
    return (qMax(a, b) + 0.05) / (qMin(a, b) + 0.05);
}

void fitToScreen(QMainWindow *window)
{
    // A headless platform's screen is nobody's: nothing to fit.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return;
    if (const QScreen *screen = window->screen())
        fitInto(window, screen->availableGeometry().size() - frameAllowance(*screen));
}

void fitInto(QMainWindow *window, const QSize &room)
{
    const QSize form = window->size();
    if (form.width() <= room.width() && form.height() <= room.height())
        return;

    // The form keeps its size and its widgets their places, in a scroll area.
    auto *area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    // Not a stop of its own for Tab: the focus follows the form's widgets.
    area->setFocusPolicy(Qt::NoFocus);
    QWidget *content = window->takeCentralWidget();
    content->setFixedSize(form);
    area->setWidget(content);
    window->setCentralWidget(area);
    QObject::connect(qApp, &QApplication::focusChanged, area, [area](QWidget *, QWidget *now) {
        // The whole field: ensureWidgetVisible() settles for a line edit's
        // cursor, leaving the field's edge under the window's in a taller
        // style such as Breeze.
        if (now && area->widget()->isAncestorOf(now)) {
            const QRect field(now->mapTo(area->widget(), QPoint()), now->size());
            area->ensureVisible(field.center().x(), field.center().y(), field.width() / 2 + 4,
                                field.height() / 2 + 4);
        }
    });

    // As large as the room allows, up to the whole form with its scroll bars.
    const int bar = area->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, area);
    QSize size = form.boundedTo(room);
    if (size.height() < form.height())
        size.setWidth(qMin(form.width() + bar, room.width()));
    if (size.width() < form.width())
        size.setHeight(qMin(form.height() + bar, room.height()));
    window->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    window->setMinimumSize(area->minimumSizeHint());
    window->setMaximumSize(form + QSize(bar, bar));
    window->resize(size);
}

void keepReadable(QLCDNumber *display)
{
    new ReadableDisplay(display);
}
