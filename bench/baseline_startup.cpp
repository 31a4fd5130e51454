// The benchmark's baseline: a bare Qt Widgets program that shows a message
// box with the texts of Corvane's start-up notice, then a bare main window,
// and exits right after the window's first paint.
#include "startup_probe.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    StartupProbe probe;
    {
        QMessageBox box;
        box.setText(QStringLiteral("Соединение"));
        box.setInformativeText(QStringLiteral("Нет связи. Включён демо-режим"));
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.exec();
    }
    QMainWindow window;
    window.show();
    return app.exec();
}
