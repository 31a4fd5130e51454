// The form as built by setupUi: widget tree, geometry, captions, item lists
// and the frequency displays.
#include "testmain.h"
#include "form/MainWindowForm.h"
#include "desktop/desktopfit.h"
#include "desktop/stylefit.h"
#include "ui_transceiver_master.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <vector>

namespace {

struct WidgetRow {
    const char *name;
    const char *className;
    const char *parent;
    QRect geometry; // null: not placed by the form
};

// Every widget of the form, in creation order.
const WidgetRow widgetRows[] = {
    {"centralwidget", "QWidget", "transceiver_master", {}},
    {"tabWidget", "QTabWidget", "centralwidget", {10, 50, 531, 541}},
    {"tab_ant", "QWidget", "qt_tabwidget_stackedwidget", {}},
    {"Antenna_config", "QComboBox", "tab_ant", {210, 30, 281, 32}},
    {"label_34", "QLabel", "tab_ant", {20, 30, 171, 31}},
    {"Antenna_maxPower", "QComboBox", "tab_ant", {210, 70, 281, 32}},
    {"label_35", "QLabel", "tab_ant", {20, 70, 171, 31}},
    {"Antenna_duplexerType", "QComboBox", "tab_ant", {210, 110, 281, 32}},
    {"label_36", "QLabel", "tab_ant", {20, 110, 171, 31}},
    {"Antenna_maxReflection", "QComboBox", "tab_ant", {210, 150, 281, 32}},
    {"label_37", "QLabel", "tab_ant", {20, 150, 191, 31}},
    {"push_AntennaGet", "QPushButton", "tab_ant", {30, 260, 101, 31}},
    {"push_AntennaSet", "QPushButton", "tab_ant", {390, 260, 91, 31}},
    {"tab_network", "QWidget", "qt_tabwidget_stackedwidget", {}},
    {"Host_IPaddress", "QLineEdit", "tab_network", {220, 40, 251, 21}},
    {"HostIPaddress2", "QLineEdit", "tab_network", {220, 70, 251, 21}},
    {"Host_nodeID", "QLineEdit", "tab_network", {220, 100, 251, 21}},
    {"Host_clusterID", "QLineEdit", "tab_network", {220, 130, 251, 21}},
    {"Host_Type", "QComboBox", "tab_network", {220, 160, 141, 32}},
    {"Host_redundant", "QCheckBox", "tab_network", {20, 200, 221, 20}},
    {"Host_Name", "QLineEdit", "tab_network", {220, 230, 251, 21}},
    {"push_Host_write", "QPushButton", "tab_network", {390, 270, 91, 31}},
    {"push_Host_Read", "QPushButton", "tab_network", {30, 270, 101, 31}},
    {"label_28", "QLabel", "tab_network", {20, 40, 161, 21}},
    {"label_29", "QLabel", "tab_network", {20, 70, 161, 21}},
    {"label_30", "QLabel", "tab_network", {20, 100, 191, 21}},
    {"label_31", "QLabel", "tab_network", {20, 130, 191, 21}},
    {"label_32", "QLabel", "tab_network", {20, 160, 161, 21}},
    {"label_33", "QLabel", "tab_network", {20, 230, 161, 21}},
    {"tab_tetra", "QWidget", "qt_tabwidget_stackedwidget", {}},
    {"label_6", "QLabel", "tab_tetra", {0, 40, 131, 20}},
    {"Tetra_CC", "QLineEdit", "tab_tetra", {160, 40, 81, 22}},
    {"Tetra_LA", "QLineEdit", "tab_tetra", {160, 70, 81, 22}},
    {"label_7", "QLabel", "tab_tetra", {0, 70, 131, 20}},
    {"Tetra_staticPDCH_No", "QLineEdit", "tab_tetra", {160, 350, 81, 22}},
    {"label_8", "QLabel", "tab_tetra", {0, 99, 131, 31}},
    {"Tetra_Band", "QComboBox", "tab_tetra", {140, 100, 101, 32}},
    {"Tetra_offset", "QComboBox", "tab_tetra", {140, 130, 101, 32}},
    {"label_9", "QLabel", "tab_tetra", {0, 130, 131, 31}},
    {"Tetra_maxMSpower", "QComboBox", "tab_tetra", {140, 180, 101, 32}},
    {"label_10", "QLabel", "tab_tetra", {0, 180, 131, 31}},
    {"Tetra_Reverse", "QCheckBox", "tab_tetra", {0, 160, 181, 20}},
    {"Tetra_min_access_level", "QComboBox", "tab_tetra", {140, 210, 101, 32}},
    {"label_11", "QLabel", "tab_tetra", {0, 210, 151, 31}},
    {"Tetra_access_param", "QComboBox", "tab_tetra", {140, 240, 101, 32}},
    {"label_12", "QLabel", "tab_tetra", {0, 240, 151, 31}},
    {"Tetra_downlink_timeout", "QComboBox", "tab_tetra", {140, 270, 101, 32}},
    {"label_13", "QLabel", "tab_tetra", {0, 270, 151, 31}},
    {"check_Tetra_priority_cell", "QCheckBox", "tab_tetra", {0, 300, 181, 20}},
    {"check_Tetra_localFallback", "QCheckBox", "tab_tetra", {0, 320, 181, 20}},
    {"label_14", "QLabel", "tab_tetra", {0, 350, 151, 31}},
    {"label_15", "QLabel", "tab_tetra", {0, 380, 151, 31}},
    {"Tetra_dynPDCH_No", "QLineEdit", "tab_tetra", {160, 380, 81, 22}},
    {"label_16", "QLabel", "tab_tetra", {0, 410, 151, 31}},
    {"Tetra_PDCH_maxTS", "QLineEdit", "tab_tetra", {160, 410, 81, 22}},
    {"label_17", "QLabel", "tab_tetra", {0, 440, 151, 31}},
    {"Tetra_PDCH_maxMSperPDCH", "QLineEdit", "tab_tetra", {160, 440, 81, 22}},
    {"label_18", "QLabel", "tab_tetra", {0, 470, 151, 31}},
    {"Tetra_SCCH_No", "QLineEdit", "tab_tetra", {160, 470, 81, 22}},
    {"Tetra_Fast_resel_thrsh", "QComboBox", "tab_tetra", {400, 40, 111, 32}},
    {"label_19", "QLabel", "tab_tetra", {250, 40, 151, 31}},
    {"Tetra_Fast_resel_hyst", "QComboBox", "tab_tetra", {400, 80, 111, 32}},
    {"label_20", "QLabel", "tab_tetra", {250, 80, 151, 31}},
    {"Tetra_slowResel_thrsh", "QComboBox", "tab_tetra", {400, 120, 111, 32}},
    {"label_21", "QLabel", "tab_tetra", {250, 120, 151, 31}},
    {"Tetra_slowResel_hyst", "QComboBox", "tab_tetra", {400, 160, 111, 32}},
    {"label_22", "QLabel", "tab_tetra", {250, 160, 151, 31}},
    {"Tetra_minReselRSSI", "QComboBox", "tab_tetra", {400, 230, 111, 32}},
    {"label_23", "QLabel", "tab_tetra", {250, 230, 151, 31}},
    {"Tetra_relinq_RSSI", "QComboBox", "tab_tetra", {400, 270, 111, 32}},
    {"label_24", "QLabel", "tab_tetra", {250, 270, 151, 31}},
    {"Tetra_improv_RSSI", "QComboBox", "tab_tetra", {400, 310, 111, 32}},
    {"label_25", "QLabel", "tab_tetra", {250, 310, 151, 31}},
    {"check_Tetra_dataOnlyBS", "QCheckBox", "tab_tetra", {260, 350, 181, 20}},
    {"label_26", "QLabel", "tab_tetra", {350, 380, 61, 31}},
    {"Tetra_MCC", "QLineEdit", "tab_tetra", {420, 380, 81, 22}},
    {"label_27", "QLabel", "tab_tetra", {350, 420, 61, 31}},
    {"Tetra_MNC", "QLineEdit", "tab_tetra", {420, 420, 81, 22}},
    {"Tetra_allowAnnounceType", "QCheckBox", "tab_tetra", {250, 200, 191, 20}},
    {"push_trx_write_2", "QPushButton", "tab_tetra", {400, 460, 91, 31}},
    {"push_tet_read", "QPushButton", "tab_tetra", {260, 460, 101, 31}},
    {"tab_transceiver", "QWidget", "qt_tabwidget_stackedwidget", {}},
    {"lineEdit_cellIDX", "QLineEdit", "tab_transceiver", {190, 290, 191, 22}},
    {"lineEdit_chNo", "QLineEdit", "tab_transceiver", {190, 180, 191, 22}},
    {"label", "QLabel", "tab_transceiver", {40, 180, 121, 20}},
    {"label_2", "QLabel", "tab_transceiver", {40, 210, 131, 20}},
    {"push_trx_write", "QPushButton", "tab_transceiver", {380, 470, 91, 31}},
    {"push_trx_read", "QPushButton", "tab_transceiver", {20, 470, 101, 31}},
    {"lcd_RXfreq", "QLCDNumber", "tab_transceiver", {190, 210, 191, 23}},
    {"label_3", "QLabel", "tab_transceiver", {40, 250, 131, 20}},
    {"lcd_TXfreq", "QLCDNumber", "tab_transceiver", {190, 250, 191, 23}},
    {"label_4", "QLabel", "tab_transceiver", {40, 290, 101, 20}},
    {"groupBox", "QGroupBox", "tab_transceiver", {40, 91, 341, 31}},
    {"radioButton_notUsed", "QRadioButton", "groupBox", {10, 10, 82, 17}},
    {"radioButton_inUse", "QRadioButton", "groupBox", {120, 10, 101, 17}},
    {"radioButton_backup", "QRadioButton", "groupBox", {230, 10, 101, 17}},
    {"TXnumber", "QComboBox", "tab_transceiver", {230, 41, 61, 32}},
    {"label_5", "QLabel", "tab_transceiver", {100, 40, 131, 31}},
    {"push_setAll", "QPushButton", "centralwidget", {370, 10, 161, 31}},
    {"push_readAll", "QPushButton", "centralwidget", {30, 10, 161, 31}},
};

} // namespace

class TestForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void cleanupTestCase();

    void widgets_data();
    void widgets();
    void tabPagesInOrder();
    void focusChainFollowsCreationOrder();
    void captions_data();
    void captions();
    void windowAndTabTexts();
    void comboItems_data();
    void comboItems();
    void lineEditLimits();
    void checkBoxes();
    void radioButtons();
    void frequencyDisplays();
    void displayPalettes_data();
    void displayPalettes();
    void windowSizeAndFont();
    void captionsFit_data();
    void captionsFit();
    void displaysReadable_data();
    void displaysReadable();
    void scrollsOnlyWhereShort_data();
    void scrollsOnlyWhereShort();
    void reachableOnSmallScreen_data();
    void reachableOnSmallScreen();
    void accessibleNames_data();
    void accessibleNames();

private:
    QMainWindow *window = nullptr;
    MainWindowForm form;
    QByteArray windowFor; // the function whose rows share the window
};

namespace {

// Rows of these only read the form as built, so they share one window: one
// per row, in a desktop style, cost most of the run.
bool onlyReads(const QByteArray &function)
{
    return QByteArrayList{"widgets", "captions", "comboItems", "displayPalettes", "accessibleNames"}
        .contains(function);
}

} // namespace

void TestForm::init()
{
    const QByteArray function = QTest::currentTestFunction();
    if (window && function == windowFor)
        return;
    delete window;
    window = new QMainWindow;
    form.setupUi(window);
    windowFor = onlyReads(function) ? function : QByteArray();
}

void TestForm::cleanup()
{
    if (windowFor.isEmpty()) {
        delete window;
        window = nullptr;
    }
}

void TestForm::cleanupTestCase()
{
    delete window;
}

void TestForm::widgets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("geometry");
    for (const WidgetRow &r : widgetRows)
        QTest::newRow(r.name) << QString::fromLatin1(r.name) << QString::fromLatin1(r.className)
                              << QString::fromLatin1(r.parent) << r.geometry;
}

