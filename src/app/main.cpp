#include "application.h"
#include "transceiver_master.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    prepareApplication(argc, argv);
    QApplication app(argc, argv);
    setUpApplication();
    transceiver_master window;
    window.show();
    return app.exec();
}
