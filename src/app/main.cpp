#include "transceiver_master.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Corvane"));
    transceiver_master window;
    window.show();
    return app.exec();
}
