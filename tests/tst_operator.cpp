// The operator's work, driven through the real window: transceivers and
// frequencies, reads and writes, and the colours of checked input.
#include "testmain.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLCDNumber>
#include <QRadioButton>

#include <cmath>

namespace {

enum { antennaTab = 0, networkTab = 1, tetraTab = 2, transceiverTab = 3 };

QString shown(const QLCDNumber *lcd)
{
    return QString::number(lcd->value(), 'g', 10);
}

// What a tab's inputs show: texts, combo indexes and check states by name.
QVariantMap snapshot(QWidget *page)
{
    QVariantMap state;
    for (auto *e : page->findChildren<QLineEdit *>())
        state[e->objectName()] = e->text();
    for (auto *c : page->findChildren<QComboBox *>())
        state[c->objectName()] = c->currentIndex();
    for (auto *b : page->findChildren<QCheckBox *>())
        state[b->objectName()] = b->isChecked();
    return state;
}

// Every line edit's style sheet, by name.
QStringList styleSheets(QWidget *root)
{
    QStringList sheets;
    for (auto *e : root->findChildren<QLineEdit *>())
        sheets << e->objectName() + ": " + e->styleSheet();
    return sheets;
}

const QString refused = QStringLiteral("Не записано. Проверьте поля:\n");

// WCAG contrast ratio of two colours, 1 to 21.
qreal contrast(const QColor &a, const QColor &b)
{
    auto luminance = [](const QColor &c) {
        auto channel = [](qreal v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const qreal la = luminance(a);
    const qreal lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// A dark desktop theme: light text on dark fields.
QPalette darkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(53, 53, 53));
    p.setColor(QPalette::WindowText, Qt::white);
    p.setColor(QPalette::Base, QColor(42, 42, 42));
    p.setColor(QPalette::AlternateBase, QColor(66, 66, 66));
    p.setColor(QPalette::Text, Qt::white);
    p.setColor(QPalette::Button, QColor(53, 53, 53));
    p.setColor(QPalette::ButtonText, Qt::white);
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, Qt::black);
    return p;
}

// A field of the store, read as its widget shows it.
using StoreField = std::function<QVariant(const DataStorage &)>;
#define FIELD(name) StoreField([](const DataStorage &s) { return QVariant(s.name); })

} // namespace

Q_DECLARE_METATYPE(StoreField)

class TestOperator : public QObject
{
    Q_OBJECT

private slots:
    void frequencies_data();
    void frequencies();
    void bandChangeShowsOnTabChange();
    void modeClicksStoredPerTransceiver();
    void modeGroupByKeys_data();
    void modeGroupByKeys();
    void selectingTransceiverStoresNothing();
    void transceiverWriteEditsRead();
    void transceiverReadRestoresDefaults();
    void hostReadAfterStartup();
    void tetraReadAfterStartup();
    void antennaWriteAndRead_data();
    void antennaWriteAndRead();
    void writeStoresEachField_data();
    void writeStoresEachField();
    void allActionsLeaveNetworkTabOut();
    void writesChangeStoreBeforeNotice();
    void readsChangeFormAfterNotice_data();
    void readsChangeFormAfterNotice();
    void validatedColours_data();
    void validatedColours();
    void readableOnDarkPalette_data();
    void readableOnDarkPalette();
    void channelNumber_data();
    void channelNumber();
    void cellIndex_data();
    void cellIndex();
    void addressInput_data();
    void addressInput();
    void tickStoresBothTransceiverFields();
    void tickOnOtherTabsChangesNothing_data();
    void tickOnOtherTabsChangesNothing();
    void inputTakenOnlyAfterPause();
    void emptiedNumberStoredAsZeroNever();

    // Mended faults
    void writeTakesInputTypedJustBefore();
    void hostWriteTakesAddressTypedJustBefore();
    void selectingTransceiverKeepsPendingInput();
    void changingTabKeepsPendingInput();
    void refusedWrite_data();
    void refusedWrite();
    void refusedSetAllStoresNothing();
    void readAllFrequenciesFollowReadBand();
    void readsRecolourRefilledFields();
    void readsLeaveUncolouredFieldsPlain();
    void addressShorthandRefused();
    void pasteLikeTyping_data();
    void pasteLikeTyping();
    void focusFollowsLayout_data();
    void focusFollowsLayout();

    void roundTripEveryField();
};

void TestOperator::frequencies_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("channel");
    QTest::addColumn<QString>("tx");
    QTest::addColumn<QString>("rx");
    QTest::newRow("start") << 1 << 1 << "0"
                           << "400"
                           << "390";
    QTest::newRow("400 +6.25 ch100") << 1 << 2 << "100"
                                     << "402.50625"
                                     << "392.50625";
    QTest::newRow("300 -6.25 ch1") << 0 << 0 << "1"
                                   << "300.01875"
                                   << "290.01875";
    QTest::newRow("800 12.5 ch4096") << 2 << 3 << "4096"
                                     << "902.4125"
                                     << "892.4125";
}

void TestOperator::frequencies()
{
    QFETCH(int, band);
    QFETCH(int, offset);
    QFETCH(QString, channel);
    QFETCH(QString, tx);
    QFETCH(QString, rx);
    Corvane app;
    app.goToTab(tetraTab);
    app.ui->Tetra_Band->setCurrentIndex(band);
    app.ui->Tetra_offset->setCurrentIndex(offset);
    app.goToTab(transceiverTab);
    Corvane::typeInto(app.ui->lineEdit_chNo, channel);
    app.tick();
    QCOMPARE(shown(app.ui->lcd_TXfreq), tx);
    QCOMPARE(shown(app.ui->lcd_RXfreq), rx);
}

void TestOperator::bandChangeShowsOnTabChange()
{
    Corvane app;
    app.goToTab(tetraTab);
    app.ui->Tetra_Band->setCurrentIndex(2);
    QCOMPARE(shown(app.ui->lcd_TXfreq), QStringLiteral("400"));
    app.goToTab(transceiverTab);
    QCOMPARE(shown(app.ui->lcd_TXfreq), QStringLiteral("800"));
    QCOMPARE(shown(app.ui->lcd_RXfreq), QStringLiteral("790"));
}

void TestOperator::modeClicksStoredPerTransceiver()
{
    Corvane app;
    app.goToTab(transceiverTab);
    Corvane::click(app.ui->radioButton_inUse);
    QCOMPARE(app.store->workTrx.mode[0], int(inUse));
    app.ui->TXnumber->setCurrentIndex(2);
    QVERIFY(app.ui->radioButton_notUsed->isChecked());
    Corvane::click(app.ui->radioButton_backup);
    Corvane::click(app.ui->radioButton_backup);
    QCOMPARE(app.store->workTrx.mode[2], int(backup));
    app.ui->TXnumber->setCurrentIndex(0);
    QVERIFY(app.ui->radioButton_inUse->isChecked());
    app.ui->TXnumber->setCurrentIndex(2);
    QVERIFY(app.ui->radioButton_backup->isChecked());
    for (int i : {1, 3, 4, 5, 6, 7})
        QCOMPARE(app.store->workTrx.mode[i], int(notUsed));
    // Devices are untouched until a write.
    QCOMPARE(app.store->devTrx.mode[0], int(notUsed));
}

