#include "desktop/application.h"
#include "desktop/compositorprobe.h"
#include "desktop/leakcheck.h"
#include "desktop/windowframe.h"

#include <QAccessible>
#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QResource>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

// Chosen before the QApplication exists, applied once it does.
bool ownWindowFrames = false;

// The window icon: the icon theme's where it has one, else the one built in.
// Qt's X11 window takes every size its icon names and decodes each at start:
// every size the theme has, and for 64 and 128 pixels hicolor's 256-pixel
// PNG, scaled down (about 12 M instructions). So it names 16, 32 and 48, the
// sizes window lists and switchers show, as GTK does for a scalable icon;
// the theme is looked up, and a built-in size made from raw pixels that need
// no decoding, only when a size is first asked for.
class WindowIconEngine : public QIconEngine
{
public:
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        if (const QIcon &icon = themed(); !icon.isNull()) {
            // Drawn at this size in device pixels: QIcon::pixmap() would scale
            // it by the screen's ratio a second time.
            QPixmap pixmap(size);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            icon.paint(&painter, pixmap.rect(), Qt::AlignCenter, mode, state);
            return pixmap;
        }
        // The smallest source at least as large, up to 256: 128 pixels at 200 %.
        const int wanted = qMax(size.width(), size.height());
        size_t pick = std::size(sizes) - 1;
        while (pick > 0 && sizes[pick - 1] >= wanted)
            --pick;
        QPixmap &source = sources[pick];
        if (source.isNull())
            source = load(sizes[pick]);
        if (source.isNull() || source.size() == size)
            return source;
        return source.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        // In device pixels, for a sharp icon on a scaled screen.
        const qreal ratio = painter->device()->devicePixelRatioF();
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return named();
    }
    QString iconName() override
    {
        return themed().name();
    }
#else
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) const override
    {
        return named();
    }
    QString iconName() const override
    {
        return themed().name();
    }
#endif

    QIconEngine *clone() const override
    {
        return new WindowIconEngine(*this);
    }

private:
    static QList<QSize> named()
    {
        return {QSize(16, 16), QSize(32, 32), QSize(48, 48)};
    }

    const QIcon &themed() const
    {
        if (!lookedUp) {
            lookedUp = true;
            const QIcon icon = QIcon::fromTheme(QStringLiteral("org.corvane.Corvane"));
            if (!icon.isNull() && !icon.availableSizes().isEmpty())
                theme = icon;
        }
        return theme;
    }

    // One size from its raw RGBA pixels (not copied where they are stored
    // uncompressed), as 32-bit ARGB, the format the window system takes.
    static QPixmap load(int side)
    {
        const QByteArray raw =
            QResource(QStringLiteral(":/corvane/%1.rgba").arg(side)).uncompressedData();
        if (raw.size() != qint64(side) * side * 4)
            return QPixmap();
        const QImage image(reinterpret_cast<const uchar *>(raw.constData()), side, side,
                           QImage::Format_RGBA8888);
        return QPixmap::fromImage(image.convertToFormat(QImage::Format_ARGB32),
                                  Qt::NoFormatConversion);
    }

    static constexpr int sizes[] = {16, 32, 48, 64, 128, 256};
    mutable bool lookedUp = false;
    mutable QIcon theme;
    QPixmap sources[std::size(sizes)];
};

// The platform named on the command line (-platform NAME), if any.
QByteArray platformArgument(int argc, char **argv)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return argv[i + 1];
    }
    return QByteArray();
}

// Once the QApplication exists, before its event loop runs: lets Qt 5 on
// Wayland join an accessibility bus that was running before the program.
void joinAccessibilityBusOnWayland()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // WORKAROUND(qt5-wayland-atspi-bus): Qt 5.15's AT-SPI bridge, as Debian 13
    // builds it for Wayland, checks on the next pass of the event loop whether
    // accessibility is on, and registers then, before the accessibility bus's
    // address has arrived: on no bus, and never again. On Wayland that check
    // only repeats what the address's arrival does, so it is dropped: the
    // bridge's first queued call.
    class EarlyBridgeCheckFilter : public QObject
    {
    public:
        using QObject::QObject;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            return event->type() == QEvent::MetaCall &&
                   std::strcmp(watched->metaObject()->className(), "QSpiAccessibleBridge") == 0;
        }
    };
    auto *filter = new EarlyBridgeCheckFilter(qApp);
    qApp->installEventFilter(filter);
    // Makes the bridge now, if it is not made yet; its check is queued
    // before the call below, which ends the filter.
    QAccessible::isActive();
    QTimer::singleShot(0, filter, [filter] {
        qApp->removeEventFilter(filter);
        filter->deleteLater();
    });
