// Start-up: the demonstration notice, the window's shape, its slot table,
// validators and mode buttons.
#include "testmain.h"
#include "desktop/application.h"
#include "desktop/compositorprobe.h"
#include "desktop/desktopfit.h"
#include "desktop/windowframe.h"
#include "testsupport.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLocalServer>
#include <QTemporaryDir>
#include <QLCDNumber>
#include <QMetaMethod>
#include <QPainter>
#include <QRadioButton>
#include <QToolTip>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <atomic>
#include <linux/input-event-codes.h>
#include <optional>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <wayland-client.h>

namespace {
// The pointer a test drives on sway: wlroots' virtual pointer, whose
// protocol no Debian package ships a header for. Its first requests, in the
// protocol's order.
const wl_interface *noTypes[5] = {};
const wl_message pointerRequests[] = {{"motion", "uff", noTypes},
                                      {"motion_absolute", "uuuuu", noTypes},
                                      {"button", "uuu", noTypes},
                                      {"axis", "uuf", noTypes},
                                      {"frame", "", noTypes}};
const wl_interface pointerInterface = {"zwlr_virtual_pointer_v1", 1, 5, pointerRequests, 0, {}};
const wl_interface *createTypes[] = {&wl_seat_interface, &pointerInterface};
const wl_message managerRequests[] = {{"create_virtual_pointer", "?on", createTypes}};
const wl_interface managerInterface = {
    "zwlr_virtual_pointer_manager_v1", 1, 1, managerRequests, 0, {}};
enum { Motion, MotionAbsolute, Button, Axis, Frame };

class PressCount : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::MouseButtonPress;
        return false;
    }
    int count = 0;
};

// A compositor that answers a client's first roundtrip at once, on the wire:
// the globals it is given, then the sync callback's done.
class InstantCompositor
{
public:
    InstantCompositor(const QString &path, const QByteArrayList &globals)
        : listener(socket(AF_UNIX, SOCK_STREAM, 0))
    {
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, qPrintable(path), sizeof address.sun_path);
        if (bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
            listen(listener, 1) != 0)
            return;
        thread = std::thread([this, globals] { serve(globals); });
    }
    ~InstantCompositor()
    {
        shutdown(listener, SHUT_RDWR); // ends a wait for a client or its requests
        if (client >= 0)
            shutdown(client, SHUT_RDWR);
        if (thread.joinable())
            thread.join();
        close(listener);
    }

private:
    void serve(const QByteArrayList &globals)
    {
        client = accept(listener, nullptr, nullptr);
        // wl_display.get_registry and wl_display.sync, each with its new id.
        quint32 registry = 0, callback = 0, message[3];
        while ((!registry || !callback) && read(client, message, sizeof message) == sizeof message)
            ((message[1] & 0xffff) == WL_DISPLAY_GET_REGISTRY ? registry : callback) = message[2];
        QByteArray events;
        const auto word = [&](quint32 w) { events.append(reinterpret_cast<char *>(&w), 4); };
        quint32 name = 0;
        for (const QByteArray &interface : globals) { // wl_registry.global
            const int padded = (interface.size() + 4) & ~3;
            word(registry);
            word(quint32(8 + 4 + 4 + padded + 4) << 16);
            word(++name);
            word(interface.size() + 1);
            events.append(interface.leftJustified(padded, '\0'));
            word(1);
        }
        word(callback); // wl_callback.done
        word(12u << 16);
        word(1);
        if (write(client, events.constData(), events.size()) == events.size())
            while (read(client, message, sizeof message) > 0)
                continue; // until the client goes
        close(client);
    }

    int listener;
    std::atomic<int> client{-1};
    std::thread thread;
};
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void noticeBeforeWindow_data();
    void noticeBeforeWindow();
    void windowAfterStartup();
    void firstTickRunsUnderOpenNotice();
    void slotTable();
    void validatorRanges_data();
    void validatorRanges();
    void modeGroupIds();
    void editsRecolourOnlyWhenTyped();
    void closingWindowEndsEventLoop();
    void applicationNameIsWindowTitle();
    void environmentUnlessAsked_data();
    void environmentUnlessAsked();
    void compositorProbe_data();
    void compositorProbe();
    void comboPopupBuiltWhenOpened_data();
    void comboPopupBuiltWhenOpened();
    void builtInIconSharp();
    void themeIconAsX11TakesIt();
    void fitsOutput();
    void ownFrames_data();
    void ownFrames(); // the frames stay on
    void ownBarMovesWindow();
};