// From the channel number: entered at the checked mode, an arrow chooses.
void TestOperator::modeGroupByKeys_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("mode");
    QTest::newRow("Shift+Tab in") << "Shift+Tab" << int(notUsed);
    QTest::newRow("Down") << "Shift+Tab Down" << int(inUse);
    QTest::newRow("Left round") << "Shift+Tab Left" << int(backup);
    QTest::newRow("Right Up") << "Shift+Tab Right Up" << int(notUsed);
    QTest::newRow("switch, Tab") << "Shift+Tab Right Shift+Tab Down Tab" << int(notUsed);
}

void TestOperator::modeGroupByKeys()
{
    QFETCH(QString, keys);
    QFETCH(int, mode);
    Corvane app;
    app.goToTab(transceiverTab);
    app.ui->lineEdit_chNo->setFocus(Qt::TabFocusReason);
    for (const QString &key : keys.split(' '))
        QTest::keySequence(QApplication::focusWidget(), QKeySequence(key));
    QCOMPARE(QApplication::focusWidget(), TestAccess::modeGroup(*app.window).button(mode));
    QCOMPARE(app.store->workTrx.mode[app.ui->TXnumber->currentIndex()], mode);
}

void TestOperator::selectingTransceiverStoresNothing()
{
    Corvane app;
    app.goToTab(transceiverTab);
    const TransceiverTable before = app.store->workTrx;
    for (int i = 0; i < trxCount; ++i) {
        app.ui->TXnumber->setCurrentIndex(i);
        QCOMPARE(app.ui->lineEdit_chNo->text(), QString::number(i));
        QCOMPARE(app.ui->lineEdit_cellIDX->text(), QString::number(i % 4));
    }
    app.tick();
    QCOMPARE(memcmp(&before, &app.store->workTrx, sizeof before), 0);
}

void TestOperator::transceiverWriteEditsRead()
{
    Corvane app;
    app.goToTab(transceiverTab);
    for (int i = 0; i < trxCount; ++i) {
        app.ui->TXnumber->setCurrentIndex(i);
        Corvane::typeInto(app.ui->lineEdit_chNo, QString::number(1000 + i));
        Corvane::typeInto(app.ui->lineEdit_cellIDX, QString::number(3 - i % 4));
        Corvane::click(i % 2 ? app.ui->radioButton_inUse : app.ui->radioButton_backup);
    }
    app.tick();
    Corvane::click(app.ui->push_trx_write);
    QCOMPARE(app.closer.last().text, QStringLiteral("Запись"));
    QCOMPARE(app.closer.last().informativeText, QStringLiteral("Успешно"));
    const TransceiverTable written = app.store->workTrx;

    for (int i = 0; i < trxCount; ++i) {
        app.ui->TXnumber->setCurrentIndex(i);
        Corvane::typeInto(app.ui->lineEdit_chNo, "7");
        Corvane::typeInto(app.ui->lineEdit_cellIDX, "0");
        Corvane::click(app.ui->radioButton_notUsed);
    }
    app.ui->TXnumber->setCurrentIndex(5);
    app.tick();
    Corvane::click(app.ui->push_trx_read);
    QCOMPARE(app.closer.last().text, QStringLiteral("Чтение"));
    QCOMPARE(memcmp(&written, &app.store->workTrx, sizeof written), 0);
    QCOMPARE(app.ui->lineEdit_chNo->text(), QStringLiteral("1005"));
    QCOMPARE(app.ui->lineEdit_cellIDX->text(), QStringLiteral("2"));
    QVERIFY(app.ui->radioButton_inUse->isChecked());
    for (int i = 0; i < trxCount; ++i) {
        QCOMPARE(app.store->workTrx.chNo[i], 1000 + i);
        QCOMPARE(app.store->workTrx.mode[i], i % 2 ? int(inUse) : int(backup));
    }
}

void TestOperator::transceiverReadRestoresDefaults()
{
    Corvane app;
    app.goToTab(transceiverTab);
    for (int i : {0, 3, 7}) {
        app.ui->TXnumber->setCurrentIndex(i);
        Corvane::typeInto(app.ui->lineEdit_chNo, "2222");
    }
    app.tick();
    Corvane::click(app.ui->push_trx_read);
    const DataStorage defaults;
    QCOMPARE(memcmp(&defaults.workTrx, &app.store->workTrx, sizeof defaults.workTrx), 0);
    QCOMPARE(app.ui->lineEdit_chNo->text(), QStringLiteral("7"));
    QCOMPARE(app.ui->lineEdit_cellIDX->text(), QStringLiteral("3"));
}

void TestOperator::hostReadAfterStartup()
{
    Corvane app;
    Corvane::click(app.ui->push_Host_Read);
    QCOMPARE(app.closer.last().text, QStringLiteral("Чтение"));
    QCOMPARE(app.ui->Host_IPaddress->text(), QStringLiteral("192.168.12.24"));
    QCOMPARE(app.ui->HostIPaddress2->text(), QStringLiteral("192.168.240.1"));
    QCOMPARE(app.ui->Host_nodeID->text(), QStringLiteral("10"));
    QCOMPARE(app.ui->Host_clusterID->text(), QStringLiteral("10"));
    QCOMPARE(app.ui->Host_Name->text(), QStringLiteral("bs0"));
    QCOMPARE(app.ui->Host_Type->currentIndex(), 1);
    QVERIFY(!app.ui->Host_redundant->isChecked());
    QCOMPARE(app.store->workIPaddress, app.store->devIPaddress);
    QCOMPARE(app.store->workIPaddress2, app.store->devIPaddress2);
}

void TestOperator::tetraReadAfterStartup()
{
    Corvane app;
    QVariantMap expected = snapshot(app.ui->tab_tetra);
    expected["Tetra_slowResel_hyst"] = 1;
    expected["Tetra_allowAnnounceType"] = true;
    app.goToTab(tetraTab);
    Corvane::click(app.ui->push_tet_read);
    QCOMPARE(snapshot(app.ui->tab_tetra), expected);
}

void TestOperator::antennaWriteAndRead_data()
{
    // Configuration, maximum power, duplexer type, maximum reflection: with
    // three items each, the two rows between them tell every pair of fields
    // apart, so a transfer that mixes two fields up fails one of them.
    QTest::addColumn<QVector<int>>("indexes");
    QTest::newRow("2 1 0 2") << QVector<int>{2, 1, 0, 2};
    QTest::newRow("1 2 2 0") << QVector<int>{1, 2, 2, 0};
}

