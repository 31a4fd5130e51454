// Renders each tab of the real window to a PNG, for the README, at the
// platform's density (scripts/screenshots.sh runs it at 96 DPI), under the
// platform's palette or, as a desktop theme would set it, a dark or a black
// high-contrast one.
// Usage: corvane_screenshots OUTPUT_DIR [dark|contrast]
#include "desktop/application.h"
#include "mainwindow/transceiver_master.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPalette>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>

int main(int argc, char *argv[])
{
    prepareApplication();
    QApplication app(argc, argv);
    setUpApplication();
    // A style asked for but not installed would be drawn as Fusion.
    const QString style = qEnvironmentVariable("QT_STYLE_OVERRIDE");
    if (!style.isEmpty() && style.compare(app.style()->objectName(), Qt::CaseInsensitive) != 0)
        return 2;
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    const QByteArray palette = argc > 2 ? QByteArray(argv[2]) : QByteArray();
    if (palette == "dark")
        QApplication::setPalette(QPalette(QColor(0x53, 0x53, 0x55), QColor(0x35, 0x35, 0x35)));
    else if (palette == "contrast")
        QApplication::setPalette(QPalette(Qt::black, Qt::black));

    // Close the start-up notice as soon as it shows.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->accept();
    });
    closer.start(10);

    transceiver_master window;
    closer.stop();
    window.show();
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    const char *names[] = {"antenna", "network", "tetra", "transceiver"};
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QCoreApplication::processEvents();
        const QString file = out.filePath(QStringLiteral("tab-%1-%2.png").arg(i).arg(names[i]));
        if (!window.grab().save(file))
            return 1;
        qInfo("%s", qPrintable(file));
    }
    return 0;
}
