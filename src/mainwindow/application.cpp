#include "application.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

// Corvane's own icon, built in as PNGs (no SVG support needed). A size is
// decoded only when the desktop asks for it: QIcon::addFile() would decode
// every size at start-up, also where no window icon is ever shown.
class BuiltInIconEngine : public QIconEngine
{
public:
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        Q_UNUSED(mode)
        Q_UNUSED(state)
        // Up to 256: 128 pixels at 200 %.
        static constexpr int sizes[] = {16, 32, 48, 64, 128, 256};
        const int wanted = qMax(size.width(), size.height());
        int pick = sizes[std::size(sizes) - 1];
        for (const int s : sizes) {
            if (s >= wanted) {
                pick = s;
                break;
            }
        }
        QPixmap pixmap(QStringLiteral(":/corvane/%1.png").arg(pick));
        if (pixmap.size() != size)
            pixmap = pixmap.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return pixmap;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        // In device pixels, for a sharp icon on a scaled screen.
        const qreal ratio = painter->device()->devicePixelRatioF();
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }

    QIconEngine *clone() const override { return new BuiltInIconEngine; }
};

// True when the command line chooses the platform (-platform NAME).
bool platformArgument(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    }
    return false;
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

    // A widgets-only window never draws with OpenGL, but on X11 Qt loads the
    // GL stack at start-up (the GPU driver, or Mesa and LLVM): tens of
    // milliseconds and tens of MiB. A setting in the environment wins.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");

    // On a Wayland session run natively, and through X11 (Xwayland) where
    // Qt's Wayland plugin is missing. Qt 5 would take X11 alone, and Qt 6
    // looks for Wayland only where XDG_SESSION_TYPE says so, which a
    // compositor started from a console does not set.
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !platformArgument(argc, argv))
        qputenv("QT_QPA_PLATFORM", "wayland;xcb");
}

void setUpApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Corvane"));
    // Ties the window to org.corvane.Corvane.desktop on Wayland; on X11 the
    // application name above is the WM_CLASS class the entry names.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.corvane.Corvane"));
    // The icon theme's where one is installed, else the one built in.
    Q_INIT_RESOURCE(corvane);
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("org.corvane.Corvane"), QIcon(new BuiltInIconEngine)));
    // The form's font for the whole application, notices included: one font
    // face to load instead of two, and one look throughout.
    QFont font;
    font.setFamily(QStringLiteral("DejaVu Sans Condensed"));
    font.setPointSize(10);
    QApplication::setFont(font);

#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // Qt 5.15's Wayland client can deadlock while tearing its connection
    // down (~QWaylandDisplay waits for an event thread that waits for a
    // reader), leaving a process without a window. Nothing is saved at exit:
    // the process ends with its event loop, which only closing the window
    // ends.
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] {
            std::fflush(nullptr);
            std::_Exit(0);
        });
    }
#endif
}