void TestOperator::antennaWriteAndRead()
{
    QFETCH(QVector<int>, indexes);
    Corvane app;
    const QVector<QComboBox *> combos = {app.ui->Antenna_config, app.ui->Antenna_maxPower,
                                         app.ui->Antenna_duplexerType,
                                         app.ui->Antenna_maxReflection};
    app.goToTab(antennaTab);
    for (int i = 0; i < combos.size(); ++i)
        combos[i]->setCurrentIndex(indexes[i]);
    Corvane::click(app.ui->push_AntennaSet);
    QCOMPARE(app.store->antennaConfig, indexes[0]);
    QCOMPARE(app.store->antennaMaxPower, indexes[1]);
    QCOMPARE(app.store->antennaDuplexerType, indexes[2]);
    QCOMPARE(app.store->antennaMaxReflection, indexes[3]);
    const QVariantMap written = snapshot(app.ui->tab_ant);
    for (int i = 0; i < combos.size(); ++i)
        combos[i]->setCurrentIndex((indexes[i] + 1) % combos[i]->count());
    Corvane::click(app.ui->push_AntennaGet);
    QCOMPARE(snapshot(app.ui->tab_ant), written);
}

// One field changed, its tab written: the value lands in the store field of
// its own name, where a swap of two fields' transfers survives a round trip.
void TestOperator::writeStoresEachField_data()
{
    QTest::addColumn<StoreField>("field");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("Tetra_CC") << FIELD(tetraCC) << QVariant(13);
    QTest::newRow("Tetra_LA") << FIELD(tetraLA) << QVariant(4321);
    QTest::newRow("Tetra_Band") << FIELD(tetraBand) << QVariant(2);
    QTest::newRow("Tetra_offset") << FIELD(tetraOffset) << QVariant(3);
    QTest::newRow("Tetra_Reverse") << FIELD(tetraReverse) << QVariant(true);
    QTest::newRow("Tetra_maxMSpower") << FIELD(tetraMaxMSpower) << QVariant(3);
    QTest::newRow("Tetra_min_access_level") << FIELD(tetraMinAccessLevel) << QVariant(4);
    QTest::newRow("Tetra_access_param") << FIELD(tetraAccessParam) << QVariant(2);
    QTest::newRow("Tetra_downlink_timeout") << FIELD(tetraDownlinkTimeout) << QVariant(2);
    QTest::newRow("check_Tetra_priority_cell") << FIELD(tetraPriorityCell) << QVariant(true);
    QTest::newRow("check_Tetra_localFallback") << FIELD(tetraLocalFallback) << QVariant(true);
    QTest::newRow("Tetra_staticPDCH_No") << FIELD(tetraStaticPDCHNo) << QVariant(31);
    QTest::newRow("Tetra_dynPDCH_No") << FIELD(tetraDynPDCHNo) << QVariant(29);
    QTest::newRow("Tetra_PDCH_maxTS") << FIELD(tetraPDCHMaxTS) << QVariant(27);
    QTest::newRow("Tetra_PDCH_maxMSperPDCH") << FIELD(tetraPDCHMaxMSperPDCH) << QVariant(999);
    QTest::newRow("Tetra_SCCH_No") << FIELD(tetraSCCHNo) << QVariant(17);
    QTest::newRow("Tetra_Fast_resel_thrsh") << FIELD(tetraFastReselThrsh) << QVariant(4);
    QTest::newRow("Tetra_Fast_resel_hyst") << FIELD(tetraFastReselHyst) << QVariant(3);
    QTest::newRow("Tetra_slowResel_thrsh") << FIELD(tetraSlowReselThrsh) << QVariant(4);
    QTest::newRow("Tetra_slowResel_hyst") << FIELD(tetraSlowReselHyst) << QVariant(3);
    QTest::newRow("Tetra_allowAnnounceType") << FIELD(tetraAllowAnnounceType) << QVariant(true);
    QTest::newRow("Tetra_minReselRSSI") << FIELD(tetraMinReselRSSI) << QVariant(4);
    QTest::newRow("Tetra_relinq_RSSI") << FIELD(tetraRelinqRSSI) << QVariant(3);
    QTest::newRow("Tetra_improv_RSSI") << FIELD(tetraImprovRSSI) << QVariant(4);
    QTest::newRow("check_Tetra_dataOnlyBS") << FIELD(tetraDataOnlyBS) << QVariant(true);
    QTest::newRow("Tetra_MCC") << FIELD(tetraMCC) << QVariant(254);
    QTest::newRow("Tetra_MNC") << FIELD(tetraMNC) << QVariant(1001);
    QTest::newRow("Host_IPaddress") << FIELD(devIPaddress.toString()) << QVariant("10.1.2.3");
    QTest::newRow("HostIPaddress2") << FIELD(devIPaddress2.toString()) << QVariant("::7");
    QTest::newRow("Host_nodeID") << FIELD(hostNodeID) << QVariant(1023);
    QTest::newRow("Host_clusterID") << FIELD(hostClusterID) << QVariant(512);
    QTest::newRow("Host_Type") << FIELD(hostType) << QVariant(2);
    QTest::newRow("Host_redundant") << FIELD(hostRedundant) << QVariant(true);
    QTest::newRow("Host_Name") << FIELD(hostName) << QVariant(QStringLiteral("узел-7"));
}

void TestOperator::writeStoresEachField()
{
    QFETCH(StoreField, field);
    QFETCH(QVariant, value);
    Corvane app;
    QWidget *w = app.ui->centralwidget->findChild<QWidget *>(QTest::currentDataTag());
    QVERIFY2(w, QTest::currentDataTag());
    const bool tetra = app.ui->tab_tetra->isAncestorOf(w);
    app.goToTab(tetra ? tetraTab : networkTab);
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        Corvane::typeInto(edit, value.toString());
    else if (auto *combo = qobject_cast<QComboBox *>(w))
        combo->setCurrentIndex(value.toInt());
    else
        Corvane::click(qobject_cast<QCheckBox *>(w));
    Corvane::click(tetra ? app.ui->push_trx_write_2 : app.ui->push_Host_write);
    QCOMPARE(app.closer.last().informativeText, QStringLiteral("Успешно"));
    QCOMPARE(field(*app.store), value);
}

void TestOperator::allActionsLeaveNetworkTabOut()
{
    Corvane app;
    Corvane::typeInto(app.ui->Host_IPaddress, "10.1.2.3");
    Corvane::typeInto(app.ui->Host_nodeID, "77");
    Corvane::typeInto(app.ui->Host_Name, "edited");
    app.ui->Host_Type->setCurrentIndex(2);
    app.tick();
    const QVariantMap network = snapshot(app.ui->tab_network);
    const QHostAddress work = app.store->workIPaddress;

    Corvane::click(app.ui->push_setAll);
    QCOMPARE(app.closer.last().informativeText, QStringLiteral("Успешно"));
    QCOMPARE(app.store->devIPaddress.toString(), QStringLiteral("192.168.12.24"));
    QCOMPARE(app.store->hostNodeID, 10);
    QCOMPARE(app.store->hostName, QStringLiteral("bs0"));
    QCOMPARE(app.store->hostType, 1);

    Corvane::click(app.ui->push_readAll);
    QCOMPARE(snapshot(app.ui->tab_network), network);
    QCOMPARE(app.store->workIPaddress, work);
    QCOMPARE(work, QHostAddress("10.1.2.3"));
}

