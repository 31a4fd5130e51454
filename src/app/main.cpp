#include "application.h"
#include "commandline.h"
#include "transceiver_master.h"

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
    return app.exec();
}
