#include "application.h"

#include <QApplication>
#include <QFont>
#include <QIcon>

void prepareApplication()
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
}

void setUpApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Corvane"));
    // Ties the window to org.corvane.Corvane.desktop on Wayland; on X11 the
    // application name above is the WM_CLASS class the entry names.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.corvane.Corvane"));
    // The icon theme's where one is installed, else the one built in: Qt
    // always looks in :/icons last, and there the icon is a small hicolor
    // theme in PNG, which needs no SVG support and is decoded only at the
    // sizes the desktop asks for.
    Q_INIT_RESOURCE(corvane);
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.corvane.Corvane")));
    // The form's font for the whole application, notices included: one font
    // face to load instead of two, and one look throughout.
    QFont font;
    font.setFamily(QStringLiteral("DejaVu Sans Condensed"));
    font.setPointSize(10);
    QApplication::setFont(font);
}