void TestStartup::noticeBeforeWindow_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("Ok") << int(NoticeCloser::ByOk);
    QTest::newRow("Escape") << int(NoticeCloser::ByEscape);
    QTest::newRow("close button") << int(NoticeCloser::ByCloseButton);
}

void TestStartup::noticeBeforeWindow()
{
    QFETCH(int, how);
    // The heading stands out: more ink than its text in the notice's font.
    const auto ink = [](QWidget *w) {
        const QImage image = w->grab().toImage();
        qint64 sum = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                sum += qAbs(qGray(image.pixel(x, y)) - qGray(image.pixel(0, 0)));
        return double(sum);
    };
    double emphasis = 0;
    Corvane app{NoticeCloser::How(how), [&](const Notice &n) {
                    for (QLabel *label : QApplication::activeModalWidget()->findChildren<QLabel *>(
                             QString(), Qt::FindDirectChildrenOnly)) {
                        QLabel plain(n.text);
                        plain.setFont(label->parentWidget()->font());
                        plain.resize(label->size());
                        if (label->text() == n.text)
                            emphasis = ink(label) / ink(&plain);
                    }
                }};
    QVERIFY2(emphasis > 1.25, qPrintable(QString::number(emphasis)));
    QCOMPARE(app.closer.count(), 1);
    const Notice n = app.closer.last();
    QCOMPARE(n.text, QStringLiteral("Соединение"));
    QCOMPARE(n.informativeText, QStringLiteral("Нет связи. Включён демо-режим"));
    QCOMPARE(n.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(n.icon, QMessageBox::NoIcon);
    QVERIFY(n.textFits);
    QVERIFY(!n.mainWindowVisible);
    // Start-up went on the same way whichever way the notice was closed.
    QVERIFY(app.window->isVisible());
    QCOMPARE(app.ui->lineEdit_chNo->text(), QStringLiteral("0"));
}

void TestStartup::windowAfterStartup()
{
    Corvane app;
    transceiver_master &w = *app.window;
    QCOMPARE(w.size(), QSize(547, 597));
    QCOMPARE(w.maximumSize(), QSize(548, 598));
    QCOMPARE(w.minimumSize(), QSize(547, 597));
    QCOMPARE(w.sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(w.sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(w.windowTitle(), QStringLiteral("Corvane"));
    QVERIFY(!w.parentWidget());
    QCOMPARE(app.ui->tabWidget->currentIndex(), 1);

    QCOMPARE(app.ui->TXnumber->currentText(), QStringLiteral("1"));
    QCOMPARE(app.ui->lineEdit_chNo->text(), QStringLiteral("0"));
    QCOMPARE(app.ui->lineEdit_cellIDX->text(), QStringLiteral("0"));
    QVERIFY(app.ui->radioButton_notUsed->isChecked());
    QCOMPARE(app.ui->lcd_TXfreq->value(), 400.0);
    QCOMPARE(app.ui->lcd_RXfreq->value(), 390.0);
    QCOMPARE(app.ui->lcd_TXfreq->digitCount(), 10);
    QCOMPARE(app.ui->lcd_RXfreq->digitCount(), 10);

    // The other tabs keep what the form started with until a read.
    QCOMPARE(app.ui->Host_IPaddress->text(), QStringLiteral("0.0.0.0"));
    QCOMPARE(app.ui->Tetra_slowResel_hyst->currentIndex(), 2);
    QVERIFY(!app.ui->Tetra_allowAnnounceType->isChecked());
}

void TestStartup::firstTickRunsUnderOpenNotice()
{
    NoticeCloser closer(NoticeCloser::ByOk, 800);
    transceiver_master w;
    // The timer started by filling the transceiver fields fired while the
    // notice was open, on the network tab: it took the two address texts.
    QCOMPARE(closer.count(), 1);
    QVERIFY(!closer.last().mainWindowVisible);
    QCOMPARE(TestAccess::storage(w).workIPaddress, QHostAddress("0.0.0.0"));
    QCOMPARE(TestAccess::storage(w).workIPaddress2, QHostAddress("0.0.0.0"));
    QVERIFY(!w.isVisible());
}

void TestStartup::slotTable()
{
    const QMetaObject *mo = &transceiver_master::staticMetaObject;
    QCOMPARE(mo->className(), "transceiver_master");
    QCOMPARE(mo->superClass(), &QMainWindow::staticMetaObject);
    QCOMPARE(mo->propertyCount(), mo->propertyOffset());
    QCOMPARE(mo->classInfoCount(), 0);
    const QStringList expected = {
        "on_lineEdit_chNo_textChanged(QString)",
        "on_inputTimerTick()",
        "on_TXnumber_currentIndexChanged(int)",
        "on_lineEdit_cellIDX_textChanged(QString)",
        "on_push_trx_write_clicked()",
        "TRX_mode_clicked(int)",
        "on_push_trx_read_clicked()",
        "on_LineTextChanged(QString)",
        "on_push_trx_write_2_clicked()",
        "on_push_tet_read_clicked()",
        "on_Host_IPaddress_textEdited(QString)",
        "on_HostIPaddress2_textEdited(QString)",
        "on_push_Host_write_clicked()",
        "on_push_Host_Read_clicked()",
        "on_push_AntennaSet_clicked()",
        "on_push_AntennaGet_clicked()",
        "on_push_setAll_clicked()",
        "on_push_readAll_clicked()",
        "on_tabWidget_currentChanged(int)",
    };
    QStringList actual;
    for (int i = mo->methodOffset(); i < mo->methodCount(); ++i) {
        const QMetaMethod m = mo->method(i);
        QCOMPARE(m.methodType(), QMetaMethod::Slot);
        QCOMPARE(m.access(), QMetaMethod::Private);
        actual << QString::fromLatin1(m.methodSignature());
    }
    QCOMPARE(actual, expected);

    const QMetaObject *store = &DataStorage::staticMetaObject;
    QCOMPARE(store->className(), "DataStorage");
    QCOMPARE(store->methodCount(), store->methodOffset());
    QCOMPARE(store->superClass(), &QObject::staticMetaObject);
}

void TestStartup::validatorRanges_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("top");
    QTest::newRow("Tetra_CC") << "Tetra_CC" << 15;
    QTest::newRow("Tetra_LA") << "Tetra_LA" << 65535;
    QTest::newRow("Tetra_staticPDCH_No") << "Tetra_staticPDCH_No" << 32;
    QTest::newRow("Tetra_dynPDCH_No") << "Tetra_dynPDCH_No" << 32;
    QTest::newRow("Tetra_PDCH_maxTS") << "Tetra_PDCH_maxTS" << 32;
    QTest::newRow("Tetra_PDCH_maxMSperPDCH") << "Tetra_PDCH_maxMSperPDCH" << 65535;
    QTest::newRow("Tetra_SCCH_No") << "Tetra_SCCH_No" << 32;
    QTest::newRow("Tetra_MCC") << "Tetra_MCC" << 255;
    QTest::newRow("Tetra_MNC") << "Tetra_MNC" << 1023;
    QTest::newRow("Host_nodeID") << "Host_nodeID" << 1023;
    QTest::newRow("Host_clusterID") << "Host_clusterID" << 1023;
}

void TestStartup::validatorRanges()
{
    QFETCH(QString, edit);
    QFETCH(int, top);
    Corvane app;
    auto *line = app.window->findChild<QLineEdit *>(edit);
    auto *v = qobject_cast<const QIntValidator *>(line->validator());
    QVERIFY(v);
    QCOMPARE(v->bottom(), 0);
    QCOMPARE(v->top(), top);
    QVERIFY(!v->parent());
}

void TestStartup::modeGroupIds()
{
    Corvane app;
    QButtonGroup &g = TestAccess::modeGroup(*app.window);
    QVERIFY(g.exclusive());
    QCOMPARE(g.buttons().size(), 3);
    QCOMPARE(g.id(app.ui->radioButton_notUsed), 0);
    QCOMPARE(g.id(app.ui->radioButton_backup), 1);
    QCOMPARE(g.id(app.ui->radioButton_inUse), 2);
}

void TestStartup::editsRecolourOnlyWhenTyped()
{
    Corvane app;
    app.goToTab(2);
    QLineEdit *cc = app.ui->Tetra_CC;
    cc->setText("99");
    QVERIFY(cc->styleSheet().isEmpty());
    Corvane::typeInto(cc, "1");
    QVERIFY(app.isWhite(cc));
    QTest::keyClick(cc, Qt::Key_9);
    QVERIFY(app.isYellow(cc));
}

void TestStartup::closingWindowEndsEventLoop()
{
    Corvane app;
    QTimer::singleShot(50, app.window.get(), &QWidget::close);
    QCOMPARE(QApplication::exec(), 0);
}

void TestStartup::applicationNameIsWindowTitle()
{
    setUpApplication();
    Corvane app;
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Corvane"));
    QCOMPARE(app.window->windowTitle(), QCoreApplication::applicationName());
    // The notices share the window's font.
    QCOMPARE(QApplication::font().family(), app.window->font().family());
    QCOMPARE(QApplication::font().pointSize(), app.window->font().pointSize());
}

void TestStartup::environmentUnlessAsked_data()
{
    QTest::addColumn<QByteArray>("given"); // NAME=value ..., set before; then arguments
    QTest::addColumn<QByteArray>("name");  // of the variable checked
    QTest::addColumn<QByteArray>("used");  // null: left unset
    QTest::addColumn<bool>("asked");       // the compositor, about its frames
    const QByteArray gl = "QT_XCB_GL_INTEGRATION", frames = "QT_WAYLAND_DISABLE_WINDOWDECORATION";
    const QByteArray platform = "QT_QPA_PLATFORM";
    QTest::newRow("GL not set") << QByteArray() << gl << QByteArray("none") << true;
    QTest::newRow("GLX asked for") << gl + "=xcb_glx" << gl << QByteArray("xcb_glx") << true;
    QTest::newRow("GL set empty") << gl + "=" << gl << QByteArray("") << true;
    QTest::newRow("platform not set")
        << QByteArray() << platform << QByteArray("wayland;xcb") << true;
    QTest::newRow("X11 asked for") << platform + "=xcb" << platform << QByteArray("xcb") << false;
    QTest::newRow("X11 on the command line")
        << QByteArray("-platform xcb") << platform << QByteArray() << false;
    QTest::newRow("Wayland on the command line")
        << QByteArray("-platform wayland") << platform << QByteArray() << true;
    // Qt 6.8 draws frames without GL: then nothing is turned off, nor asked.
    const bool ownFrames = QT_VERSION < QT_VERSION_CHECK(6, 8, 0);
    QTest::newRow("no frames from Qt")
        << QByteArray() << frames << (ownFrames ? QByteArray("1") : QByteArray()) << true;
    QTest::newRow("frames asked of Qt") << frames + "=0" << frames << QByteArray("0") << false;
    QTest::newRow("buffer integration chosen")
        << QByteArray("QT_WAYLAND_CLIENT_BUFFER_INTEGRATION=wayland-egl") << frames << QByteArray()
        << false;
    QTest::newRow("connection handed down")
        << QByteArray("WAYLAND_SOCKET=3") << frames << QByteArray() << false;
}

// No OpenGL on X11, and on a Wayland session that also has an X server
// Wayland first, with no window frames from Qt, unless the environment or the
// command line asks otherwise; the compositor asked only where Wayland is to
// be used as Corvane chooses.
void TestStartup::environmentUnlessAsked()
{
    QFETCH(QByteArray, given);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, used);
    QFETCH(bool, asked);
    const QByteArray frames = "QT_WAYLAND_DISABLE_WINDOWDECORATION";
    const auto value = [](const QByteArray &n) {
        return qEnvironmentVariableIsSet(n.constData()) ? qgetenv(n.constData()) : QByteArray();
    };
    const QByteArrayList names = {"WAYLAND_DISPLAY",
                                  "WAYLAND_SOCKET",
                                  "DISPLAY",
                                  "QT_QPA_PLATFORM",
                                  "QT_XCB_GL_INTEGRATION",
                                  frames,
                                  "QT_WAYLAND_CLIENT_BUFFER_INTEGRATION"};
    QByteArrayList was;
    for (const QByteArray &n : names) {
        was << value(n);
        qunsetenv(n.constData());
    }
    qputenv("WAYLAND_DISPLAY", "wayland-0");
    qputenv("DISPLAY", ":0");
    QByteArrayList arguments = {"corvane"};
    for (const QByteArray &word : given.split(' ')) {
        const int equals = word.indexOf('=');
        if (equals > 0)
            qputenv(word.left(equals).constData(), word.mid(equals + 1));
        else if (!word.isEmpty())
            arguments << word;
    }
    QVector<char *> argv;
    for (QByteArray &argument : arguments)
        argv << argument.data();
    static int asks;
    asks = 0;
    chooseIntegrations(argv.size(), argv.data(), [] { return ++asks > 0; });
    const QByteArray now = value(name);
    for (int i = 0; i < names.size(); ++i)
        was[i].isNull() ? qunsetenv(names[i].constData()) : qputenv(names[i].constData(), was[i]);
    QCOMPARE(now.isNull(), used.isNull());
    QCOMPARE(now, used);
    QCOMPARE(asks, asked && QT_VERSION < QT_VERSION_CHECK(6, 8, 0) ? 1 : 0);
}

void TestStartup::compositorProbe_data()
{
    QTest::addColumn<QByteArray>("display"); // "silent...": a socket that never answers
    QTest::addColumn<bool>("connects");
    QTest::addColumn<bool>("drawsFrames");
    QTest::addColumn<int>("timeoutMs");
    QTest::newRow("no compositor") << QByteArray("/nonexistent/wayland-0") << false << false << 300;
    QTest::newRow("no runtime folder") << QByteArray("wayland-0") << false << false << 300;
    QTest::newRow("never answers") << QByteArray("silent") << true << false << 300;
    QTest::newRow("never answers, by name") << QByteArray("silent by name") << true << false << 300;
    // An answer ends the wait: a probe that waited on would meet the watchdog
    // long before its own timeout.
    const int never = 3600 * 1000;
    QTest::newRow("answers, no frames") << QByteArray("instant") << true << false << never;
    QTest::newRow("answers, frames") << QByteArray("instant frames") << true << true << never;
    // Set by the Wayland tests, which start the compositor.
    const QByteArray session = qgetenv("CORVANE_COMPOSITOR_DRAWS_FRAMES");
    if (!session.isEmpty())
        QTest::newRow("the test's compositor")
            << qgetenv("WAYLAND_DISPLAY") << true << (session == "yes") << 300;
}

// The probe answers in time, whatever the compositor does, and prints nothing.
void TestStartup::compositorProbe()
{
    QFETCH(QByteArray, display);
    QFETCH(bool, connects);
    QFETCH(bool, drawsFrames);
    QFETCH(int, timeoutMs);
    QTemporaryDir dir;
    QLocalServer silent; // accepts connections, and never reads them
    if (display.startsWith("silent") && silent.listen(dir.filePath("wayland-silent")))
        display = display == "silent" ? silent.fullServerName().toLocal8Bit() : "wayland-silent";
    QByteArrayList globals = {"wl_compositor", "wl_shm", "xdg_wm_base"};
    if (display.endsWith("frames"))
        globals << "zxdg_decoration_manager_v1";
    std::optional<InstantCompositor> instant;
    if (display.startsWith("instant")) {
        instant.emplace(dir.filePath("wayland-instant"), globals);
        display = dir.filePath("wayland-instant").toLocal8Bit();
    }
    const QByteArray wasDisplay = qgetenv("WAYLAND_DISPLAY"),
                     wasRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("WAYLAND_DISPLAY", display);
    qputenv("XDG_RUNTIME_DIR", display == "wayland-0" ? QByteArray() : dir.path().toLocal8Bit());

    QFile printed(dir.filePath("stderr"));
    QVERIFY(printed.open(QIODevice::ReadWrite));
    const int savedError = dup(STDERR_FILENO);
    dup2(printed.handle(), STDERR_FILENO);
    const bool answer = compositorDrawsFrames(timeoutMs);
    dup2(savedError, STDERR_FILENO);
    close(savedError);
    qputenv("WAYLAND_DISPLAY", wasDisplay);
    qputenv("XDG_RUNTIME_DIR", wasRuntime);
    QCOMPARE(answer, drawsFrames);
    QCOMPARE(silent.isListening() ? silent.waitForNewConnection(0) : connects, connects);
    QVERIFY(printed.seek(0));
    QCOMPARE(printed.readAll(), QByteArray());
}

void TestStartup::comboPopupBuiltWhenOpened_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key"); // 0: a mouse click
    QTest::newRow("click") << "Antenna_maxPower" << 0;
    QTest::newRow("Alt+Down") << "Tetra_Band" << int(Qt::Key_Down);
    QTest::newRow("F4") << "TXnumber" << int(Qt::Key_F4);
}

