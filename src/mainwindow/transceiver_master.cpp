#include "mainwindow/transceiver_master.h"

#include "mainwindow/notice.h"

#include "accessibility/accessibility.h"
#include "accessibility/focusorder.h"
#include "accessibility/keyboard.h"
#include "desktop/desktopfit.h"
#include "desktop/stylefit.h"
#include "ui_transceiver_master.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QLocale>
#include <QMessageBox>
#include <QPalette>
#include <QStringList>

namespace {

enum Tab { antennaTab = 0, networkTab = 1, tetraTab = 2, transceiverTab = 3 };

constexpr qint32 chNoMax = 4096;
constexpr qint32 cellIdxMax = 3;

// Indexed by the Tetra_Band and Tetra_offset items; other indexes fall back
// to 300 MHz and no offset.
constexpr float bandBase[] = {300.0f, 400.0f, 800.0f};
constexpr float carrierOffset[] = {-0.00625f, 0.0f, 0.00625f, 0.0125f};
constexpr double channelSpacing = 0.025;
constexpr float duplexSpacing = 10.0f;

const QString acceptableStyle = QStringLiteral("QLineEdit{ background-color: white }");
const QString notAcceptableStyle = QStringLiteral("QLineEdit{ background-color: yellow }");

void paint(QLineEdit *edit, bool acceptable)
{
    const bool wasAcceptable = edit->styleSheet() != notAcceptableStyle; // or never coloured
    edit->setStyleSheet(acceptable ? acceptableStyle : notAcceptableStyle);
    // The styles set only the background: on a dark desktop palette the
    // text would stay light, unreadable on white or yellow.
    keepTextReadable(edit);
    // What the yellow says, for those who do not see it: in the field's
    // description, before the range it takes (its tool tip), and told as it
    // changes while the operator is in the field.
    const QString wrong =
        QCoreApplication::translate("transceiver_master", "Недопустимое значение");
    const QString description =
        acceptable ? edit->toolTip() : wrong + QStringLiteral(". ") + edit->toolTip();
    if (edit->accessibleDescription() != description) // each change is an event
        edit->setAccessibleDescription(description);
    if (acceptable != wasAcceptable && edit->hasFocus())
        announce(edit, acceptable ? QCoreApplication::translate("transceiver_master",
                                                                "Допустимое значение")
                                  : wrong);
}

// The caption beside a field, for the refused-write notice: the label whose
// buddy it is.
QString captionOf(const QLineEdit *edit)
{
    for (const QLabel *label : edit->window()->findChildren<QLabel *>()) {
        if (label->buddy() == edit)
            return label->text();
    }
    return edit->objectName();
}

QString rangeText(int max)
{
    return QStringLiteral("0–%1").arg(max);
}

// A paste keeps no white space or line break around an address or number:
// what the field holds is what the operator sees.
void dropSurroundingSpace(QLineEdit *edit)
{
    QString text = edit->text();
    int cursor = edit->cursorPosition();
    if (!dropSurroundingSpace(text, &cursor))
        return;
    edit->setText(text);
    edit->setCursorPosition(cursor);
}

#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
// WORKAROUND(qt5-combo-font-change), Qt 5 only. uic builds each tab page apart
// and then adds it to the window, and Qt 5 then sends every widget on the page
// a font change, even when its font stays the same; a combo box answers one by
// building its popup list. While this filter lives, combo boxes get no font
// change at all: nothing else in one depends on it before it is first shown,
// and a popup built when first opened takes its combo box's font then (the
// popup propagates fonts like a child widget). Qt 6 leaves popups unbuilt
// without it, and Qt 6.8 builds each popup with the first item anyway.
class ComboFontChangeFilter : public QObject
{
public:
    ComboFontChangeFilter() { QCoreApplication::instance()->installEventFilter(this); }
    ~ComboFontChangeFilter() override { QCoreApplication::instance()->removeEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return event->type() == QEvent::FontChange && qobject_cast<QComboBox *>(watched);
    }
};
#endif

// A parameter of the TETRA, network or antenna tab: the widget holding its
// working value and the store field holding its device value.
struct Parameter {
    enum Kind { number, index, check, text } kind;
    union {
        QLineEdit *edit;
        QComboBox *combo;
        QCheckBox *box;
    };
    union {
        qint32 *integer;
        bool *flag;
        QString *string;
    };
    int max = 0; // a number's highest acceptable value, from 0