void TestForm::widgets()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, parentName);
    QFETCH(QRect, geometry);

    auto *w = window->findChild<QWidget *>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(QString::fromLatin1(w->metaObject()->className()), className);
    if (parentName == "transceiver_master")
        QCOMPARE(w->parentWidget(), window);
    else
        QCOMPARE(w->parentWidget()->objectName(), parentName);
    if (!geometry.isNull())
        QCOMPARE(w->geometry(), geometry);
}

void TestForm::tabPagesInOrder()
{
    QCOMPARE(form.tabWidget->count(), 4);
    QCOMPARE(form.tabWidget->widget(0), form.tab_ant);
    QCOMPARE(form.tabWidget->widget(1), form.tab_network);
    QCOMPARE(form.tabWidget->widget(2), form.tab_tetra);
    QCOMPARE(form.tabWidget->widget(3), form.tab_transceiver);
    QCOMPARE(form.tabWidget->currentIndex(), 1);
}

// With no explicit tab order, Tab moves through the widgets in the order
// they were created, page by page, the two global buttons last.
void TestForm::focusChainFollowsCreationOrder()
{
    QStringList expected;
    for (const WidgetRow &r : widgetRows)
        expected << QString::fromLatin1(r.name);
    QStringList chain;
    for (QWidget *w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        if (expected.contains(w->objectName()) && !chain.contains(w->objectName()))
            chain << w->objectName();
    }
    QCOMPARE(chain, expected);
}

void TestForm::captions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("label_34") << "label_34" << QStringLiteral("Конфигурация антенны");
    QTest::newRow("label_35") << "label_35" << QStringLiteral("Выходная мощность");
    QTest::newRow("label_36") << "label_36" << QStringLiteral("Тип дуплексера");
    QTest::newRow("label_37") << "label_37" << QStringLiteral("Макс. отражённая мощность");
    QTest::newRow("push_AntennaGet") << "push_AntennaGet" << QStringLiteral("Читать");
    QTest::newRow("push_AntennaSet") << "push_AntennaSet" << QStringLiteral("Уст.");
    QTest::newRow("Host_IPaddress") << "Host_IPaddress" << QStringLiteral("0.0.0.0");
    QTest::newRow("HostIPaddress2") << "HostIPaddress2" << QStringLiteral("0.0.0.0");
    QTest::newRow("Host_nodeID") << "Host_nodeID" << QStringLiteral("0");
    QTest::newRow("Host_clusterID") << "Host_clusterID" << QStringLiteral("0");
    QTest::newRow("Host_redundant")
        << "Host_redundant" << QStringLiteral("Резервный") + QString(34, QLatin1Char(' '));
    QTest::newRow("Host_Name") << "Host_Name" << QStringLiteral("");
    QTest::newRow("push_Host_write") << "push_Host_write" << QStringLiteral("Уст.");
    QTest::newRow("push_Host_Read") << "push_Host_Read" << QStringLiteral("Читать");
    QTest::newRow("label_28") << "label_28" << QStringLiteral("IP адрес");
    QTest::newRow("label_29") << "label_29" << QStringLiteral("IP адрес 2");
    QTest::newRow("label_30") << "label_30" << QStringLiteral("Идентификатор узла ISC");
    QTest::newRow("label_31") << "label_31" << QStringLiteral("Идентификатор кластера ISC");
    QTest::newRow("label_32") << "label_32" << QStringLiteral("Тип");
    QTest::newRow("label_33") << "label_33" << QStringLiteral("Имя узла");
    QTest::newRow("label_6") << "label_6" << QStringLiteral("Цветовой код (CC)");
    QTest::newRow("Tetra_CC") << "Tetra_CC" << QStringLiteral("10");
    QTest::newRow("Tetra_LA") << "Tetra_LA" << QStringLiteral("10");
    QTest::newRow("label_7") << "label_7" << QStringLiteral("Номер зоны (LA)");
    QTest::newRow("Tetra_staticPDCH_No") << "Tetra_staticPDCH_No" << QStringLiteral("0");
    QTest::newRow("label_8") << "label_8" << QStringLiteral("Диапазон");
    QTest::newRow("label_9") << "label_9" << QStringLiteral("Смещение");
    QTest::newRow("label_10") << "label_10" << QStringLiteral("Макс. мощн. АС");
    QTest::newRow("Tetra_Reverse")
        << "Tetra_Reverse" << QStringLiteral("Обратить") + QString(26, QLatin1Char(' '));
    QTest::newRow("label_11") << "label_11" << QStringLiteral("Мин. уровень доступа");
    QTest::newRow("label_12") << "label_12" << QStringLiteral("Параметр доступа");
    QTest::newRow("label_13") << "label_13" << QStringLiteral("Таймаут БС->АС");
    QTest::newRow("check_Tetra_priority_cell")
        << "check_Tetra_priority_cell"
        << QStringLiteral("Приоритетн. ячейка") + QString(9, QLatin1Char(' '));
    QTest::newRow("check_Tetra_localFallback")
        << "check_Tetra_localFallback"
        << QStringLiteral("Локальн. резерв") + QString(15, QLatin1Char(' '));
    QTest::newRow("label_14") << "label_14" << QStringLiteral("Колич. статич. PDCH");
    QTest::newRow("label_15") << "label_15" << QStringLiteral("Колич. динам. PDCH");
    QTest::newRow("Tetra_dynPDCH_No") << "Tetra_dynPDCH_No" << QStringLiteral("0");
    QTest::newRow("label_16") << "label_16" << QStringLiteral("Макс. таймслотов");
    QTest::newRow("Tetra_PDCH_maxTS") << "Tetra_PDCH_maxTS" << QStringLiteral("2");
    QTest::newRow("label_17") << "label_17" << QStringLiteral("Макс. АС на PDCH");
    QTest::newRow("Tetra_PDCH_maxMSperPDCH") << "Tetra_PDCH_maxMSperPDCH" << QStringLiteral("1");
    QTest::newRow("label_18") << "label_18" << QStringLiteral("Количество SCCH");
    QTest::newRow("Tetra_SCCH_No") << "Tetra_SCCH_No" << QStringLiteral("0");
    QTest::newRow("label_19") << "label_19" << QStringLiteral("Порог быстр. перевыб.");
    QTest::newRow("label_20") << "label_20" << QStringLiteral("Гист. быстр. перевыб.");
    QTest::newRow("label_21") << "label_21" << QStringLiteral("Порог медл. перевыб.");
    QTest::newRow("label_22") << "label_22" << QStringLiteral("Гист. медл. перевыб.");
    QTest::newRow("label_23") << "label_23" << QStringLiteral("Мин. RSSI перевыбора");
    QTest::newRow("label_24") << "label_24" << QStringLiteral("Порог возможн. откл.");
    QTest::newRow("label_25") << "label_25" << QStringLiteral("Порог улучш. канала.");
    QTest::newRow("check_Tetra_dataOnlyBS")
        << "check_Tetra_dataOnlyBS"
        << QStringLiteral("БС только для данных") + QString(6, QLatin1Char(' '));
    QTest::newRow("label_26") << "label_26" << QStringLiteral("MCC");
    QTest::newRow("Tetra_MCC") << "Tetra_MCC" << QStringLiteral("250");
    QTest::newRow("label_27") << "label_27" << QStringLiteral("MNC");
    QTest::newRow("Tetra_MNC") << "Tetra_MNC" << QStringLiteral("800");
    QTest::newRow("Tetra_allowAnnounceType")
        << "Tetra_allowAnnounceType"
        << QStringLiteral("Разрешить анонс") + QString(16, QLatin1Char(' '));
    QTest::newRow("push_trx_write_2") << "push_trx_write_2" << QStringLiteral("Уст.");
    QTest::newRow("push_tet_read") << "push_tet_read" << QStringLiteral("Читать");
    QTest::newRow("lineEdit_cellIDX") << "lineEdit_cellIDX" << QStringLiteral("2");
    QTest::newRow("lineEdit_chNo") << "lineEdit_chNo" << QStringLiteral("1");
    QTest::newRow("label") << "label" << QStringLiteral("Номер канала");
    QTest::newRow("label_2") << "label_2" << QStringLiteral("Частота приёма");
    QTest::newRow("push_trx_write") << "push_trx_write" << QStringLiteral("Уст.");
    QTest::newRow("push_trx_read") << "push_trx_read" << QStringLiteral("Читать");
    QTest::newRow("label_3") << "label_3" << QStringLiteral("Частота передачи");
    QTest::newRow("label_4") << "label_4" << QStringLiteral("Cell IDX");
    QTest::newRow("groupBox") << "groupBox" << QStringLiteral("");
    QTest::newRow("radioButton_notUsed") << "radioButton_notUsed" << QStringLiteral("Не исп.");
    QTest::newRow("radioButton_inUse") << "radioButton_inUse" << QStringLiteral("В работе");
    QTest::newRow("radioButton_backup") << "radioButton_backup" << QStringLiteral("В резерве");
    QTest::newRow("label_5") << "label_5" << QStringLiteral("Номер трансивера");
    QTest::newRow("push_setAll") << "push_setAll" << QStringLiteral("Уст. всё кроме IP");
    QTest::newRow("push_readAll") << "push_readAll" << QStringLiteral("Читать всё кроме IP");
}