// At start-up no combo box has its popup list yet; opened as the operator
// opens it, the list has the combo box's font and items, and works.
// Qt 6.8 builds the list as soon as the first item is added (QComboBox::addItem
// sets the current index, which selects it in the view); Qt 5.15 and 6.4 build
// it on first open.
void TestStartup::comboPopupBuiltWhenOpened()
{
    QFETCH(QString, name);
    QFETCH(int, key);
    setUpApplication(); // the program's font, as main() sets it
    Corvane app;
    const bool eager = QT_VERSION >= QT_VERSION_CHECK(6, 8, 0);
    for (QComboBox *c : app.window->findChildren<QComboBox *>()) {
        const bool built = !c->findChildren<QAbstractItemView *>().isEmpty();
        QVERIFY2(built == (eager && c->count() > 0), qPrintable(c->objectName()));
    }

    auto *combo = app.window->findChild<QComboBox *>(name);
    app.goToTab(app.ui->tabWidget->indexOf(combo->parentWidget()));
    const int before = combo->currentIndex();
    if (key == 0) {
        QTest::mouseClick(combo, Qt::LeftButton);
    } else {
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key(key),
                        key == Qt::Key_Down ? Qt::AltModifier : Qt::NoModifier);
    }
    QTRY_VERIFY(QApplication::activePopupWidget());
    QAbstractItemView *list = QApplication::activePopupWidget()->findChild<QAbstractItemView *>();
    QVERIFY(list);
    QVERIFY(list->isVisible());
    QCOMPARE(list->font().toString(), combo->font().toString());
    QCOMPARE(QApplication::activePopupWidget()->font().toString(), combo->font().toString());
    QCOMPARE(list->model()->rowCount(list->rootIndex()), combo->count());
    const int rowHeight = QFontMetrics(combo->font()).height();
    for (int i = 0; i < combo->count(); ++i) {
        const QModelIndex row = list->model()->index(i, combo->modelColumn(), list->rootIndex());
        QCOMPARE(row.data().toString(), combo->itemText(i));
        QVERIFY(list->visualRect(row).height() >= rowHeight);
    }
    QCOMPARE(list->currentIndex().row(), before);

    // Choosing a neighbouring item by keyboard closes the list and selects it.
    const bool down = before + 1 < combo->count();
    QTest::keyClick(list, down ? Qt::Key_Down : Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_VERIFY(!QApplication::activePopupWidget());
    QCOMPARE(combo->currentIndex(), down ? before + 1 : before - 1);
}