#endif
}

} // namespace

void prepareApplication(int argc, char **argv)
{
    // The form places every widget at fixed pixels sized for 96 DPI: scale
    // them with the screen, by the exact factor (125 %, 150 % too), rather
    // than growing only the fonts. Qt 6 scales like this by default.
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    chooseIntegrations(argc, argv, [] { return compositorDrawsFrames(); });
}

void chooseIntegrations(int argc, char **argv, bool (*compositorDrawsFrames)())
{
    // A widgets-only window never draws with OpenGL, but on X11 Qt loads the
    // GL stack at start-up (the GPU driver, or Mesa and LLVM): tens of
    // milliseconds and tens of MiB. A setting in the environment wins.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");

    QByteArray platform = platformArgument(argc, argv);
    const bool platformChosen =
        !platform.isNull() || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (platform.isNull())
        platform = qgetenv("QT_QPA_PLATFORM");
    // WAYLAND_SOCKET: a connection handed down, which a probe would take
    // away from Qt.
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                         !qEnvironmentVariableIsSet("WAYLAND_SOCKET") &&
                         (platform.isEmpty() || platform.startsWith("wayland"));

    ownWindowFrames = false;
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    // WORKAROUND(wayland-gl-frames): on Wayland, Qt loads its EGL
    // client-buffer integration (Mesa, the DRI driver, gbm, LLVM: about
    // 50 MiB) when it creates a widget window as a GL-capable surface (Qt 5),
    // and to learn whether it may draw window frames, which it draws only
    // with that integration. So Qt draws none and widget windows are plain
    // raster surfaces: the compositor draws the frames where it offers to
    // (sway, KDE), the windows their own elsewhere (GNOME, Weston). A setting
    // of either in the environment wins, and then Qt draws as it is told.
    if (wayland && !qEnvironmentVariableIsSet("QT_WAYLAND_CLIENT_BUFFER_INTEGRATION") &&
        !qEnvironmentVariableIsSet("QT_WAYLAND_DISABLE_WINDOWDECORATION")) {
        qputenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1");
        QCoreApplication::setAttribute(Qt::AA_ForceRasterWidgets);
        ownWindowFrames = !compositorDrawsFrames();
    }
#else
    Q_UNUSED(wayland)
    Q_UNUSED(compositorDrawsFrames)
#endif

    // On a Wayland session run natively, and through X11 (Xwayland) where
    // Qt's Wayland plugin is missing.
    // WORKAROUND(qt6-wayland-session-type): Qt 5 would take X11 alone, and
    // Qt 6 looks for Wayland only where XDG_SESSION_TYPE says so, which a
    // compositor started from a console does not set.
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !platformChosen)
        qputenv("QT_QPA_PLATFORM", "wayland;xcb");
}

void setUpApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Corvane"));
    // Ties the window to org.corvane.Corvane.desktop on Wayland; on X11 the
    // application name above is the WM_CLASS class the entry names.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.corvane.Corvane"));
    Q_INIT_RESOURCE(corvane);
    QApplication::setWindowIcon(QIcon(new WindowIconEngine));
    // The form's font for the whole application, notices included: one font
    // face to load instead of two, and one look throughout. Built afresh: a
    // default QFont would keep the desktop font's weight, slant and stretch.
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans Condensed"), 10));

    if (QGuiApplication::platformName() != QLatin1String("wayland"))
        return;
    if (ownWindowFrames)
        frameWindowsWhenShown();
    joinAccessibilityBusOnWayland();
}

int leaveApplication(int exitCode)
{
    // WORKAROUND(wayland-exit-deadlock): Qt's Wayland client can deadlock
    // while tearing its connection down (its event thread, stopped while a
    // read is prepared for it, leaves without cancelling that read, and the
    // next wl_display_read_events() waits for it forever), leaving a process
    // without a window; the busier the machine, the likelier. Measured from
    // Qt 5.15 to 6.11, fixed in none. So the process ends as the QApplication
    // starts to go, which is after the window and every aboutToQuit handler:
    // with the code asked for, once what it printed is out and, in the
    // sanitizer build, the leak check has run.
    static int code;
    code = exitCode;
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        qAddPostRoutine([] {
            std::fflush(nullptr);
            checkForLeaksNow();
            std::_Exit(code);
        });
    }
    return exitCode;
}
