#include "transceiver_master.h"

#include "accessibility.h"
#include "parsing.h"
#include "ui_transceiver_master.h"

#include <QCoreApplication>
#include <QComboBox>
#include <QHash>
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
    // The styles set only the background: on a dark desktop palette the
    // text would stay light, unreadable on white or yellow.
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, Qt::black);
    edit->setPalette(palette);
    edit->setStyleSheet(acceptable ? acceptableStyle : notAcceptableStyle);
    // What the yellow says, for those who do not see it.
    describeInputProblem(edit, acceptable ? QString()
                                          : QCoreApplication::translate("transceiver_master",
                                                                        "Недопустимое значение"));
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

// A font as it is matched: resolving a font against its parent's fills in
// its list of families from its family (Qt 5), which changes nothing in the
// face it selects.
QFont asMatched(QFont font)
{
    if (font.families().isEmpty())
        font.setFamilies({font.family()});
    return font;
}

// uic builds each tab page apart and then adds it to the window; with Qt 5
// every widget on it gets a font change then, even when its font stays the
// same, and a combo box answers one by building its popup list. While this
// filter lives, a combo box's font change that leaves its font as it was at
// its previous event (its model's ChildAdded, as it is built) is dropped: its
// popup is then built when first opened, and takes the combo box's font then
// (the popup propagates fonts like a child widget).
class UnchangedComboFontFilter : public QObject
{
public:
    UnchangedComboFontFilter() { QCoreApplication::instance()->installEventFilter(this); }
    ~UnchangedComboFontFilter() override { QCoreApplication::instance()->removeEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *combo = qobject_cast<QComboBox *>(watched);
        if (!combo)
            return false;
        const QFont font = asMatched(combo->font());
        const auto before = fontBefore.constFind(combo);
        const bool unchanged = before != fontBefore.constEnd() && *before == font;
        fontBefore.insert(combo, font);
        return event->type() == QEvent::FontChange && unchanged;
    }

private:
    QHash<QComboBox *, QFont> fontBefore;
};

} // namespace

transceiver_master::transceiver_master(QWidget *parent)
    : QMainWindow(parent), ui(new MainWindowForm)
{
    inputTimer.setInterval(600);
    inputTimer.setSingleShot(true);
    connect(&inputTimer, SIGNAL(timeout()), this, SLOT(on_inputTimerTick()));

    installAccessibleInterfaces();
    {
        UnchangedComboFontFilter lazyPopups;
        ui->setupUi(this);
    }
    shownTab = ui->tabWidget->currentIndex();
    setUpTabKeys(ui->tabWidget);

    installValidator(0, ui->Tetra_CC, 15);
    installValidator(1, ui->Tetra_LA, 65535);
    installValidator(2, ui->Tetra_staticPDCH_No, 32);
    installValidator(3, ui->Tetra_dynPDCH_No, 32);
    installValidator(4, ui->Tetra_PDCH_maxTS, 32);
    installValidator(5, ui->Tetra_PDCH_maxMSperPDCH, 65535);
    installValidator(6, ui->Tetra_SCCH_No, 32);
    installValidator(7, ui->Tetra_MCC, 255);
    installValidator(8, ui->Tetra_MNC, 1023);

    modeGroup.addButton(ui->radioButton_notUsed, notUsed);
    modeGroup.addButton(ui->radioButton_backup, backup);
    modeGroup.addButton(ui->radioButton_inUse, inUse);
    // Emitted only for the operator's clicks, not for setChecked().
    connect(&modeGroup, &QButtonGroup::idClicked, this, &transceiver_master::TRX_mode_clicked);

    ui->lcd_TXfreq->setDigitCount(10);
    ui->lcd_RXfreq->setDigitCount(10);

    showTransceiver();

    installValidator(9, ui->Host_nodeID, 1023);
    installValidator(10, ui->Host_clusterID, 1023);

    showNotice(tr("Соединение"), tr("Нет связи. Включён демо-режим"));
}

transceiver_master::~transceiver_master()
{
    delete ui;
}

void transceiver_master::installValidator(int row, QLineEdit *edit, int max)
{
    // The C locale without group separators accepts exactly what toInt()
    // reads: the default locale would let "4,096" through as Acceptable.
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    QIntValidator &validator = validators[row];
    validator.setLocale(c);
    validator.setRange(0, max);
    edit->setValidator(&validator);
    connect(edit, &QLineEdit::textEdited, this, &transceiver_master::on_LineTextChanged);
}