    Parameter(QLineEdit *w, qint32 &v, int max) : kind(number), edit(w), integer(&v), max(max) {}
    Parameter(QComboBox *w, qint32 &v) : kind(index), combo(w), integer(&v) {}
    Parameter(QCheckBox *w, bool &v) : kind(check), box(w), flag(&v) {}
    Parameter(QLineEdit *w, QString &v) : kind(text), edit(w), string(&v) {}
};
using Parameters = QVector<Parameter>;

// Each tab's parameters in the order its transfers visit them.
Parameters tetraParameters(MainWindowForm *ui, DataStorage &s)
{
    return {
        {ui->Tetra_CC, s.tetraCC, 15},
        {ui->Tetra_LA, s.tetraLA, 65535},
        {ui->Tetra_Band, s.tetraBand},
        {ui->Tetra_offset, s.tetraOffset},
        {ui->Tetra_Reverse, s.tetraReverse},
        {ui->Tetra_maxMSpower, s.tetraMaxMSpower},
        {ui->Tetra_min_access_level, s.tetraMinAccessLevel},
        {ui->Tetra_access_param, s.tetraAccessParam},
        {ui->Tetra_downlink_timeout, s.tetraDownlinkTimeout},
        {ui->check_Tetra_priority_cell, s.tetraPriorityCell},
        {ui->check_Tetra_localFallback, s.tetraLocalFallback},
        {ui->Tetra_staticPDCH_No, s.tetraStaticPDCHNo, 32},
        {ui->Tetra_dynPDCH_No, s.tetraDynPDCHNo, 32},
        {ui->Tetra_PDCH_maxTS, s.tetraPDCHMaxTS, 32},
        {ui->Tetra_PDCH_maxMSperPDCH, s.tetraPDCHMaxMSperPDCH, 65535},
        {ui->Tetra_SCCH_No, s.tetraSCCHNo, 32},
        {ui->Tetra_Fast_resel_thrsh, s.tetraFastReselThrsh},
        {ui->Tetra_Fast_resel_hyst, s.tetraFastReselHyst},
        {ui->Tetra_slowResel_thrsh, s.tetraSlowReselThrsh},
        {ui->Tetra_slowResel_hyst, s.tetraSlowReselHyst},
        {ui->Tetra_allowAnnounceType, s.tetraAllowAnnounceType},
        {ui->Tetra_minReselRSSI, s.tetraMinReselRSSI},
        {ui->Tetra_relinq_RSSI, s.tetraRelinqRSSI},
        {ui->Tetra_improv_RSSI, s.tetraImprovRSSI},
        {ui->check_Tetra_dataOnlyBS, s.tetraDataOnlyBS},
        {ui->Tetra_MCC, s.tetraMCC, 255},
        {ui->Tetra_MNC, s.tetraMNC, 1023},
    };
}

// The two addresses pass through the working image instead.
Parameters hostParameters(MainWindowForm *ui, DataStorage &s)
{
    return {
        {ui->Host_nodeID, s.hostNodeID, 1023}, {ui->Host_clusterID, s.hostClusterID, 1023},
        {ui->Host_Type, s.hostType},           {ui->Host_redundant, s.hostRedundant},
        {ui->Host_Name, s.hostName},
    };
}

Parameters antennaParameters(MainWindowForm *ui, DataStorage &s)
{
    return {
        {ui->Antenna_config, s.antennaConfig},
        {ui->Antenna_maxPower, s.antennaMaxPower},
        {ui->Antenna_duplexerType, s.antennaDuplexerType},
        {ui->Antenna_maxReflection, s.antennaMaxReflection},
    };
}

void toStore(const Parameters &parameters)
{
    for (const Parameter &p : parameters) {
        if (p.kind == Parameter::number)
            *p.integer = p.edit->text().toInt(nullptr, 10); // 0 for text that is not a number
        else if (p.kind == Parameter::index)
            *p.integer = p.combo->currentIndex();
        else if (p.kind == Parameter::check)
            *p.flag = p.box->isChecked();
        else
            *p.string = p.edit->text();
    }
}

void toForm(const Parameters &parameters)
{
    for (const Parameter &p : parameters) {
        if (p.kind == Parameter::number)
            p.edit->setText(QString::number(*p.integer, 10));
        else if (p.kind == Parameter::index)
            p.combo->setCurrentIndex(*p.integer);
        else if (p.kind == Parameter::check)
            p.box->setChecked(*p.flag);
        else
            p.edit->setText(*p.string);
    }
}

// The fields the refused-write check looks at.
QVector<QLineEdit *> numberFields(const Parameters &parameters)
{
    QVector<QLineEdit *> edits;
    for (const Parameter &p : parameters) {
        if (p.kind == Parameter::number)
            edits << p.edit;
    }
    return edits;
}

} // namespace