void TestForm::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QObject *w = window->findChild<QObject *>(name);
    QVERIFY(w);
    QString shown;
    if (auto *label = qobject_cast<QLabel *>(w))
        shown = label->text();
    else if (auto *button = qobject_cast<QAbstractButton *>(w))
        shown = button->text();
    else if (auto *edit = qobject_cast<QLineEdit *>(w))
        shown = edit->text();
    else if (auto *box = qobject_cast<QGroupBox *>(w))
        shown = box->title();
    else
        QFAIL("widget without a caption");
    QCOMPARE(shown, text);
    QCOMPARE(shown.size(), text.size());
}

void TestForm::windowAndTabTexts()
{
    QCOMPARE(window->objectName(), QStringLiteral("transceiver_master"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Corvane"));
    QCOMPARE(form.tabWidget->tabText(0), QStringLiteral("АФУ"));
    QCOMPARE(form.tabWidget->tabText(1), QStringLiteral("IP параметры"));
    QCOMPARE(form.tabWidget->tabText(2), QStringLiteral("TETRA"));
    QCOMPARE(form.tabWidget->tabText(3), QStringLiteral("Трансивер"));
}

void TestForm::comboItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("initialIndex");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("Antenna_config")
        << "Antenna_config" << 0
        << QStringList{QStringLiteral("RX 1&2"), QStringLiteral("RX 1"), QStringLiteral("RX 2")};
    QTest::newRow("Antenna_maxPower")
        << "Antenna_maxPower" << 0
        << QStringList{QStringLiteral("44 дБмВт (25Вт)"), QStringLiteral("40 дБмВт (10Вт)"),
                       QStringLiteral("47 дБмВт (50Вт)")};
    QTest::newRow("Antenna_duplexerType")
        << "Antenna_duplexerType" << 0
        << QStringList{QStringLiteral("Varholm/Kordis 412-427 МГц"),
                       QStringLiteral("Varholm/Kordis 390-405 МГц"),
                       QStringLiteral("Generic 410-422 МГц")};
    QTest::newRow("Antenna_maxReflection")
        << "Antenna_maxReflection" << 0
        << QStringList{QStringLiteral("30 дБмВт (1Вт)"), QStringLiteral("33 дБмВт (2Вт)"),
                       QStringLiteral("37 дБмВт (5Вт)")};
    QTest::newRow("Host_Type") << "Host_Type" << 1
                               << QStringList{QStringLiteral("QB300"), QStringLiteral("QB400"),
                                              QStringLiteral("QB800")};
    QTest::newRow("Tetra_Band") << "Tetra_Band" << 1
                                << QStringList{QStringLiteral("300 МГц"), QStringLiteral("400 МГц"),
                                               QStringLiteral("800 МГц")};
    QTest::newRow("Tetra_offset") << "Tetra_offset" << 1
                                  << QStringList{
                                         QStringLiteral("-6.25 КГц"), QStringLiteral("0.00 КГц"),
                                         QStringLiteral("6.25 КГц"), QStringLiteral("12.5КГц")};
    QTest::newRow("Tetra_maxMSpower")
        << "Tetra_maxMSpower" << 0
        << QStringList{QStringLiteral("40 дБмВт"), QStringLiteral("37 дБмВт"),
                       QStringLiteral("33 дБмВт"), QStringLiteral("30 дБмВт")};
    QTest::newRow("Tetra_min_access_level")
        << "Tetra_min_access_level" << 2
        << QStringList{QStringLiteral("-115 дБмВт"), QStringLiteral("-110 дБмВт"),
                       QStringLiteral("-105 дБмВт"), QStringLiteral("-100 дБмВт"),
                       QStringLiteral("-90 дБмВт")};
    QTest::newRow("Tetra_access_param")
        << "Tetra_access_param" << 1
        << QStringList{QStringLiteral("-36 дБмВт"), QStringLiteral("-33 дБмВт"),
                       QStringLiteral("-30 дБмВт")};
    QTest::newRow("Tetra_downlink_timeout")
        << "Tetra_downlink_timeout" << 1
        << QStringList{QStringLiteral("640 ТС"), QStringLiteral("720 ТС"),
                       QStringLiteral("860 ТС")};
    QTest::newRow("Tetra_Fast_resel_thrsh")
        << "Tetra_Fast_resel_thrsh" << 2
        << QStringList{QStringLiteral("20 дБ"), QStringLiteral("17 дБ"), QStringLiteral("14 дБ"),
                       QStringLiteral("11 дБ"), QStringLiteral("9 дБ")};
    QTest::newRow("Tetra_Fast_resel_hyst")
        << "Tetra_Fast_resel_hyst" << 1
        << QStringList{QStringLiteral("14 дБ"), QStringLiteral("10 дБ"), QStringLiteral("6 дБ"),
                       QStringLiteral("3 дБ")};
    QTest::newRow("Tetra_slowResel_thrsh")
        << "Tetra_slowResel_thrsh" << 2
        << QStringList{QStringLiteral("20 дБ"), QStringLiteral("17 дБ"), QStringLiteral("14 дБ"),
                       QStringLiteral("11 дБ"), QStringLiteral("9 дБ")};
    QTest::newRow("Tetra_slowResel_hyst")
        << "Tetra_slowResel_hyst" << 2
        << QStringList{QStringLiteral("17 дБ"), QStringLiteral("14 дБ"), QStringLiteral("10 дБ"),
                       QStringLiteral("6 дБ")};
    QTest::newRow("Tetra_minReselRSSI")
        << "Tetra_minReselRSSI" << 2
        << QStringList{QStringLiteral("-115 дБмвт"), QStringLiteral("-110 дБмвт"),
                       QStringLiteral("-105 дБмвт"), QStringLiteral("-100 дБмвт"),
                       QStringLiteral("-90 дБмвт")};
    QTest::newRow("Tetra_relinq_RSSI")
        << "Tetra_relinq_RSSI" << 2
        << QStringList{QStringLiteral("-100 дБмвт"), QStringLiteral("-96 дБмвт"),
                       QStringLiteral("-91 дБмвт"), QStringLiteral("-87 дБмвт")};
    QTest::newRow("Tetra_improv_RSSI")
        << "Tetra_improv_RSSI" << 2
        << QStringList{QStringLiteral("-87 дБмвт"), QStringLiteral("-82 дБмвт"),
                       QStringLiteral("-77 дБмвт"), QStringLiteral("-72 дБмвт"),
                       QStringLiteral("-67 дБмвт")};
    QTest::newRow("TXnumber") << "TXnumber" << 0
                              << QStringList{QStringLiteral("1"), QStringLiteral("2"),
                                             QStringLiteral("3"), QStringLiteral("4"),
                                             QStringLiteral("5"), QStringLiteral("6"),
                                             QStringLiteral("7"), QStringLiteral("8")};
}

void TestForm::comboItems()
{
    QFETCH(QString, name);
    QFETCH(int, initialIndex);
    QFETCH(QStringList, items);
    auto *combo = window->findChild<QComboBox *>(name);
    QVERIFY(combo);
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i)
        shown << combo->itemText(i);
    QCOMPARE(shown, items);
    QCOMPARE(combo->currentIndex(), initialIndex);
    QCOMPARE(combo->currentText(), items.at(initialIndex));
    QVERIFY(!combo->isEditable());
}

