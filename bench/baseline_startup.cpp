// The benchmark's baseline: a bare Qt Widgets program that shows a message
// box with the texts of Corvane's start-up notice, then a bare main window,
// and exits right after the window's first paint.
// Usage: baseline_startup [--size WIDTHxHEIGHT]   (the window's size)
#include "startup_probe.h"

#include <cstring>

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
    int width = 0;
    int height = 0;
    if (argc > 2 && std::strcmp(argv[1], "--size") == 0 &&
        std::sscanf(argv[2], "%dx%d", &width, &height) == 2)
        window.resize(width, height);
    window.show();
    return app.exec();
}