transceiver_master::transceiver_master(QWidget *parent)
    : QMainWindow(parent), ui(new MainWindowForm)
{
    inputTimer.setInterval(600);
    inputTimer.setSingleShot(true);
    connect(&inputTimer, SIGNAL(timeout()), this, SLOT(on_inputTimerTick()));

    installAccessibleInterfaces();
    {
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
        ComboFontChangeFilter lazyPopups;
#endif
        ui->setupUi(this);
        fitToStyleWhenShown(ui->tabWidget);
        // Moving the form into a scroll area re-sends fonts as well.
        fitToScreen(this);
    }
    keepReadable(ui->lcd_RXfreq);
    keepReadable(ui->lcd_TXfreq);
    shownTab = ui->tabWidget->currentIndex();
    showFocusMarkFromStart(this);
    setUpTabKeys(ui->tabWidget);
    makeFocusable({ui->lcd_RXfreq, ui->lcd_TXfreq});

    // A validator for each number field of a tab.
    const auto installValidators = [this](const Parameters &parameters) {
        for (const Parameter &parameter : parameters) {
            if (parameter.kind == Parameter::number)
                installValidator(parameter.edit, parameter.max);
        }
    };
    installValidators(tetraParameters(ui, storage));

    modeGroup.addButton(ui->radioButton_notUsed, notUsed);
    modeGroup.addButton(ui->radioButton_backup, backup);
    modeGroup.addButton(ui->radioButton_inUse, inUse);
    // Emitted only for the operator's clicks, not for setChecked().
    connect(&modeGroup, &QButtonGroup::idClicked, this, &transceiver_master::TRX_mode_clicked);

    ui->lcd_TXfreq->setDigitCount(10);
    ui->lcd_RXfreq->setDigitCount(10);

    showTransceiver();

    installValidators(hostParameters(ui, storage));
    // What a field accepts, as its tool tip: Qt gives a screen reader the
    // tool tip as the description of a widget that sets none.
    ui->lineEdit_chNo->setToolTip(rangeText(chNoMax));
    ui->lineEdit_cellIDX->setToolTip(rangeText(cellIdxMax));
    for (QLineEdit *edit : {ui->Host_IPaddress, ui->HostIPaddress2})
        edit->setToolTip(tr("IPv4 или IPv6"));

    // The fields checked only when the input timer fires have no validator
    // to trim a paste.
    for (QLineEdit *edit :
         {ui->Host_IPaddress, ui->HostIPaddress2, ui->lineEdit_chNo, ui->lineEdit_cellIDX}) {
        connect(edit, &QLineEdit::textEdited, this, [edit] { dropSurroundingSpace(edit); });
    }
    orderFocusByLayout(ui->centralwidget);

    showNotice(tr("Соединение"), tr("Нет связи. Включён демо-режим"));
}

transceiver_master::~transceiver_master()
{
    delete ui;
}

void transceiver_master::installValidator(QLineEdit *edit, int max)
{
    // The C locale without group separators accepts exactly what toInt()
    // reads: the default locale would let "4,096" through as Acceptable.
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    NumberValidator &validator = validators.emplace_back(0, max);
    validator.setLocale(c);
    edit->setValidator(&validator);
    edit->setToolTip(rangeText(max));
    connect(edit, &QLineEdit::textEdited, this, &transceiver_master::on_LineTextChanged);
    // A refused keystroke is told with the range the field takes.
    connect(edit, &QLineEdit::inputRejected, this, [edit] {
        if (edit->hasFocus())
            announce(edit, tr("Вне диапазона ") + edit->toolTip());
    });
}

void transceiver_master::showNotice(const QString &text, const QString &informativeText,
                                    QMessageBox::Icon icon)
{
    if (!notice)
        notice = std::make_unique<NoticeBox>();
    notice->exec(text, informativeText, icon);
}

// ---- Transceiver view and frequencies ----

void transceiver_master::showTransceiver()
{
    const int trx = ui->TXnumber->currentIndex();
    if (QAbstractButton *button = modeGroup.button(storage.workTrx.mode[trx]))
        button->setChecked(true);
    shownTrx = trx;
    ui->lineEdit_chNo->setText(QString::number(storage.workTrx.chNo[trx], 10));
    ui->lineEdit_cellIDX->setText(QString::number(storage.workTrx.cellIDX[trx], 10));
    recolour(trxFields());
    updateFrequencies();
}