void TestForm::lineEditLimits()
{
    const QStringList sixtyFour = {"Host_IPaddress", "HostIPaddress2", "Host_Name"};
    const QStringList five = {"Host_nodeID", "Host_clusterID"};
    const int defaultLimit = QLineEdit().maxLength();
    const auto edits = window->findChildren<QLineEdit *>(QString(), Qt::FindChildrenRecursively);
    for (QLineEdit *edit : edits) {
        if (edit->objectName().isEmpty() || edit->objectName().startsWith("qt_"))
            continue;
        const int expected = sixtyFour.contains(edit->objectName()) ? 64
                             : five.contains(edit->objectName())    ? 5
                                                                    : defaultLimit;
        QCOMPARE(edit->maxLength(), expected);
        QVERIFY(!edit->validator());
        QVERIFY(edit->styleSheet().isEmpty());
    }
}

void TestForm::checkBoxes()
{
    const auto boxes = window->findChildren<QCheckBox *>();
    for (QCheckBox *box : boxes) {
        QCOMPARE(box->layoutDirection(), Qt::RightToLeft);
        QVERIFY(!box->isChecked());
    }
}

void TestForm::radioButtons()
{
    QVERIFY(form.radioButton_notUsed->isChecked());
    QVERIFY(!form.radioButton_inUse->isChecked());
    QVERIFY(!form.radioButton_backup->isChecked());
}

