#include "application.h"

#include <QApplication>
#include <QFont>

void prepareApplication()
{
    // A widgets-only window never draws with OpenGL, but on X11 Qt loads the
    // GL stack at start-up (the GPU driver, or Mesa and LLVM): tens of
    // milliseconds and tens of MiB. A setting in the environment wins.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
}

void setUpApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Corvane"));
    // The form's font for the whole application, notices included: one font
    // face to load instead of two, and one look throughout.
    QFont font;
    font.setFamily(QStringLiteral("DejaVu Sans Condensed"));
    font.setPointSize(10);
    QApplication::setFont(font);
}