void TestOperator::writesChangeStoreBeforeNotice()
{
    Corvane app;
    app.goToTab(tetraTab);
    Corvane::typeInto(app.ui->Tetra_MCC, "123");
    int mccDuringNotice = -1;
    app.closer.whileOpen = [&](const Notice &) { mccDuringNotice = app.store->tetraMCC; };
    Corvane::click(app.ui->push_trx_write_2);
    QCOMPARE(mccDuringNotice, 123);
}

void TestOperator::readsChangeFormAfterNotice_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("how");
    QTest::newRow("tetra, Ok") << "push_tet_read" << int(NoticeCloser::ByOk);
    QTest::newRow("tetra, Escape") << "push_tet_read" << int(NoticeCloser::ByEscape);
    QTest::newRow("all, close button") << "push_readAll" << int(NoticeCloser::ByCloseButton);
}

void TestOperator::readsChangeFormAfterNotice()
{
    QFETCH(QString, button);
    QFETCH(int, how);
    Corvane app{NoticeCloser::How(how)};
    app.goToTab(tetraTab);
    Corvane::typeInto(app.ui->Tetra_MCC, "123");
    QString duringNotice;
    app.closer.whileOpen = [&](const Notice &) { duringNotice = app.ui->Tetra_MCC->text(); };
    Corvane::click(app.window->findChild<QPushButton *>(button));
    QCOMPARE(app.closer.last().text, QStringLiteral("Чтение"));
    QCOMPARE(duringNotice, QStringLiteral("123"));
    QCOMPARE(app.ui->Tetra_MCC->text(), QStringLiteral("250"));
}

void TestOperator::validatedColours_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("white");
    QTest::newRow("CC 0") << "Tetra_CC"
                          << "0" << true;
    QTest::newRow("CC 15") << "Tetra_CC"
                           << "15" << true;
    QTest::newRow("CC 16") << "Tetra_CC"
                           << "16" << false;
    QTest::newRow("CC 99") << "Tetra_CC"
                           << "99" << false;
    QTest::newRow("CC empty") << "Tetra_CC"
                              << "" << false;
    QTest::newRow("LA 65535") << "Tetra_LA"
                              << "65535" << true;
    QTest::newRow("LA 65536") << "Tetra_LA"
                              << "65536" << false;
    QTest::newRow("LA empty") << "Tetra_LA"
                              << "" << false;
    QTest::newRow("PDCH 32") << "Tetra_staticPDCH_No"
                             << "32" << true;
    QTest::newRow("PDCH 33") << "Tetra_staticPDCH_No"
                             << "33" << false;
    QTest::newRow("MCC 255") << "Tetra_MCC"
                             << "255" << true;
    QTest::newRow("MCC 256") << "Tetra_MCC"
                             << "256" << false;
    QTest::newRow("MNC 1023") << "Tetra_MNC"
                              << "1023" << true;
    QTest::newRow("node 1023") << "Host_nodeID"
                               << "1023" << true;
    QTest::newRow("node 1024") << "Host_nodeID"
                               << "1024" << false;
    QTest::newRow("cluster 0") << "Host_clusterID"
                               << "0" << true;
}

void TestOperator::validatedColours()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(bool, white);
    Corvane app;
    auto *edit = app.window->findChild<QLineEdit *>(field);
    app.goToTab(app.ui->tabWidget->indexOf(edit->parentWidget()));
    Corvane::typeInto(edit, text);
    QCOMPARE(edit->text(), text);
    QCOMPARE(app.isWhite(edit), white);
    QCOMPARE(app.isYellow(edit), !white);
    QVERIFY(edit->toolTip().startsWith(QStringLiteral("0–"))); // its range, told

    // A screen reader's edits: a new value taken only when acceptable, an
    // edit as typed, both checked as typing is.
    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(edit);
    reader->setText(QAccessible::Value, "7");
    QVERIFY(app.isWhite(edit));
    reader->setText(QAccessible::Value, text);
    QCOMPARE(edit->text(), white ? text : "7");
    reader->editableTextInterface()->replaceText(0, int(edit->text().size()), text);
    QCOMPARE(edit->text(), text);
    QCOMPARE(app.isYellow(edit), !white);
}

// Rendered under a dark desktop palette, the text of a field stands out
// from its background: painted fields by dark text, others by the theme's.
void TestOperator::readableOnDarkPalette_data()
{
    QTest::addColumn<bool>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("background");
    QTest::newRow("white") << true << "15" << QColor(Qt::white);
    QTest::newRow("yellow") << true << "16" << QColor(Qt::yellow);
    QTest::newRow("never painted") << false << "10" << darkPalette().color(QPalette::Base);
}

void TestOperator::readableOnDarkPalette()
{
    QFETCH(bool, type);
    QFETCH(QString, text);
    QFETCH(QColor, background);
    struct RestorePalette {
        QPalette desktop = QApplication::palette();
        ~RestorePalette() { QApplication::setPalette(desktop); }
    } restore;
    QApplication::setPalette(darkPalette());
    Corvane app;
    app.goToTab(tetraTab);
    QLineEdit *edit = app.ui->Tetra_CC;
    if (type)
        Corvane::typeInto(edit, text);
    QCOMPARE(edit->text(), text);
    // Without the cursor, drawn in a colour of its own.
    edit->clearFocus();

    // Inside the frame: the most common colour is the background, the one
    // farthest from it the text.
    const QImage image = edit->grab().toImage();
    const QImage inside = image.copy(image.rect().adjusted(4, 4, -4, -4));
    QHash<QRgb, int> counts;
    for (int y = 0; y < inside.height(); ++y) {
        for (int x = 0; x < inside.width(); ++x)
            ++counts[inside.pixel(x, y) | 0xff000000];
    }
    QRgb back = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > counts.value(back))
            back = it.key();
    }
    qreal best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = qMax(best, contrast(QColor(it.key()), QColor(back)));
    // Kvantum draws its theme's field where a program asks for white or gives
    // a palette of its own; yellow it draws.
    if (QApplication::style()->objectName() != QLatin1String("kvantum") ||
        background == Qt::yellow)
        QCOMPARE(QColor(back), background);
    QVERIFY2(best >= 4.5, qPrintable(QString::number(best)));
}