void transceiver_master::updateFrequencies(bool tell)
{
    const int band = ui->Tetra_Band->currentIndex();
    const float base = (band >= 0 && band < 3) ? bandBase[band] : bandBase[0];
    const int offsetIndex = ui->Tetra_offset->currentIndex();
    const float offset = (offsetIndex >= 0 && offsetIndex < 4) ? carrierOffset[offsetIndex] : 0.0f;
    const qint32 channel = storage.workTrx.chNo[ui->TXnumber->currentIndex()];

    const bool txChanged = showOnDisplay(ui->lcd_TXfreq, channel * channelSpacing + base + offset);
    const bool rxChanged =
        showOnDisplay(ui->lcd_RXfreq, channel * channelSpacing + (base - duplexSpacing) + offset);
    if (tell && (txChanged || rxChanged))
        announceDisplays({ui->lcd_RXfreq, ui->lcd_TXfreq});
}

void transceiver_master::TRX_mode_clicked(int id)
{
    storage.workTrx.mode[ui->TXnumber->currentIndex()] = id;
}

void transceiver_master::on_TXnumber_currentIndexChanged(int)
{
    // Input typed for the transceiver that was on screen belongs to it.
    if (inputTimer.isActive())
        takeInput(transceiverTab, shownTrx);
    showTransceiver();
}

void transceiver_master::on_tabWidget_currentChanged(int index)
{
    // Input still pending belongs to the tab it was typed on.
    if (inputTimer.isActive())
        takeInput(shownTab, shownTrx);
    shownTab = index;
    updateFrequencies();
}

// ---- Input checking ----

void transceiver_master::on_lineEdit_chNo_textChanged(const QString &)
{
    inputTimer.start();
}

void transceiver_master::on_lineEdit_cellIDX_textChanged(const QString &)
{
    inputTimer.start();
}

void transceiver_master::on_Host_IPaddress_textEdited(const QString &)
{
    inputTimer.start();
}

void transceiver_master::on_HostIPaddress2_textEdited(const QString &)
{
    inputTimer.start();
}

void transceiver_master::on_LineTextChanged(const QString &text)
{
    auto *edit = qobject_cast<QLineEdit *>(sender());
    if (!edit || !edit->validator())
        return;
    QString input = text;
    int pos = 0;
    paint(edit, edit->validator()->validate(input, pos) == QValidator::Acceptable);
}

void transceiver_master::on_inputTimerTick()
{
    takeInput(ui->tabWidget->currentIndex(), ui->TXnumber->currentIndex());
}

void transceiver_master::takeInput(int tab, int trx)
{
    if (tab == networkTab) {
        paint(ui->Host_IPaddress,
              parseHostAddress(ui->Host_IPaddress->text(), &storage.workIPaddress));
        paint(ui->HostIPaddress2,
              parseHostAddress(ui->HostIPaddress2->text(), &storage.workIPaddress2));
    } else if (tab == transceiverTab) {
        const bool channelOk =
            parseIntInRange(ui->lineEdit_chNo->text(), &storage.workTrx.chNo[trx], 0, chNoMax);
        paint(ui->lineEdit_chNo, channelOk);
        if (channelOk) // told while the operator is on the tab
            updateFrequencies(tab == ui->tabWidget->currentIndex());
        paint(ui->lineEdit_cellIDX, parseIntInRange(ui->lineEdit_cellIDX->text(),
                                                    &storage.workTrx.cellIDX[trx], 0, cellIdxMax));
    }
}

bool transceiver_master::isAcceptable(QLineEdit *edit) const
{
    if (const QValidator *validator = edit->validator()) {
        QString text = edit->text();
        int pos = 0;
        return validator->validate(text, pos) == QValidator::Acceptable;
    }
    qint32 number = 0;
    if (edit == ui->lineEdit_chNo)
        return parseIntInRange(edit->text(), &number, 0, chNoMax);
    if (edit == ui->lineEdit_cellIDX)
        return parseIntInRange(edit->text(), &number, 0, cellIdxMax);
    QHostAddress address;
    return parseHostAddress(edit->text(), &address);
}

void transceiver_master::recolour(const QVector<QLineEdit *> &edits)
{
    // A field never coloured yet keeps its plain look: styling a line edit
    // costs a style sheet, which nothing at start-up needs.
    for (QLineEdit *edit : edits) {
        if (!edit->styleSheet().isEmpty())
            paint(edit, isAcceptable(edit));
    }
}

bool transceiver_master::writeAllowed(const QVector<QLineEdit *> &edits)
{
    QStringList lines;
    for (QLineEdit *edit : edits) {
        if (!isAcceptable(edit)) {
            paint(edit, false);
            lines << fieldLine(edit);
        }
    }
    if (lines.isEmpty())
        return true;
    showNotice(tr("Запись"),
               tr("Не записано. Проверьте поля:") + QLatin1Char('\n') +
                   lines.join(QLatin1Char('\n')),
               QMessageBox::Warning);
    return false;
}