void TestForm::frequencyDisplays()
{
    QLCDNumber *rx = form.lcd_RXfreq;
    QLCDNumber *tx = form.lcd_TXfreq;
    QCOMPARE(rx->font().family(), QStringLiteral("DejaVu Sans Condensed"));
    QCOMPARE(rx->font().pointSize(), 10);
    QVERIFY(rx->font().bold());
    QCOMPARE(rx->font().weight(), int(QFont::Bold));
    QVERIFY(!rx->font().italic());
    QCOMPARE(rx->lineWidth(), 0);
    QCOMPARE(rx->midLineWidth(), 0);
    QVERIFY(!rx->smallDecimalPoint());
    QCOMPARE(rx->digitCount(), 8);
    QCOMPARE(rx->segmentStyle(), QLCDNumber::Flat);
    QCOMPARE(rx->value(), 390.0);

    QCOMPARE(tx->font(), window->font());
    QCOMPARE(tx->lineWidth(), 0);
    QCOMPARE(tx->midLineWidth(), 0);
    QCOMPARE(tx->digitCount(), 5);
    QCOMPARE(tx->segmentStyle(), QLCDNumber::Flat);
    QCOMPARE(tx->value(), 0.0);
}

void TestForm::displayPalettes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("role");
    QTest::addColumn<QColor>("color");
    const QPalette::ColorGroup groups[] = {QPalette::Active, QPalette::Inactive,
                                           QPalette::Disabled};
    struct Entry {
        QPalette::ColorRole role;
        QColor colors[3];
    };
    const Entry rx[] = {
        {QPalette::WindowText, {{0, 0, 0, 216}, {0, 0, 0, 216}, {0, 0, 0, 120}}},
        {QPalette::Dark, {{0, 0, 0, 120}, {0, 0, 0, 120}, {0, 0, 0, 120}}},
        {QPalette::Mid, {{110, 105, 103}, {110, 105, 103}, {110, 105, 103}}},
        {QPalette::Text, {{103, 104, 102, 217}, {103, 104, 102, 217}, {0, 0, 0, 120}}},
        {QPalette::ButtonText, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0, 120}}},
        {QPalette::PlaceholderText, {{0, 0, 0, 128}, {0, 0, 0, 128}, {0, 0, 0, 128}}},
    };
    const Entry tx[] = {
        {QPalette::WindowText, {{0, 0, 0, 216}, {0, 0, 0, 216}, {0, 0, 0}}},
        {QPalette::Dark, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
        {QPalette::Text, {{0, 0, 0, 216}, {0, 0, 0, 216}, {0, 0, 0}}},
        {QPalette::ButtonText, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
        {QPalette::PlaceholderText, {{0, 0, 0, 128}, {0, 0, 0, 128}, {0, 0, 0, 128}}},
    };
    for (int g = 0; g < 3; ++g) {
        for (const Entry &e : rx)
            QTest::addRow("rx %d %d", g, int(e.role))
                << "lcd_RXfreq" << int(groups[g]) << int(e.role) << e.colors[g];
        for (const Entry &e : tx)
            QTest::addRow("tx %d %d", g, int(e.role))
                << "lcd_TXfreq" << int(groups[g]) << int(e.role) << e.colors[g];
    }
}

void TestForm::displayPalettes()
{
    QFETCH(QString, name);
    QFETCH(int, group);
    QFETCH(int, role);
    QFETCH(QColor, color);
    auto *lcd = window->findChild<QLCDNumber *>(name);
    const QBrush brush =
        lcd->palette().brush(QPalette::ColorGroup(group), QPalette::ColorRole(role));
    QCOMPARE(brush.style(), Qt::SolidPattern);
    QCOMPARE(brush.color(), color);
}

void TestForm::windowSizeAndFont()
{
    QCOMPARE(window->size(), QSize(547, 597));
    QCOMPARE(window->minimumSize(), QSize(547, 597));
    QCOMPARE(window->maximumSize(), QSize(548, 598));
    QCOMPARE(window->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(window->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(window->sizePolicy().horizontalStretch(), 0);
    QCOMPARE(window->font().family(), QStringLiteral("DejaVu Sans Condensed"));
    QCOMPARE(window->font().pointSize(), 10);
    QCOMPARE(form.Tetra_CC->font(), window->font());
}

namespace {

// How far what a button draws reaches from the side its box is on: the
// right for a right-to-left button.
int inkSpan(QAbstractButton *button)
{
    const QImage shown = button->grab().toImage();
    const QRgb page = button->parentWidget()->palette().color(QPalette::Window).rgb();
    int first = shown.width(), last = -1;
    for (int x = 0; x < shown.width(); ++x) {
        for (int y = 0; y < shown.height(); ++y) {
            if (shown.pixel(x, y) != page) {
                first = qMin(first, x);
                last = x;
            }
        }
    }
    return button->layoutDirection() == Qt::RightToLeft ? shown.width() - first : last + 1;
}

} // namespace

// Every caption shows whole: its text is no wider than the room the style
// leaves it; a combo box's longest item is drawn whole beside the arrow; a
// line edit's frame stands out from the page and from the field. Run at the
// platform's density and again at another one (CTest sets QT_FONT_DPI),
// where the form must scale rather than grow its fonts; with the program's
// font set over a bold or an italic desktop font; and in each desktop style
// (CTest sets QT_STYLE_OVERRIDE), fitted to it as the program fits it.
void TestForm::captionsFit_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("desktopFont");
    const QByteArrayList captioned = {"QLabel",      "QCheckBox", "QRadioButton",
                                      "QPushButton", "QComboBox", "QLineEdit"};
    // The desktop's bold and italic fonts in the default style; a style's
    // own rows, the plain font.
    std::vector<const char *> desktopFonts = {""};
    if (qEnvironmentVariableIsEmpty("QT_STYLE_OVERRIDE"))
        desktopFonts.insert(desktopFonts.end(), {"bold ", "italic "});
    for (const char *desktopFont : desktopFonts) {
        for (const WidgetRow &r : widgetRows) {
            // The tab pages stand for their tabs.
            if (captioned.contains(r.className) ||
                QByteArray(r.parent) == "qt_tabwidget_stackedwidget")
                QTest::addRow("%s%s", desktopFont, r.name)
                    << QString::fromLatin1(r.name) << QString::fromLatin1(desktopFont);
        }
    }
}

void TestForm::captionsFit()
{
    QFETCH(QString, name);
    QFETCH(QString, desktopFont);
    const QFont desktop = QApplication::font();
    const auto restore = qScopeGuard([&] { QApplication::setFont(desktop); });
    QFont font = desktop;
    font.setBold(desktopFont == "bold ");
    font.setItalic(desktopFont == "italic ");
    QApplication::setFont(font);
    setUpApplication();
    auto *w = window->findChild<QWidget *>(name);
    for (QWidget *page = w; page; page = page->parentWidget()) {
        if (form.tabWidget->indexOf(page) >= 0)
            form.tabWidget->setCurrentWidget(page);
    }
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    fitToStyle(form.tabWidget);
    const QFontMetrics fm = w->fontMetrics();
    QString text;
    QRect room;
    if (auto *combo = qobject_cast<QComboBox *>(w)) {
        // Each item drawn: its dark pixels span its whole width.
        for (int i = 0; i < combo->count(); ++i) {
            combo->setCurrentIndex(i);
            const QImage shown = combo->grab().toImage();
            int first = shown.width(), last = -1;
            for (int x = 0; x < shown.width(); ++x) {
                for (int y = shown.height() / 4; y < shown.height() * 3 / 4; ++y) {
                    if (qGray(shown.pixel(x, y)) < 110) {
                        first = qMin(first, x);
                        last = x;
                    }
                }
            }
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const QRect arrow = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                               QStyle::SC_ComboBoxArrow, combo);
            // The arrow's own dark pixels do not count.
            last = qMin(last, arrow.left() - 1);
            const int drawn = last - first + 1, whole = fm.horizontalAdvance(combo->itemText(i));
            QVERIFY2(drawn >= whole - 3, qPrintable(QStringLiteral("%1 of %2 px drawn: %3")
                                                        .arg(drawn)
                                                        .arg(whole)
                                                        .arg(combo->itemText(i))));
        }
        return;
    }
    if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        // Framed as it starts, as a white field and as a yellow one.
        const QColor page = edit->parentWidget()->palette().color(QPalette::Window);
        for (const char *sheet : {"", "QLineEdit{ background-color: white }",
                                  "QLineEdit{ background-color: yellow }"}) {
            edit->setStyleSheet(QString::fromLatin1(sheet));
            const QImage shown = edit->grab().toImage();
            const int y = shown.height() / 2;
            const QColor inside = shown.pixelColor(shown.width() * 3 / 4, y);
            // Kvantum draws its theme's field where a program asks for white.
            const QColor asked(QString::fromLatin1(sheet).section(' ', 2, 2));
            if (*sheet && (asked != Qt::white || QApplication::style()->objectName() != "kvantum"))
                QCOMPARE(inside, asked);
            bool framed = false;
            for (int x = 0; x < 3; ++x) {
                const QColor edge = shown.pixelColor(x, y);
                framed = framed ||
                         (contrastRatio(edge, page) >= 1.3 && contrastRatio(edge, inside) >= 1.3);
            }
            QVERIFY2(framed, sheet);
        }
        return;
    }
    if (auto *label = qobject_cast<QLabel *>(w)) {
        text = label->text();
        room = label->contentsRect();
    } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = text = button->text();
        const QStyle::SubElement element =
            qobject_cast<QCheckBox *>(w)      ? QStyle::SE_CheckBoxContents
            : qobject_cast<QRadioButton *>(w) ? QStyle::SE_RadioButtonContents
                                              : QStyle::SE_PushButtonContents;
        room = button->style()->subElementRect(element, &option, button);
        if (element != QStyle::SE_PushButtonContents) {
            // As drawn: no more of it shows on a box wider by the whole
            // caption.
            const QRect at = button->geometry();
            const int shown = inkSpan(button);
            const int whole = fm.horizontalAdvance(button->text());
            button->setGeometry(button->layoutDirection() == Qt::RightToLeft
                                    ? at.adjusted(-whole, 0, 0, 0)
                                    : at.adjusted(0, 0, whole, 0));
            const int wider = inkSpan(button);
            button->setGeometry(at);
            // A glyph's edge may stand over its advance by a pixel.
            QVERIFY2(wider - shown <= 1,
                     qPrintable(QStringLiteral("%1 columns of %2 shown").arg(shown).arg(wider)));
        }
    } else {
        QTabBar *bar = form.tabWidget->tabBar();
        const int index = form.tabWidget->indexOf(w);
        text = bar->tabText(index);
        room = bar->tabRect(index);
        // No scroll arrows: the whole tab is on the bar.
        QVERIFY(bar->rect().contains(room));
    }
    QVERIFY(!text.isEmpty());
    // Trailing spaces count: in the right-to-left check boxes they push the
    // caption's first letters out of the box.
    QVERIFY2(fm.horizontalAdvance(text) <= room.width(),
             qPrintable(QStringLiteral("%1 px of text in %2 px: %3")
                            .arg(fm.horizontalAdvance(text))
                            .arg(room.width())
                            .arg(text)));
    QVERIFY(fm.height() <= room.height());
    QVERIFY(!w->font().bold() && !w->font().italic());
}