void TestOperator::channelNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("4096") << "4096" << true;
    QTest::newRow("0") << "0" << true;
    QTest::newRow("4097") << "4097" << false;
    QTest::newRow("-1") << "-1" << false;
    QTest::newRow("letters") << "abc" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("no-break spaces") << QStringLiteral("\u00a0120\u00a0") << true;
    QTest::newRow("unicode minus") << QStringLiteral("\u22120") << false;
    QTest::newRow("pasted NUL") << QString("7") + QChar(0) + "99" << false;
}

void TestOperator::channelNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    Corvane app;
    app.goToTab(transceiverTab);
    app.ui->TXnumber->setCurrentIndex(1);
    Corvane::typeInto(app.ui->lineEdit_chNo, "40");
    app.tick();
    Corvane::typeInto(app.ui->lineEdit_chNo, text);
    app.tick();
    QCOMPARE(app.isWhite(app.ui->lineEdit_chNo), accepted);
    QCOMPARE(app.isYellow(app.ui->lineEdit_chNo), !accepted);
    QCOMPARE(app.ui->lineEdit_chNo->text(), text.trimmed());
    const int value = accepted ? text.trimmed().toInt() : 40;
    QCOMPARE(app.store->workTrx.chNo[1], value);
    const double expected = value * 0.025 + 400;
    QCOMPARE(shown(app.ui->lcd_TXfreq), QString::number(expected, 'g', 10));
}

void TestOperator::cellIndex_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    for (const char *ok : {"0", "1", "2", "3"})
        QTest::newRow(ok) << ok << true;
    QTest::newRow("4") << "4" << false;
    QTest::newRow("-1") << "-1" << false;
    QTest::newRow("empty") << "" << false;
}

void TestOperator::cellIndex()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    Corvane app;
    app.goToTab(transceiverTab);
    app.ui->TXnumber->setCurrentIndex(6); // cell index 2
    Corvane::typeInto(app.ui->lineEdit_cellIDX, text);
    app.tick();
    QCOMPARE(app.isWhite(app.ui->lineEdit_cellIDX), accepted);
    QCOMPARE(app.store->workTrx.cellIDX[6], accepted ? text.toInt() : 2);
}

void TestOperator::addressInput_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("any") << "0.0.0.0" << true;
    QTest::newRow("device") << "192.168.12.24" << true;
    QTest::newRow("ipv6") << "fe80::1" << true;
    QTest::newRow("octet 256") << "1.2.3.256" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("name") << "station" << false;
}

void TestOperator::addressInput()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    Corvane app;
    Corvane::typeInto(app.ui->HostIPaddress2, "10.0.0.2");
    app.tick();
    Corvane::typeInto(app.ui->HostIPaddress2, text);
    app.tick();
    QCOMPARE(app.isWhite(app.ui->HostIPaddress2), accepted);
    QCOMPARE(app.store->workIPaddress2, QHostAddress(accepted ? text : "10.0.0.2"));
    QVERIFY(app.isWhite(app.ui->Host_IPaddress));
    QCOMPARE(app.store->workIPaddress, QHostAddress("0.0.0.0"));
}

void TestOperator::tickStoresBothTransceiverFields()
{
    Corvane app;
    app.goToTab(transceiverTab);
    app.ui->TXnumber->setCurrentIndex(4);
    app.store->workTrx.cellIDX[4] = 1; // field shows 0, stored 1
    Corvane::typeInto(app.ui->lineEdit_chNo, "12");
    app.tick();
    QCOMPARE(app.store->workTrx.chNo[4], 12);
    QCOMPARE(app.store->workTrx.cellIDX[4], 0);
}

void TestOperator::tickOnOtherTabsChangesNothing_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QKeySequence>("keys"); // from the network tab; none: a click
    QTest::newRow("antenna") << int(antennaTab) << QKeySequence();
    QTest::newRow("tetra") << int(tetraTab) << QKeySequence();
    QTest::newRow("tetra, Ctrl+PageDown")
        << int(tetraTab) << QKeySequence(Qt::CTRL | Qt::Key_PageDown);
    QTest::newRow("antenna, Ctrl+Shift+Tab")
        << int(antennaTab) << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab);
}

void TestOperator::tickOnOtherTabsChangesNothing()
{
    QFETCH(int, tab);
    QFETCH(QKeySequence, keys);
    Corvane app;
    app.tick();
    // The address is taken when the tab changes; the timer still runs.
    Corvane::typeInto(app.ui->Host_IPaddress, "10.0.0.9");
    if (keys.isEmpty())
        app.goToTab(tab);
    else
        QTest::keySequence(app.ui->Host_IPaddress, keys);
    QCOMPARE(app.ui->tabWidget->currentIndex(), tab);
    QVERIFY(TestAccess::timer(*app.window).isActive());
    app.store->workTrx.chNo[0] = 77; // fields show 0, stored 77 and 3
    app.store->workTrx.cellIDX[0] = 3;
    const QStringList styles = styleSheets(app.ui->centralwidget);
    const TransceiverTable trx = app.store->workTrx;
    const QHostAddress address = app.store->workIPaddress;
    const QHostAddress address2 = app.store->workIPaddress2;
    const QString tx = shown(app.ui->lcd_TXfreq);

    app.tick();
    QCOMPARE(memcmp(&trx, &app.store->workTrx, sizeof trx), 0);
    QCOMPARE(app.store->workIPaddress, address);
    QCOMPARE(app.store->workIPaddress2, address2);
    QCOMPARE(styleSheets(app.ui->centralwidget), styles);
    QCOMPARE(shown(app.ui->lcd_TXfreq), tx);
}

// The timer itself: input is taken once typing pauses, never earlier. A
// coarse Qt timer fires at most 5 % early, so nothing may be stored at
// 550 ms; the clock starts before the last keystroke, so a slow machine can
// only make the check weaker, never fail it.
void TestOperator::inputTakenOnlyAfterPause()
{
    Corvane app;
    app.goToTab(transceiverTab);
    Corvane::typeInto(app.ui->lineEdit_chNo, "12");
    QElapsedTimer sinceLastKey;
    sinceLastKey.start();
    QTest::keyClick(app.ui->lineEdit_chNo, Qt::Key_3);
    for (;;) {
        QTest::qWait(5);
        const qint64 elapsed = sinceLastKey.elapsed();
        if (elapsed >= 550)
            break;
        QVERIFY2(app.store->workTrx.chNo[0] == 0, qPrintable(QString::number(elapsed) + " ms"));
    }
    QTRY_COMPARE(app.store->workTrx.chNo[0], 123);
}

// A write never turns an emptied or mistyped number into a stored 0.
void TestOperator::emptiedNumberStoredAsZeroNever()
{
    Corvane app;
    app.goToTab(tetraTab);
    Corvane::typeInto(app.ui->Tetra_MCC, "");
    Corvane::click(app.ui->push_trx_write_2);
    QCOMPARE(app.store->tetraMCC, 250);
    QVERIFY(app.isYellow(app.ui->Tetra_MCC));
    Corvane::typeInto(app.ui->Tetra_MCC, "0");
    Corvane::click(app.ui->push_trx_write_2);
    QCOMPARE(app.store->tetraMCC, 0);
    Corvane::click(app.ui->push_tet_read);
    QCOMPARE(app.ui->Tetra_MCC->text(), QStringLiteral("0"));
}