QString transceiver_master::fieldLine(QLineEdit *edit) const
{
    QWidget *page = edit->parentWidget();
    const QString tab = ui->tabWidget->tabText(ui->tabWidget->indexOf(page));
    const QString where = page == ui->tab_transceiver
                              ? tr("«%1» трансивера %2 на вкладке «%3»")
                                    .arg(captionOf(edit), ui->TXnumber->currentText(), tab)
                              : tr("«%1» на вкладке «%2»").arg(captionOf(edit), tab);
    return where + QStringLiteral(": ") + edit->toolTip();
}

QVector<QLineEdit *> transceiver_master::tetraFields()
{
    return numberFields(tetraParameters(ui, storage));
}

QVector<QLineEdit *> transceiver_master::hostFields()
{
    return QVector<QLineEdit *>{ui->Host_IPaddress, ui->HostIPaddress2} +
           numberFields(hostParameters(ui, storage));
}

QVector<QLineEdit *> transceiver_master::trxFields() const
{
    return {ui->lineEdit_chNo, ui->lineEdit_cellIDX};
}

// ---- Read and write actions ----

void transceiver_master::on_push_trx_write_clicked()
{
    takeInput(transceiverTab, ui->TXnumber->currentIndex());
    if (!writeAllowed(trxFields()))
        return;
    storage.devTrx = storage.workTrx;
    showNotice(tr("Запись"), tr("Успешно"));
}

void transceiver_master::on_push_trx_read_clicked()
{
    showNotice(tr("Чтение"), tr("Успешно"));
    storage.workTrx = storage.devTrx;
    showTransceiver();
}

void transceiver_master::on_push_trx_write_2_clicked()
{
    if (!writeAllowed(tetraFields()))
        return;
    formToTetra();
    showNotice(tr("Запись"), tr("Успешно"));
}

void transceiver_master::on_push_tet_read_clicked()
{
    showNotice(tr("Чтение"), tr("Успешно"));
    tetraToForm();
    recolour(tetraFields());
}

void transceiver_master::on_push_Host_write_clicked()
{
    takeInput(networkTab, ui->TXnumber->currentIndex());
    if (!writeAllowed(hostFields()))
        return;
    formToHost();
    showNotice(tr("Запись"), tr("Успешно"));
}

void transceiver_master::on_push_Host_Read_clicked()
{
    showNotice(tr("Чтение"), tr("Успешно"));
    hostToForm();
    recolour(hostFields());
}

void transceiver_master::on_push_AntennaSet_clicked()
{
    formToAntenna();
    showNotice(tr("Запись"), tr("Успешно"));
}

void transceiver_master::on_push_AntennaGet_clicked()
{
    showNotice(tr("Чтение"), tr("Успешно"));
    antennaToForm();
}

void transceiver_master::on_push_setAll_clicked()
{
    takeInput(transceiverTab, ui->TXnumber->currentIndex());
    if (!writeAllowed(tetraFields() + trxFields()))
        return;
    storage.devTrx = storage.workTrx;
    formToTetra();
    formToAntenna();
    showNotice(tr("Запись"), tr("Успешно"));
}

void transceiver_master::on_push_readAll_clicked()
{
    showNotice(tr("Чтение"), tr("Успешно"));
    storage.workTrx = storage.devTrx;
    tetraToForm();
    recolour(tetraFields());
    antennaToForm();
    // After the band and offset are read, so the frequencies follow them.
    showTransceiver();
}

// ---- Transfers between the form and the device image ----

void transceiver_master::formToTetra()
{
    toStore(tetraParameters(ui, storage));
}

void transceiver_master::tetraToForm()
{
    toForm(tetraParameters(ui, storage));
}

void transceiver_master::formToHost()
{
    // The addresses come from the working image, the last texts that parsed.
    storage.devIPaddress = storage.workIPaddress;
    storage.devIPaddress2 = storage.workIPaddress2;
    toStore(hostParameters(ui, storage));
}

void transceiver_master::hostToForm()
{
    storage.workIPaddress = storage.devIPaddress;
    storage.workIPaddress2 = storage.devIPaddress2;
    ui->Host_IPaddress->setText(storage.workIPaddress.toString());
    ui->HostIPaddress2->setText(storage.workIPaddress2.toString());
    toForm(hostParameters(ui, storage));
}

void transceiver_master::formToAntenna()
{
    toStore(antennaParameters(ui, storage));
}

void transceiver_master::antennaToForm()
{
    toForm(antennaParameters(ui, storage));
}
