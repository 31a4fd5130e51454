// Corvane's start-up path exactly as in src/app/main.cpp, for the benchmark:
// the start-up notice is accepted as soon as it is shown, and the program
// exits right after the main window's first paint.
#include "application.h"
#include "startup_probe.h"
#include "transceiver_master.h"

int main(int argc, char *argv[])
{
    prepareApplication();
    QApplication app(argc, argv);
    StartupProbe probe;
    setUpApplication();
    transceiver_master window;
    window.show();
    return app.exec();
}