void TestOperator::writeTakesInputTypedJustBefore()
{
    Corvane app;
    app.goToTab(transceiverTab);
    app.ui->TXnumber->setCurrentIndex(3);
    Corvane::typeInto(app.ui->lineEdit_chNo, "321");
    Corvane::typeInto(app.ui->lineEdit_cellIDX, "1");
    Corvane::click(app.ui->push_trx_write);
    QCOMPARE(app.closer.last().informativeText, QStringLiteral("Успешно"));
    QCOMPARE(app.store->devTrx.chNo[3], 321);
    QCOMPARE(app.store->devTrx.cellIDX[3], 1);

    Corvane::typeInto(app.ui->lineEdit_chNo, "654");
    Corvane::click(app.ui->push_setAll);
    QCOMPARE(app.store->devTrx.chNo[3], 654);
}

void TestOperator::hostWriteTakesAddressTypedJustBefore()
{
    Corvane app;
    Corvane::typeInto(app.ui->Host_IPaddress, "10.20.30.40");
    Corvane::typeInto(app.ui->HostIPaddress2, "10.20.30.41");
    Corvane::click(app.ui->push_Host_write);
    QCOMPARE(app.closer.last().informativeText, QStringLiteral("Успешно"));
    QCOMPARE(app.store->devIPaddress.toString(), QStringLiteral("10.20.30.40"));
    QCOMPARE(app.store->devIPaddress2.toString(), QStringLiteral("10.20.30.41"));
}

void TestOperator::selectingTransceiverKeepsPendingInput()
{
    Corvane app;
    app.goToTab(transceiverTab);
    app.ui->TXnumber->setCurrentIndex(1);
    Corvane::typeInto(app.ui->lineEdit_chNo, "1111");
    app.ui->TXnumber->setCurrentIndex(2);
    QCOMPARE(app.store->workTrx.chNo[1], 1111);
    QCOMPARE(app.ui->lineEdit_chNo->text(), QStringLiteral("2"));
    app.tick();
    QCOMPARE(app.store->workTrx.chNo[2], 2);
    QCOMPARE(app.store->workTrx.chNo[1], 1111);
}

void TestOperator::changingTabKeepsPendingInput()
{
    Corvane app;
    app.goToTab(transceiverTab);
    Corvane::typeInto(app.ui->lineEdit_chNo, "999");
    app.goToTab(tetraTab);
    QCOMPARE(app.store->workTrx.chNo[0], 999);
    QVERIFY(app.isWhite(app.ui->lineEdit_chNo));

    app.goToTab(networkTab);
    Corvane::typeInto(app.ui->Host_IPaddress, "172.16.0.9");
    app.goToTab(antennaTab);
    QCOMPARE(app.store->workIPaddress, QHostAddress("172.16.0.9"));
}

void TestOperator::refusedWrite_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("fieldsAndTexts");
    QTest::addColumn<QString>("captions");

    QTest::newRow("tetra CC and MCC")
        << "push_trx_write_2" << QStringList{"Tetra_CC", "", "Tetra_MCC", "256"}
        << "«Цветовой код (CC)» на вкладке «TETRA»: 0–15\n«MCC» на вкладке «TETRA»: 0–255";
    QTest::newRow("tetra PDCH") << "push_trx_write_2"
                                << QStringList{"Tetra_SCCH_No", "33", "Tetra_dynPDCH_No", "99"}
                                << "«Колич. динам. PDCH» на вкладке «TETRA»: 0–32\n"
                                   "«Количество SCCH» на вкладке «TETRA»: 0–32";
    QTest::newRow("transceiver channel")
        << "push_trx_write" << QStringList{"TXnumber", "3", "lineEdit_chNo", "4097"}
        << "«Номер канала» трансивера 3 на вкладке «Трансивер»: 0–4096";
    QTest::newRow("transceiver both")
        << "push_trx_write" << QStringList{"lineEdit_cellIDX", "x", "lineEdit_chNo", ""}
        << "«Номер канала» трансивера 1 на вкладке «Трансивер»: 0–4096\n"
           "«Cell IDX» трансивера 1 на вкладке «Трансивер»: 0–3";
    QTest::newRow("host address") << "push_Host_write" << QStringList{"HostIPaddress2", "1.2.3.256"}
                                  << "«IP адрес 2» на вкладке «IP параметры»: IPv4 или IPv6";
    QTest::newRow("host ids") << "push_Host_write"
                              << QStringList{"Host_clusterID", "", "Host_nodeID", "1024"}
                              << "«Идентификатор узла ISC» на вкладке «IP параметры»: 0–1023\n"
                                 "«Идентификатор кластера ISC» на вкладке «IP параметры»: 0–1023";
    QTest::newRow("set all") << "push_setAll"
                             << QStringList{"lineEdit_cellIDX", "7", "Tetra_MNC", ""}
                             << "«MNC» на вкладке «TETRA»: 0–1023\n"
                                "«Cell IDX» трансивера 1 на вкладке «Трансивер»: 0–3";
}

void TestOperator::refusedWrite()
{
    QFETCH(QString, button);
    QFETCH(QStringList, fieldsAndTexts);
    QFETCH(QString, captions);
    Corvane app;
    const DataStorage defaults;
    for (int i = 0; i < fieldsAndTexts.size(); i += 2) {
        QWidget *field = app.window->findChild<QWidget *>(fieldsAndTexts[i]);
        app.goToTab(app.ui->tabWidget->indexOf(field->parentWidget()));
        if (auto *combo = qobject_cast<QComboBox *>(field))
            combo->setCurrentText(fieldsAndTexts[i + 1]);
        else
            Corvane::typeInto(static_cast<QLineEdit *>(field), fieldsAndTexts[i + 1]);
    }
    Corvane::click(app.window->findChild<QPushButton *>(button));
    QCOMPARE(app.closer.last().text, QStringLiteral("Запись"));
    QCOMPARE(app.closer.last().informativeText, refused + captions);
    QCOMPARE(app.closer.last().icon, QMessageBox::Warning);
    QVERIFY(app.closer.last().textFits);
    for (int i = 0; i < fieldsAndTexts.size(); i += 2) {
        if (auto *edit = app.window->findChild<QLineEdit *>(fieldsAndTexts[i]))
            QVERIFY(app.isYellow(edit));
    }
    QCOMPARE(memcmp(&app.store->devTrx, &defaults.devTrx, sizeof defaults.devTrx), 0);
    QCOMPARE(app.store->tetraCC, defaults.tetraCC);
    QCOMPARE(app.store->tetraMCC, defaults.tetraMCC);
    QCOMPARE(app.store->tetraMNC, defaults.tetraMNC);
    QCOMPARE(app.store->tetraSCCHNo, defaults.tetraSCCHNo);
    QCOMPARE(app.store->devIPaddress, defaults.devIPaddress);
    QCOMPARE(app.store->devIPaddress2, defaults.devIPaddress2);
    QCOMPARE(app.store->hostNodeID, defaults.hostNodeID);
    QCOMPARE(app.store->hostClusterID, defaults.hostClusterID);
    Corvane::click(app.ui->push_readAll); // the next notice, in the same box
    QCOMPARE(app.closer.last().informativeText, QStringLiteral("Успешно"));
    QCOMPARE(app.closer.last().icon, QMessageBox::NoIcon);
}

