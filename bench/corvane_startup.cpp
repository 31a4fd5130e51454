// Corvane's start-up path as src/app/main.cpp runs it, for the benchmark, with
// a probe added: the start-up notice is accepted as soon as it is shown, and
// the program exits right after the main window's first paint.
#include "desktop/application.h"
#include "desktop/commandline.h"
#include "startup_probe.h"
#include "mainwindow/transceiver_master.h"

int main(int argc, char *argv[])
{
    if (answerInformationOptions(argc, argv))
        return 0;
    prepareApplication(argc, argv);
    QApplication app(argc, argv);
    StartupProbe probe;
    setUpApplication();
    transceiver_master window;
    window.show();
    return app.exec();
}