void transceiver_master::showNotice(const QString &text, const QString &informativeText)
{
    QMessageBox box;
    box.setText(text);
    box.setInformativeText(informativeText);
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
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

void transceiver_master::updateFrequencies()
{
    const int band = ui->Tetra_Band->currentIndex();
    const float base = (band >= 0 && band < 3) ? bandBase[band] : bandBase[0];
    const int offsetIndex = ui->Tetra_offset->currentIndex();
    const float offset = (offsetIndex >= 0 && offsetIndex < 4) ? carrierOffset[offsetIndex] : 0.0f;
    const qint32 channel = storage.workTrx.chNo[ui->TXnumber->currentIndex()];

    showOnDisplay(ui->lcd_TXfreq, channel * channelSpacing + base + offset);
    showOnDisplay(ui->lcd_RXfreq, channel * channelSpacing + (base - duplexSpacing) + offset);
}

void transceiver_master::TRX_mode_clicked(int id)
{
    storage.workTrx.mode[ui->TXnumber->currentIndex()] = id;
}

void transceiver_master::on_TXnumber_currentIndexChanged(int index)
{
    Q_UNUSED(index)
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

void transceiver_master::on_lineEdit_chNo_textChanged(const QString &arg1)
{
    Q_UNUSED(arg1)
    inputTimer.start();
}

void transceiver_master::on_lineEdit_cellIDX_textChanged(const QString &arg1)
{
    Q_UNUSED(arg1)
    inputTimer.start();
}

void transceiver_master::on_Host_IPaddress_textEdited(const QString &arg1)
{
    Q_UNUSED(arg1)
    inputTimer.start();
}

void transceiver_master::on_HostIPaddress2_textEdited(const QString &arg1)
{
    Q_UNUSED(arg1)
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
        if (channelOk)
            updateFrequencies();
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
    QStringList captions;
    for (QLineEdit *edit : edits) {
        if (!isAcceptable(edit)) {
            paint(edit, false);
            captions << captionOf(edit);
        }
    }
    if (captions.isEmpty())
        return true;
    showNotice(tr("Запись"),
               tr("Не записано. Проверьте поля: ") + captions.join(QStringLiteral(", ")));
    return false;
}

QVector<QLineEdit *> transceiver_master::tetraFields() const
{
    return {ui->Tetra_CC,         ui->Tetra_LA,         ui->Tetra_staticPDCH_No,
            ui->Tetra_dynPDCH_No, ui->Tetra_PDCH_maxTS, ui->Tetra_PDCH_maxMSperPDCH,
            ui->Tetra_SCCH_No,    ui->Tetra_MCC,        ui->Tetra_MNC};
}

QVector<QLineEdit *> transceiver_master::hostFields() const
{
    return {ui->Host_IPaddress, ui->HostIPaddress2, ui->Host_nodeID, ui->Host_clusterID};
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
    storage.tetraCC = ui->Tetra_CC->text().toInt(nullptr, 10);
    storage.tetraLA = ui->Tetra_LA->text().toInt(nullptr, 10);
    storage.tetraBand = ui->Tetra_Band->currentIndex();
    storage.tetraOffset = ui->Tetra_offset->currentIndex();
    storage.tetraReverse = ui->Tetra_Reverse->isChecked();
    storage.tetraMaxMSpower = ui->Tetra_maxMSpower->currentIndex();
    storage.tetraMinAccessLevel = ui->Tetra_min_access_level->currentIndex();
    storage.tetraAccessParam = ui->Tetra_access_param->currentIndex();
    storage.tetraDownlinkTimeout = ui->Tetra_downlink_timeout->currentIndex();
    storage.tetraPriorityCell = ui->check_Tetra_priority_cell->isChecked();
    storage.tetraLocalFallback = ui->check_Tetra_localFallback->isChecked();
    storage.tetraStaticPDCHNo = ui->Tetra_staticPDCH_No->text().toInt(nullptr, 10);
    storage.tetraDynPDCHNo = ui->Tetra_dynPDCH_No->text().toInt(nullptr, 10);
    storage.tetraPDCHMaxTS = ui->Tetra_PDCH_maxTS->text().toInt(nullptr, 10);
    storage.tetraPDCHMaxMSperPDCH = ui->Tetra_PDCH_maxMSperPDCH->text().toInt(nullptr, 10);
    storage.tetraSCCHNo = ui->Tetra_SCCH_No->text().toInt(nullptr, 10);
    storage.tetraFastReselThrsh = ui->Tetra_Fast_resel_thrsh->currentIndex();
    storage.tetraFastReselHyst = ui->Tetra_Fast_resel_hyst->currentIndex();
    storage.tetraSlowReselThrsh = ui->Tetra_slowResel_thrsh->currentIndex();
    storage.tetraSlowReselHyst = ui->Tetra_slowResel_hyst->currentIndex();
    storage.tetraAllowAnnounceType = ui->Tetra_allowAnnounceType->isChecked();
    storage.tetraMinReselRSSI = ui->Tetra_minReselRSSI->currentIndex();
    storage.tetraRelinqRSSI = ui->Tetra_relinq_RSSI->currentIndex();
    storage.tetraImprovRSSI = ui->Tetra_improv_RSSI->currentIndex();
    storage.tetraDataOnlyBS = ui->check_Tetra_dataOnlyBS->isChecked();
    storage.tetraMCC = ui->Tetra_MCC->text().toInt(nullptr, 10);
    storage.tetraMNC = ui->Tetra_MNC->text().toInt(nullptr, 10);
}

void transceiver_master::tetraToForm()
{
    ui->Tetra_CC->setText(QString::number(storage.tetraCC, 10));
    ui->Tetra_LA->setText(QString::number(storage.tetraLA, 10));
    ui->Tetra_Band->setCurrentIndex(storage.tetraBand);
    ui->Tetra_offset->setCurrentIndex(storage.tetraOffset);
    ui->Tetra_Reverse->setChecked(storage.tetraReverse);
    ui->Tetra_maxMSpower->setCurrentIndex(storage.tetraMaxMSpower);
    ui->Tetra_min_access_level->setCurrentIndex(storage.tetraMinAccessLevel);
    ui->Tetra_access_param->setCurrentIndex(storage.tetraAccessParam);
    ui->Tetra_downlink_timeout->setCurrentIndex(storage.tetraDownlinkTimeout);
    ui->check_Tetra_priority_cell->setChecked(storage.tetraPriorityCell);
    ui->check_Tetra_localFallback->setChecked(storage.tetraLocalFallback);
    ui->Tetra_staticPDCH_No->setText(QString::number(storage.tetraStaticPDCHNo, 10));
    ui->Tetra_dynPDCH_No->setText(QString::number(storage.tetraDynPDCHNo, 10));
    ui->Tetra_PDCH_maxTS->setText(QString::number(storage.tetraPDCHMaxTS, 10));
    ui->Tetra_PDCH_maxMSperPDCH->setText(QString::number(storage.tetraPDCHMaxMSperPDCH, 10));
    ui->Tetra_SCCH_No->setText(QString::number(storage.tetraSCCHNo, 10));
    ui->Tetra_Fast_resel_thrsh->setCurrentIndex(storage.tetraFastReselThrsh);
    ui->Tetra_Fast_resel_hyst->setCurrentIndex(storage.tetraFastReselHyst);
    ui->Tetra_slowResel_thrsh->setCurrentIndex(storage.tetraSlowReselThrsh);
    ui->Tetra_slowResel_hyst->setCurrentIndex(storage.tetraSlowReselHyst);
    ui->Tetra_allowAnnounceType->setChecked(storage.tetraAllowAnnounceType);
    ui->Tetra_minReselRSSI->setCurrentIndex(storage.tetraMinReselRSSI);
    ui->Tetra_relinq_RSSI->setCurrentIndex(storage.tetraRelinqRSSI);
    ui->Tetra_improv_RSSI->setCurrentIndex(storage.tetraImprovRSSI);
    ui->check_Tetra_dataOnlyBS->setChecked(storage.tetraDataOnlyBS);
    ui->Tetra_MCC->setText(QString::number(storage.tetraMCC, 10));
    ui->Tetra_MNC->setText(QString::number(storage.tetraMNC, 10));
}

void transceiver_master::formToHost()
{
    // The addresses come from the working image, the last texts that parsed.
    storage.devIPaddress = storage.workIPaddress;
    storage.devIPaddress2 = storage.workIPaddress2;
    storage.hostNodeID = ui->Host_nodeID->text().toInt(nullptr, 10);
    storage.hostClusterID = ui->Host_clusterID->text().toInt(nullptr, 10);
    storage.hostType = ui->Host_Type->currentIndex();
    storage.hostRedundant = ui->Host_redundant->isChecked();
    storage.hostName = ui->Host_Name->text();
}

void transceiver_master::hostToForm()
{
    storage.workIPaddress = storage.devIPaddress;
    storage.workIPaddress2 = storage.devIPaddress2;
    ui->Host_IPaddress->setText(storage.workIPaddress.toString());
    ui->HostIPaddress2->setText(storage.workIPaddress2.toString());
    ui->Host_nodeID->setText(QString::number(storage.hostNodeID, 10));
    ui->Host_clusterID->setText(QString::number(storage.hostClusterID, 10));
    ui->Host_Type->setCurrentIndex(storage.hostType);
    ui->Host_redundant->setChecked(storage.hostRedundant);
    ui->Host_Name->setText(storage.hostName);
}

void transceiver_master::formToAntenna()
{
    storage.antennaConfig = ui->Antenna_config->currentIndex();
    storage.antennaMaxPower = ui->Antenna_maxPower->currentIndex();
    storage.antennaDuplexerType = ui->Antenna_duplexerType->currentIndex();
    storage.antennaMaxReflection = ui->Antenna_maxReflection->currentIndex();
}

void transceiver_master::antennaToForm()
{
    ui->Antenna_config->setCurrentIndex(storage.antennaConfig);
    ui->Antenna_maxPower->setCurrentIndex(storage.antennaMaxPower);
    ui->Antenna_duplexerType->setCurrentIndex(storage.antennaDuplexerType);
    ui->Antenna_maxReflection->setCurrentIndex(storage.antennaMaxReflection);
}
