#include "desktop/windowframe.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QWidget>
#include <QWindow>

namespace {

bool framesOn = false;

// In logical pixels.
const int border = 1;
const int barPadding = 7;   // above and below the title
const int buttonMargin = 2; // around the close button, inside the bar
const int crossInset = 3;   // from the button's edge to its hover disc
const qreal crossWidth = 1.5;
// How far the active window's bar is from the window's background, toward
// its text: visible in light and dark palettes alike.
const qreal activeShade = 0.12;

int barHeight()
{
    return QFontMetrics(QApplication::font()).height() + 2 * barPadding;
}

QColor mix(const QColor &from, const QColor &to, qreal share)
{
    return QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * share,
                            from.greenF() + (to.greenF() - from.greenF()) * share,
                            from.blueF() + (to.blueF() - from.blueF()) * share);
}

// As a desktop's frame names a window: by its title, else by the program.
QString shownTitle(const QWidget *window)
{
    const QString title = window->windowTitle();
    return title.isEmpty() ? QGuiApplication::applicationDisplayName() : title;
}

// The cross of the close button, drawn as lines: sharp at any scale.
class CloseButton : public QAbstractButton
{
public:
    explicit CloseButton(QWidget *parent) : QAbstractButton(parent)
    {
        setFocusPolicy(Qt::NoFocus); // the window's keys close it; Tab stays in the form
        setAttribute(Qt::WA_Hover);
        setAccessibleName(QCoreApplication::translate("transceiver_master", "Закрыть"));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF round =
            QRectF(rect()).adjusted(crossInset, crossInset, -crossInset, -crossInset);
        if (underMouse() || isDown()) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(palette().color(QPalette::Mid));
            painter.drawEllipse(round);
        }
        painter.setPen(QPen(palette().color(QPalette::WindowText), crossWidth));
        const QRectF cross = round.adjusted(round.width() / 3, round.height() / 3,
                                            -round.width() / 3, -round.height() / 3);
        painter.drawLine(cross.topLeft(), cross.bottomRight());
        painter.drawLine(cross.topRight(), cross.bottomLeft());
    }
};

class TitleBar : public QWidget
{
public:
    explicit TitleBar(QWidget *window) : QWidget(window), framed(window), closeButton(this)
    {
        setObjectName(QStringLiteral("windowTitleBar"));
        setAccessibleName(shownTitle(window));
        connect(&closeButton, &QAbstractButton::clicked, window, &QWidget::close);
        // WORKAROUND(weston-no-close-key): Weston binds no key to close a window.
        auto *shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), window);
        connect(shortcut, &QShortcut::activated, window, &QWidget::close);

        const QMargins frame(border, barHeight(), border, border);
        window->setContentsMargins(window->contentsMargins() + frame);
        const QSize extra(frame.left() + frame.right(), frame.top() + frame.bottom());
        if (window->maximumSize() != QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX))
            window->setMaximumSize(window->maximumSize() + extra);
        if (!window->minimumSize().isNull())
            window->setMinimumSize(window->minimumSize() + extra);
        window->resize(window->size() + extra);
        window->installEventFilter(this);
        place();
        show(); // made while the window is being shown, after its children
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Resize:
            place();
            break;
        case QEvent::WindowTitleChange:
            setAccessibleName(shownTitle(framed));
            update();
            break;
        case QEvent::ActivationChange:
            update();
            break;
        case QEvent::Paint: {
            // The border, in the window's margins, under its children.
            QPainter painter(framed);
            painter.setPen(palette().color(QPalette::Dark));
            painter.drawRect(framed->rect().adjusted(0, 0, -1, -1));
            break;
        }
        default:
            break;
        }
        return false;
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && framed->windowHandle())
            framed->windowHandle()->startSystemMove();
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const bool active = framed->isActiveWindow();
        const QColor background = palette().color(QPalette::Window);
        const QColor text = palette().color(QPalette::WindowText);
        // Active: shaded, its title in the text colour; inactive: flat, its
        // title faded halfway to the background.
        painter.fillRect(rect(), active ? mix(background, text, activeShade) : background);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(0, height() - 1, width() - 1, height() - 1);
        painter.drawLine(0, 0, 0, height() - 1);
        painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
        painter.drawLine(0, 0, width() - 1, 0);
        QFont bold = font();
        bold.setBold(true);
        painter.setFont(bold);
        painter.setPen(active ? text : mix(text, background, 0.5));
        const int side = closeButton.width() + 2 * buttonMargin;
        painter.drawText(rect().adjusted(side, 0, -side, 0), Qt::AlignCenter,
                         painter.fontMetrics().elidedText(shownTitle(framed), Qt::ElideRight,
                                                          width() - 2 * side));
    }

private:
    void place()
    {
        setGeometry(0, 0, framed->width(), barHeight());
        const int side = barHeight() - 2 * buttonMargin;
        closeButton.setGeometry(width() - side - 2 * buttonMargin, buttonMargin, side, side);
        raise();
    }

    QWidget *framed;
    CloseButton closeButton;
};

// Frames every top-level window and dialog as it is first shown: the main
// window and the notices, not menus, pop-ups, tool tips or frameless windows.
class Framer : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() != QEvent::Show || !object->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(object);
        const Qt::WindowType type = widget->windowType();
        if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog) &&
            !widget->windowFlags().testFlag(Qt::FramelessWindowHint) &&
            !widget->findChild<QWidget *>(QStringLiteral("windowTitleBar"),
                                          Qt::FindDirectChildrenOnly))
            new TitleBar(widget);
        return false;
    }
};

} // namespace

void frameWindowsWhenShown()
{
    framesOn = true;
    qApp->installEventFilter(new Framer(qApp));
}

QSize ownFrameSize()
{
    return framesOn ? QSize(2 * border, barHeight() + border) : QSize();
}
