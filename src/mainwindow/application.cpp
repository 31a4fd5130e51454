#include "application.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QResource>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <iterator>

namespace {

// True when the Wayland compositor draws window frames itself: it offers the
// xdg-decoration protocol, through which Qt asks for them. Asked on a short
// connection of our own before Qt opens its one. libwayland-client, whose
// stable C interface is declared here, is the library Qt's Wayland plugin
// loads anyway; it is taken at run time, so that the program does not link it.
bool compositorDecoratesWindows()
{
    // Not asked where another platform is chosen; and wl_display_connect()
    // would take a socket handed down in WAYLAND_SOCKET away from Qt.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
        qEnvironmentVariableIsSet("WAYLAND_SOCKET") ||
        (!platform.isEmpty() && !platform.startsWith("wayland")))
        return false;
    void *wayland = dlopen("libwayland-client.so.0", RTLD_LAZY);
    if (!wayland)
        return false;
    struct RegistryListener {
        void (*global)(void *data, void *registry, uint32_t name, const char *interface,
                       uint32_t version);
        void (*globalRemove)(void *data, void *registry, uint32_t name);
    };
    static const RegistryListener listener = {
        [](void *data, void *, uint32_t, const char *interface, uint32_t) {
            if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0)
                *static_cast<bool *>(data) = true;
        },
        [](void *, void *, uint32_t) {}};
    const auto connect =
        reinterpret_cast<void *(*)(const char *)>(dlsym(wayland, "wl_display_connect"));
    const auto marshalConstructor =
        reinterpret_cast<void *(*)(void *, uint32_t, const void *, ...)>(
            dlsym(wayland, "wl_proxy_marshal_constructor"));
    const auto addListener = reinterpret_cast<int (*)(void *, const void *, void *)>(
        dlsym(wayland, "wl_proxy_add_listener"));
    const auto roundtrip =
        reinterpret_cast<int (*)(void *)>(dlsym(wayland, "wl_display_roundtrip"));
    const auto destroy = reinterpret_cast<void (*)(void *)>(dlsym(wayland, "wl_proxy_destroy"));
    const auto disconnect =
        reinterpret_cast<void (*)(void *)>(dlsym(wayland, "wl_display_disconnect"));
    const void *registryInterface = dlsym(wayland, "wl_registry_interface");
    bool found = false;
    if (connect && marshalConstructor && addListener && roundtrip && destroy && disconnect &&
        registryInterface) {
        if (void *display = connect(nullptr)) {
            // wl_display.get_registry, request 1.
            if (void *registry = marshalConstructor(display, 1, registryInterface, nullptr)) {
                addListener(registry, &listener, &found);
                roundtrip(display);
                destroy(registry);
            }
            disconnect(display);
        }
    }
    // Not unloaded: Qt's Wayland plugin takes the same library.
    return found;
}

// Corvane's own icon, built in for desktops without an icon theme. A size is
// made only when the desktop first asks for it, from raw pixels that need no
// decoding: QIcon::addFile() would decode every PNG at start-up.
class BuiltInIconEngine : public QIconEngine
{
public:
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        Q_UNUSED(mode)
        Q_UNUSED(state)
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

    QIconEngine *clone() const override { return new BuiltInIconEngine(*this); }

private:
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
    QPixmap sources[std::size(sizes)];
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
    // On Wayland, Qt loads its EGL client-buffer integration (Mesa, the DRI
    // driver, gbm, LLVM: about 50 MiB) when it creates a widget window as a
    // GL-capable surface (Qt 5), and, in Qt 5.15 and 6.4, to learn whether it
    // may draw window frames, which it draws only with that integration.
    // Where the compositor draws the frames itself, Qt is told to draw none
    // and widget windows are plain raster surfaces: nothing loads the
    // integration, and nothing is printed. Elsewhere (GNOME, Weston) Qt 5.15
    // and 6.4 still load it, for the title bar. A setting of either in the
    // environment wins.
    if (!qEnvironmentVariableIsSet("QT_WAYLAND_CLIENT_BUFFER_INTEGRATION") &&
        !qEnvironmentVariableIsSet("QT_WAYLAND_DISABLE_WINDOWDECORATION") &&
        compositorDecoratesWindows()) {
        qputenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1");
        QCoreApplication::setAttribute(Qt::AA_ForceRasterWidgets);
    }

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
    // face to load instead of two, and one look throughout. Built afresh: a
    // default QFont would keep the desktop font's weight, slant and stretch.
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans Condensed"), 10));

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