void TestForm::displaysReadable_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("default") << QApplication::palette();
    QTest::newRow("dark") << QPalette(QColor(0x53, 0x53, 0x55), QColor(0x35, 0x35, 0x35));
    QTest::newRow("high contrast") << QPalette(Qt::black, Qt::black);
}

// The frequencies as drawn under a desktop's palette: their darkest and
// lightest pixels at a contrast of at least 4.5:1.
void TestForm::displaysReadable()
{
    QFETCH(QPalette, palette);
    keepReadable(form.lcd_RXfreq);
    keepReadable(form.lcd_TXfreq);
    const QPalette desktop = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(desktop); });
    QApplication::setPalette(palette);
    form.tabWidget->setCurrentIndex(3);
    for (QLCDNumber *lcd : {form.lcd_RXfreq, form.lcd_TXfreq}) {
        const QImage shown = window->grab({lcd->mapTo(window, QPoint()), lcd->size()}).toImage();
        QColor dark = Qt::white, light = Qt::black;
        for (int i = 0; i < shown.width() * shown.height(); ++i) {
            const QColor c = shown.pixelColor(i % shown.width(), i / shown.width());
            dark = qGray(c.rgb()) < qGray(dark.rgb()) ? c : dark;
            light = qGray(c.rgb()) > qGray(light.rgb()) ? c : light;
        }
        QVERIFY2(contrastRatio(dark, light) >= 4.5, qPrintable(lcd->objectName()));
    }
}

