#include "application.h"

#include <QApplication>
#include <QFont>

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