void TestOperator::refusedSetAllStoresNothing()
{
    Corvane app;
    const DataStorage defaults;
    app.goToTab(antennaTab);
    app.ui->Antenna_config->setCurrentIndex(1);
    app.goToTab(tetraTab);
    Corvane::typeInto(app.ui->Tetra_LA, "");
    app.ui->Tetra_Band->setCurrentIndex(2);
    app.goToTab(transceiverTab);
    Corvane::click(app.ui->radioButton_inUse);
    Corvane::typeInto(app.ui->lineEdit_chNo, "55");
    Corvane::click(app.ui->push_setAll);
    QCOMPARE(app.closer.last().informativeText,
             refused + QStringLiteral("«Номер зоны (LA)» на вкладке «TETRA»: 0–65535"));
    QCOMPARE(memcmp(&app.store->devTrx, &defaults.devTrx, sizeof defaults.devTrx), 0);
    QCOMPARE(app.store->tetraBand, 1);
    QCOMPARE(app.store->tetraLA, 10);
    QCOMPARE(app.store->antennaConfig, 0);
    // Nothing typed is lost: the channel number is in the working image.
    QCOMPARE(app.store->workTrx.chNo[0], 55);
}

void TestOperator::readAllFrequenciesFollowReadBand()
{
    Corvane app;
    app.goToTab(tetraTab);
    app.ui->Tetra_Band->setCurrentIndex(2);
    app.ui->Tetra_offset->setCurrentIndex(3);
    app.goToTab(transceiverTab);
    QCOMPARE(shown(app.ui->lcd_TXfreq), QStringLiteral("800.0125"));
    Corvane::click(app.ui->push_readAll);
    QCOMPARE(app.ui->Tetra_Band->currentIndex(), 1);
    QCOMPARE(shown(app.ui->lcd_TXfreq), QStringLiteral("400"));
    QCOMPARE(shown(app.ui->lcd_RXfreq), QStringLiteral("390"));
}

void TestOperator::readsRecolourRefilledFields()
{
    Corvane app;
    app.goToTab(tetraTab);
    Corvane::typeInto(app.ui->Tetra_CC, "99");
    Corvane::typeInto(app.ui->Tetra_LA, "");
    QVERIFY(app.isYellow(app.ui->Tetra_CC));
    Corvane::click(app.ui->push_tet_read);
    QVERIFY(app.isWhite(app.ui->Tetra_CC));
    QVERIFY(app.isWhite(app.ui->Tetra_LA));

    Corvane::typeInto(app.ui->Tetra_MNC, "");
    Corvane::click(app.ui->push_readAll);
    QVERIFY(app.isWhite(app.ui->Tetra_MNC));

    app.goToTab(networkTab);
    Corvane::typeInto(app.ui->Host_IPaddress, "1.2.3.999");
    Corvane::typeInto(app.ui->Host_nodeID, "");
    app.tick();
    QVERIFY(app.isYellow(app.ui->Host_IPaddress));
    Corvane::click(app.ui->push_Host_Read);
    QVERIFY(app.isWhite(app.ui->Host_IPaddress));
    QVERIFY(app.isWhite(app.ui->Host_nodeID));

    app.goToTab(transceiverTab);
    Corvane::typeInto(app.ui->lineEdit_chNo, "9999");
    app.tick();
    QVERIFY(app.isYellow(app.ui->lineEdit_chNo));
    Corvane::click(app.ui->push_trx_read);
    QVERIFY(app.isWhite(app.ui->lineEdit_chNo));
}

// A read refills fields without colouring those that never were.
void TestOperator::readsLeaveUncolouredFieldsPlain()
{
    Corvane app;
    app.tick();
    QList<QLineEdit *> plain;
    for (QLineEdit *e : app.ui->centralwidget->findChildren<QLineEdit *>()) {
        if (e->styleSheet().isEmpty())
            plain << e;
    }
    QVERIFY(plain.contains(app.ui->Tetra_CC));
    QVERIFY(plain.contains(app.ui->Host_nodeID));
    QVERIFY(plain.contains(app.ui->lineEdit_chNo));
    const QList<QPair<int, QPushButton *>> reads = {{tetraTab, app.ui->push_tet_read},
                                                    {networkTab, app.ui->push_Host_Read},
                                                    {transceiverTab, app.ui->push_trx_read},
                                                    {antennaTab, app.ui->push_AntennaGet},
                                                    {tetraTab, app.ui->push_readAll}};
    for (const auto &r : reads) {
        QPushButton *read = r.second;
        app.goToTab(r.first);
        Corvane::click(read);
        app.tick();
        for (QLineEdit *e : plain)
            QVERIFY2(e->styleSheet().isEmpty(),
                     qPrintable(read->objectName() + ": " + e->objectName()));
    }
}

void TestOperator::addressShorthandRefused()
{
    Corvane app;
    app.tick();
    const QHostAddress before = app.store->workIPaddress;
    for (const char *text : {"192.168.1", "010.0.0.1", "3232235777", "0x7f.1"}) {
        Corvane::typeInto(app.ui->Host_IPaddress, text);
        app.tick();
        QVERIFY2(app.isYellow(app.ui->Host_IPaddress), text);
        QCOMPARE(app.store->workIPaddress, before);
    }
}

// Every field set to a non-default valid value, written tab by tab, the form
// scrambled, and every tab read back.
void TestOperator::pasteLikeTyping_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("pasted");
    QTest::newRow("address, line break") << "Host_IPaddress"
                                         << "10.0.0.7\n";
    QTest::newRow("address, spaces") << "HostIPaddress2"
                                     << " 10.0.0.1 ";
    QTest::newRow("number, line break") << "Tetra_CC"
                                        << "12\r\n";
    QTest::newRow("number, space") << "Host_nodeID"
                                   << " 7";
    QTest::newRow("channel, tab") << "lineEdit_chNo"
                                  << "\t300\n";
}

void TestOperator::pasteLikeTyping()
{
    QFETCH(QString, field);
    QFETCH(QString, pasted);
    Corvane app;
    auto *edit = app.window->findChild<QLineEdit *>(field);
    app.goToTab(app.ui->tabWidget->indexOf(edit->parentWidget()));
    Corvane::paste(edit, pasted);
    app.tick();
    QCOMPARE(edit->text(), pasted.trimmed());
    QVERIFY(app.isWhite(edit));
}