void TestForm::scrollsOnlyWhereShort_data()
{
    QTest::addColumn<QSize>("room");
    QTest::addColumn<bool>("scrolls");
    QTest::newRow("1366x768, title bar") << QSize(1366 - 16, 768 - 40) << false;
    QTest::newRow("the form's own size") << QSize(547, 597) << false;
    QTest::newRow("a pixel too low") << QSize(547, 596) << true;
    QTest::newRow("a pixel too narrow") << QSize(546, 597) << true;
}

// Where the form fits, the window stays as the form made it: fixed, unscrolled.
void TestForm::scrollsOnlyWhereShort()
{
    QFETCH(QSize, room);
    QFETCH(bool, scrolls);
    const QSize minimum = window->minimumSize(), maximum = window->maximumSize();
    fitInto(window, room);
    QCOMPARE(bool(qobject_cast<QScrollArea *>(window->centralWidget())), scrolls);
    if (!scrolls) {
        QCOMPARE(window->minimumSize(), minimum);
        QCOMPARE(window->maximumSize(), maximum);
    }
}

void TestForm::reachableOnSmallScreen_data()
{
    accessibleNames_data();
}

// On 1366x768 at 125 % less a title bar, the window fits, and each input,
// focused or else scrolled to, is in view and takes a click there.
void TestForm::reachableOnSmallScreen()
{
    QFETCH(QString, name);
    fitInto(window, QSize(1093 - 16, 614 - 40));
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window) && window->height() <= 614 - 40);
    fitToStyle(form.tabWidget);
    QVERIFY(form.centralwidget->rect().contains(form.tabWidget->geometry()));
    auto *w = window->findChild<QWidget *>(name);
    for (QWidget *page = w; page; page = page->parentWidget()) {
        if (form.tabWidget->indexOf(page) >= 0)
            form.tabWidget->setCurrentWidget(page);
    }
    auto *area = qobject_cast<QScrollArea *>(window->centralWidget());
    QVERIFY(area);
    w->setFocus(Qt::TabFocusReason);
    if (!w->hasFocus())
        area->ensureWidgetVisible(w); // a display or a frame: scrolled to by hand
    const QRect at(w->mapTo(window, QPoint()), w->size());
    QVERIFY(
        QRect(area->viewport()->mapTo(window, QPoint()), area->viewport()->size()).contains(at));
    QVERIFY(window->childAt(at.center()) == w || w->isAncestorOf(window->childAt(at.center())));
}

namespace {

// The label a sighted operator reads beside a field: on its left, sharing
// most of its height, the nearest of those.
QLabel *labelBeside(const QWidget *field)
{
    QLabel *best = nullptr;
    int bestScore = 0;
    for (QLabel *label :
         field->parentWidget()->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly)) {
        const QRect l = label->geometry();
        const QRect f = field->geometry();
        const int overlap = qMin(l.bottom(), f.bottom()) - qMax(l.top(), f.top()) + 1;
        if (l.left() >= f.left() || overlap <= 0)
            continue;
        const int score = overlap * 10000 + l.left();
        if (score > bestScore) {
            best = label;
            bestScore = score;
        }
    }
    return best;
}

QString accessibleText(QWidget *w, QAccessible::Text what)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(what) : QString();
}

} // namespace

// What a screen reader announces for each input, through QAccessible.
void TestForm::accessibleNames_data()
{
    QTest::addColumn<QString>("name");
    const QByteArrayList inputs = {"QLineEdit",    "QComboBox", "QLCDNumber", "QCheckBox",
                                   "QRadioButton", "QGroupBox", "QPushButton"};
    // Every input the form builds, listed above or not.
    QMainWindow built;
    MainWindowForm().setupUi(&built);
    for (const QWidget *w : built.findChildren<QWidget *>()) {
        if (inputs.contains(w->metaObject()->className()))
            QTest::newRow(qPrintable(w->objectName())) << w->objectName();
    }
}

void TestForm::accessibleNames()
{
    QFETCH(QString, name);
    auto *w = window->findChild<QWidget *>(name);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    QVERIFY(iface);
    const QString announced = iface->text(QAccessible::Name);
    QCOMPARE(announced, announced.trimmed());

    if (qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w) ||
        qobject_cast<QLCDNumber *>(w)) {
        // Named by the caption beside it, through the label relation (a
        // combo box's own name is its current item).
        const QLabel *beside = labelBeside(w);
        QVERIFY(beside);
        const auto labels = iface->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first().first->text(QAccessible::Name), beside->text());
        if (!qobject_cast<QComboBox *>(w))
            QVERIFY2(announced.startsWith(beside->text()), qPrintable(announced));
        if (qobject_cast<QLCDNumber *>(w))
            QVERIFY2(announced.endsWith(QStringLiteral("МГц")), qPrintable(announced));
    } else if (auto *check = qobject_cast<QCheckBox *>(w)) {
        QCOMPARE(announced, check->text().trimmed());
    } else if (auto *radio = qobject_cast<QRadioButton *>(w)) {
        QCOMPARE(announced, radio->text());
        QVERIFY(!accessibleText(radio->parentWidget(), QAccessible::Name).isEmpty());
    } else if (auto *button = qobject_cast<QPushButton *>(w)) {
        // "Уст." and "Читать" stand on every tab: the description tells
        // them apart.
        QCOMPARE(announced, button->text());
        const QString description = iface->text(QAccessible::Description);
        QVERIFY(!description.isEmpty());
        for (QPushButton *other : window->findChildren<QPushButton *>()) {
            if (other != button)
                QVERIFY(accessibleText(other, QAccessible::Description) != description);
        }
    }
    QVERIFY2(!announced.isEmpty(), qPrintable(name));
}

CORVANE_TEST_MAIN(TestForm)
#include "tst_form.moc"