// Without an icon theme the window icon is the one built in, each size drawn
// from its own source image: 16 to 128 pixels at 100 %, 256 for 128 at 200 %.
void TestStartup::builtInIconSharp()
{
    QIcon::setThemeSearchPaths({});
    setUpApplication();
    for (const int pixels : {16, 32, 64, 128, 256}) {
        const int ratio = pixels / qMin(pixels, 128);
        QImage drawn(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
        drawn.setDevicePixelRatio(ratio);
        QPainter painter(&drawn);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        QApplication::windowIcon().paint(&painter, 0, 0, pixels / ratio, pixels / ratio);
        painter.end();
        const QString png = QStringLiteral(CORVANE_DATA_DIR "/icons/%1x%1/org.corvane.Corvane.png");
        QVERIFY(drawn == QImage(png.arg(pixels)).convertToFormat(drawn.format()));
    }
}

// Where the icon theme has the icon, the window's comes from it, and each
// size it names (those Qt's X11 window decodes at start) from its own image,
// never hicolor's 256-pixel one (listed before 64, matching 64 and up).
void TestStartup::themeIconAsX11TakesIt()
{
    QTemporaryDir dir;
    const QString theme = dir.path() + QStringLiteral("/hicolor/");
    for (const int side : {16, 32, 48, 64, 256}) {
        QImage image(side, side, QImage::Format_ARGB32);
        image.fill(side == 256 ? Qt::red : Qt::green);
        const QString apps = theme + QStringLiteral("%1x%1/apps").arg(side);
        QVERIFY(QDir().mkpath(apps) &&
                image.save(apps + QStringLiteral("/org.corvane.Corvane.png")));
    }
    QFile index(theme + QStringLiteral("index.theme"));
    QVERIFY(index.open(QIODevice::WriteOnly));
    index.write(
        "[Icon Theme]\nDirectories=16x16/apps,256x256/apps,32x32/apps,48x48/apps,64x64/apps\n"
        "[16x16/apps]\nSize=16\n[32x32/apps]\nSize=32\n[48x48/apps]\nSize=48\n"
        "[64x64/apps]\nSize=64\n[256x256/apps]\nSize=256\nMinSize=64\nType=Scalable\n");
    index.close();
    QIcon::setThemeSearchPaths({dir.path()});
    QIcon::setThemeName(QStringLiteral("hicolor"));
    setUpApplication();
    const QIcon icon = QApplication::windowIcon();
    QVERIFY(!icon.availableSizes().isEmpty());
    for (const QSize &size : icon.availableSizes())
        QCOMPARE(icon.pixmap(size).toImage().pixelColor(8, 8), QColor(Qt::green));
    QIcon::setThemeSearchPaths({});
}

// On a compositor that lets windows be moved (sway), the left button held
// on the own title bar and dragged moves the window.
void TestStartup::ownBarMovesWindow()
{
    if (qEnvironmentVariableIsEmpty("SWAYSOCK"))
        QSKIP("needs sway's pointer: run by the test wayland_window, which sets SWAYSOCK");
    frameWindowsWhenShown();
    QWidget window;
    window.setFixedSize(300, 200); // sway floats a window of fixed size
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The layout's size and the window's place on it, by sway's account.
    const auto tree = [] {
        QProcess swaymsg;
        swaymsg.start(QStringLiteral("swaymsg"),
                      {QStringLiteral("-rt"), QStringLiteral("get_tree")});
        swaymsg.waitForFinished(5000);
        return QJsonDocument::fromJson(swaymsg.readAllStandardOutput()).object();
    };
    const auto rect = [](const QJsonObject &node, const char *name) {
        const QJsonObject r = node[QLatin1String(name)].toObject();
        return QRect(r["x"].toInt(), r["y"].toInt(), r["width"].toInt(), r["height"].toInt());
    };
    const std::function<QRect(const QJsonObject &)> placed = [&](const QJsonObject &node) {
        if (node["pid"].toInt() == getpid())
            return rect(node, "window_rect").translated(rect(node, "rect").topLeft());
        for (const char *list : {"nodes", "floating_nodes"})
            for (const QJsonValue &child : node[QLatin1String(list)].toArray())
                if (const QRect found = placed(child.toObject()); found.isValid())
                    return found;
        return QRect();
    };
    const QRect layout = rect(tree(), "rect");

    wl_display *display = wl_display_connect(nullptr);
    QVERIFY(display);
    wl_registry *registry = wl_display_get_registry(display);
    void *manager = nullptr;
    const wl_registry_listener listener = {
        [](void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t) {
            if (qstrcmp(interface, managerInterface.name) == 0)
                *static_cast<void **>(data) =
                    wl_registry_bind(registry, name, &managerInterface, 1);
        },
        [](void *, wl_registry *, uint32_t) {}};
    wl_registry_add_listener(registry, &listener, &manager);
    wl_display_roundtrip(display);
    QVERIFY(manager);
    auto *pointer = reinterpret_cast<wl_proxy *>(wl_proxy_marshal_constructor(
        static_cast<wl_proxy *>(manager), 0, &pointerInterface, nullptr, nullptr));
    const auto send = [&](auto... request) {
        wl_proxy_marshal(pointer, request...);
        wl_proxy_marshal(pointer, Frame);
        wl_display_roundtrip(display);
        QCoreApplication::processEvents();
    };

    const QWidget *bar = window.findChild<QWidget *>(QStringLiteral("windowTitleBar"));
    QVERIFY(bar);
    // Pressed where sway last placed the bar, until the press reaches it:
    // sway may still be placing the window, and a press on its own title
    // bar would move the window without the program.
    PressCount presses;
    const_cast<QWidget *>(bar)->installEventFilter(&presses);
    QRect start;
    bool pressed = false;
    for (int attempt = 0; attempt < 20 && !pressed; ++attempt) {
        if (attempt > 0)
            send(Button, 0u, uint32_t(BTN_LEFT), uint32_t(WL_POINTER_BUTTON_STATE_RELEASED));
        QTRY_VERIFY2((start = placed(tree())).isValid(), "not on sway's tree");
        const QPoint onBar = start.topLeft() + QPoint(40, bar->height() / 2);
        send(MotionAbsolute, 0u, uint32_t(onBar.x()), uint32_t(onBar.y()), uint32_t(layout.width()),
             uint32_t(layout.height()));
        send(Button, 0u, uint32_t(BTN_LEFT), uint32_t(WL_POINTER_BUTTON_STATE_PRESSED));
        // Taken by the bar, which asks the compositor for the move: the
        // compositor may take the pointer away before the press is seen as held.
        pressed = QTest::qWaitFor([&] { return presses.count > 0; }, 1000);
    }
    QVERIFY2(pressed, "the bar never got the press");
    // Until the compositor has taken the move over: motions before it move
    // the pointer alone.
    QRect now = start;
    for (int step = 0; step < 200 && now.topLeft() == start.topLeft(); ++step) {
        send(Motion, 0u, wl_fixed_from_int(step % 2 ? 1 : 2), wl_fixed_from_int(1));
        QTest::qWait(20);
        now = placed(tree());
    }
    send(Button, 0u, uint32_t(BTN_LEFT), uint32_t(WL_POINTER_BUTTON_STATE_RELEASED));
    wl_proxy_destroy(pointer);
    wl_proxy_destroy(static_cast<wl_proxy *>(manager));
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    QVERIFY2(now.topLeft() != start.topLeft(), "the window stayed where it was");
    QCOMPARE(now.size(), start.size());
    leaveApplication(0); // without the teardown that can hang
}

CORVANE_TEST_MAIN(TestStartup)
#include "tst_startup.moc"

// On a real compositor's small output the window fits below the panel, with
// the frame it gets there, its own or Qt's.
void TestStartup::fitsOutput()
{
    // Set by the Weston test: the height of its output below the panel.
    const int room = qEnvironmentVariableIntValue("CORVANE_OUTPUT_ROOM");
    if (room == 0)
        QSKIP("needs a small output: run by the test wayland_window_weston, which sets "
              "CORVANE_OUTPUT_ROOM");
    // Frames as the program has them.
    setUpApplication();
    Corvane app;
    QTRY_VERIFY2(app.window->frameGeometry().height() <= room,
                 qPrintable(QStringLiteral("%1 high with its frame, room %2")
                                .arg(app.window->frameGeometry().height())
                                .arg(room)));
    leaveApplication(0); // without the teardown that can hang
}

void TestStartup::ownFrames_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("close button") << false;
    QTest::newRow("Alt+F4") << true;
}