// Tab moves down a column, left to right along a row, and up only into a
// column further right; «Читать» before «Уст.», the top buttons last.
void TestOperator::focusFollowsLayout_data()
{
    QTest::addColumn<int>("tab");
    QTest::newRow("antenna") << int(antennaTab);
    QTest::newRow("network") << int(networkTab);
    QTest::newRow("tetra") << int(tetraTab);
    QTest::newRow("transceiver") << int(transceiverTab);
}

void TestOperator::focusFollowsLayout()
{
    QFETCH(int, tab);
    Corvane app;
    app.goToTab(tab);
    QWidget *page = app.ui->tabWidget->widget(tab);
    app.ui->tabWidget->tabBar()->setFocus(Qt::TabFocusReason);
    QList<QWidget *> chain;
    while (chain.size() < 60) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *w = QApplication::focusWidget();
        if (w == app.ui->tabWidget->tabBar())
            break;
        chain << w;
    }
    QVERIFY(chain.size() > 2);
    QCOMPARE(chain.takeLast(), app.ui->push_setAll);
    QCOMPARE(chain.takeLast(), app.ui->push_readAll);
    int focusable = 0;
    for (QWidget *w : page->findChildren<QWidget *>())
        focusable +=
            (w->focusPolicy() & Qt::TabFocus) && w->isVisible() && !qobject_cast<QRadioButton *>(w);
    // Of the mode buttons, the checked one takes the focus.
    QCOMPARE(chain.size(), focusable + page->findChildren<QGroupBox *>().size());
    int columnLeft = 0; // back left of it only to the buttons below all columns
    for (int i = 1; i < chain.size(); ++i) {
        const QRect a(chain[i - 1]->mapTo(page, QPoint()), chain[i - 1]->size());
        const QRect b(chain[i]->mapTo(page, QPoint()), chain[i]->size());
        const bool down = b.top() > a.top();
        const bool right = b.top() == a.top() && b.left() > a.left();
        const bool nextColumn = b.left() > a.right();
        columnLeft = nextColumn ? b.left() : columnLeft;
        QVERIFY2((down || right || nextColumn) &&
                     (b.right() > columnLeft || qobject_cast<QPushButton *>(chain[i])),
                 qPrintable(chain[i - 1]->objectName() + " -> " + chain[i]->objectName()));
    }
}

void TestOperator::roundTripEveryField()
{
    Corvane app;
    MainWindowForm *ui = app.ui;

    app.goToTab(antennaTab);
    ui->Antenna_config->setCurrentIndex(1);
    ui->Antenna_maxPower->setCurrentIndex(2);
    ui->Antenna_duplexerType->setCurrentIndex(1);
    ui->Antenna_maxReflection->setCurrentIndex(2);
    Corvane::click(ui->push_AntennaSet);

    app.goToTab(networkTab);
    Corvane::typeInto(ui->Host_IPaddress, "10.11.12.13");
    Corvane::typeInto(ui->HostIPaddress2, "2001:db8::7");
    Corvane::typeInto(ui->Host_nodeID, "1023");
    Corvane::typeInto(ui->Host_clusterID, "512");
    ui->Host_Type->setCurrentIndex(2);
    Corvane::click(ui->Host_redundant);
    Corvane::typeInto(ui->Host_Name, QStringLiteral("узел-7"));
    Corvane::click(ui->push_Host_write);

    app.goToTab(tetraTab);
    const QList<QPair<QLineEdit *, QString>> numbers = {
        {ui->Tetra_CC, "15"},           {ui->Tetra_LA, "65535"},
        {ui->Tetra_staticPDCH_No, "3"}, {ui->Tetra_dynPDCH_No, "32"},
        {ui->Tetra_PDCH_maxTS, "4"},    {ui->Tetra_PDCH_maxMSperPDCH, "300"},
        {ui->Tetra_SCCH_No, "1"},       {ui->Tetra_MCC, "255"},
        {ui->Tetra_MNC, "1023"}};
    for (const auto &n : numbers)
        Corvane::typeInto(n.first, n.second);
    for (QComboBox *c : ui->tab_tetra->findChildren<QComboBox *>())
        c->setCurrentIndex((c->currentIndex() + 1) % c->count());
    for (QCheckBox *b : ui->tab_tetra->findChildren<QCheckBox *>())
        Corvane::click(b);
    Corvane::click(ui->push_trx_write_2);

    app.goToTab(transceiverTab);
    for (int i = 0; i < trxCount; ++i) {
        ui->TXnumber->setCurrentIndex(i);
        Corvane::typeInto(ui->lineEdit_chNo, QString::number(4096 - 3 * i));
        Corvane::typeInto(ui->lineEdit_cellIDX, QString::number((i + 2) % 4));
        Corvane::click(i % 3 == 0 ? ui->radioButton_inUse : ui->radioButton_backup);
    }
    Corvane::click(ui->push_trx_write);

    QCOMPARE(app.closer.count(), 5);
    for (const Notice &n : app.closer.notices.mid(1))
        QCOMPARE(n.informativeText, QStringLiteral("Успешно"));
    const QVariantMap antenna = snapshot(ui->tab_ant);
    const QVariantMap network = snapshot(ui->tab_network);
    const QVariantMap tetra = snapshot(ui->tab_tetra);
    const TransceiverTable trx = app.store->workTrx;

    // Scramble every tab.
    for (QComboBox *c : ui->centralwidget->findChildren<QComboBox *>()) {
        if (c != ui->TXnumber)
            c->setCurrentIndex(0);
    }
    for (QCheckBox *b : ui->centralwidget->findChildren<QCheckBox *>())
        b->setChecked(false);
    for (QLineEdit *e : ui->centralwidget->findChildren<QLineEdit *>())
        Corvane::typeInto(e, "1");
    for (int i = 0; i < trxCount; ++i) {
        ui->TXnumber->setCurrentIndex(i);
        Corvane::typeInto(ui->lineEdit_chNo, "0");
        Corvane::click(ui->radioButton_notUsed);
    }
    app.tick();
    QVERIFY(snapshot(ui->tab_tetra) != tetra);

    Corvane::click(ui->push_AntennaGet);
    Corvane::click(ui->push_Host_Read);
    Corvane::click(ui->push_tet_read);
    Corvane::click(ui->push_trx_read);
    QCOMPARE(snapshot(ui->tab_ant), antenna);
    QCOMPARE(snapshot(ui->tab_network), network);
    QCOMPARE(snapshot(ui->tab_tetra), tetra);
    QCOMPARE(memcmp(&trx, &app.store->workTrx, sizeof trx), 0);
    QCOMPARE(ui->Host_Name->text(), QStringLiteral("узел-7"));
    QCOMPARE(ui->HostIPaddress2->text(), QStringLiteral("2001:db8::7"));
}

CORVANE_TEST_MAIN(TestOperator)
#include "tst_operator.moc"
