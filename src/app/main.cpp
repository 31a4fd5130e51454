#include "desktop/application.h"
#include "desktop/commandline.h"
#include "mainwindow/transceiver_master.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (answerInformationOptions(argc, argv))
        return 0;
    prepareApplication(argc, argv);
    QApplication app(argc, argv);
    setUpApplication();
    transceiver_master window;
    window.show();
    return leaveApplication(app.exec());
}