// Where the compositor leaves frames to the program, the notice and the
// window each show a title bar above the whole of their contents, naming them
// as a desktop's frame does; the active window's bar stands out, under a
// light and a dark palette; pop-ups, tool tips and frameless windows get
// none; and the window's closes it.
void TestStartup::ownFrames()
{
    QFETCH(bool, byKey);
    static const QSize unframed = [] {
        Corvane plain;
        return plain.window->centralWidget()->size();
    }();
    static const bool wereOff = ownFrameSize().isEmpty();
    QVERIFY(wereOff);
    frameWindowsWhenShown();
    const auto barOf = [](const QWidget *window) {
        return window->findChild<QWidget *>(QStringLiteral("windowTitleBar"),
                                            Qt::FindDirectChildrenOnly);
    };
    bool noticeFramed = false;
    Corvane app{NoticeCloser::ByOk, [&](const Notice &) {
                    const QWidget *box = QApplication::activeModalWidget();
                    const QWidget *bar = barOf(box);
                    noticeFramed =
                        bar && bar->isVisible() && box->childrenRect().top() >= 0 &&
                        bar->geometry().bottom() < box->contentsRect().top() &&
                        bar->accessibleName() == QGuiApplication::applicationDisplayName();
                }};
    QVERIFY(noticeFramed);
    QWidget *window = app.window.get();
    QWidget *bar = barOf(window);
    QVERIFY(bar && bar->isVisible());
    QCOMPARE(bar->accessibleName(), QStringLiteral("Corvane"));
    const QWidget *form = app.window->centralWidget();
    QCOMPARE(form->size().expandedTo(unframed), form->size()); // the whole form
    QVERIFY(form->geometry().top() > bar->geometry().bottom());

    QWidget frameless(nullptr, Qt::FramelessWindowHint);
    frameless.show();
    QToolTip::showText(QPoint(), QStringLiteral("tip"), window);
    app.ui->TXnumber->showPopup();
    QVERIFY(!barOf(&frameless) && !barOf(app.ui->TXnumber->view()->window()));
    for (QWidget *top : QApplication::topLevelWidgets())
        QVERIFY2(!top->inherits("QTipLabel") || !barOf(top), "a tool tip with a title bar");
    app.ui->TXnumber->hidePopup();

    for (const QPalette &palette :
         {QPalette(QColor(239, 239, 239)), QPalette(QColor(53, 53, 53))}) {
        window->setPalette(palette);
        const auto background = [&](QWidget *active) {
            active->activateWindow();
            return QTest::qWaitForWindowActive(active) ? bar->grab().toImage().pixelColor(5, 5)
                                                       : QColor();
        };
        const QColor inactive = background(&frameless), active = background(window);
        QVERIFY2(contrastRatio(active, inactive) >= 1.2,
                 qPrintable(active.name() + " active, " + inactive.name() + " inactive"));
    }

    if (byKey) {
        QTest::keyClick(window, Qt::Key_F4, Qt::AltModifier);
    } else {
        QTest::mouseClick(bar->findChild<QAbstractButton *>(), Qt::LeftButton);
    }
    QVERIFY(!window->isVisible());
}
