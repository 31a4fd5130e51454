// main() as src/app/main.cpp has it, with a window that ends the event loop
// with exit code 3 once it shows. Says on standard output when every
// aboutToQuit handler has run and when the window is gone; the exit code is
// the process's.
#include "desktop/application.h"
#include "mainwindow/transceiver_master.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    prepareApplication(argc, argv);
    QApplication app(argc, argv);
    setUpApplication();
    QTimer::singleShot(0, [] { // inside the start-up notice
        if (auto *notice = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            notice->accept();
    });
    transceiver_master window;
    QObject::connect(&window, &QObject::destroyed, [] { std::puts("window destroyed"); });
    window.show();
    QTimer::singleShot(0, [] { QCoreApplication::exit(3); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [] { std::puts("aboutToQuit"); });
    return leaveApplication(app.exec());
}
