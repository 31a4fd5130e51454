#pragma once

#include "storage/DataStorage.h"
#include "form/MainWindowForm.h"
#include "input/parsing.h"

#include <QButtonGroup>
#include <QIntValidator>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>
#include <QVector>

#include <deque>
#include <memory>

class NoticeBox;
class QLineEdit;

// An integer range that, as typing does, takes a pasted number with white
// space or a line break around it: the field keeps the number alone.
class NumberValidator : public QIntValidator
{
public:
    using QIntValidator::QIntValidator;
    State validate(QString &input, int &pos) const override
    {
        dropSurroundingSpace(input, &pos);
        return QIntValidator::validate(input, pos);
    }
};

// The configuration window: moves values between the form, the working
// image and the device image, and checks the operator's input.
class transceiver_master : public QMainWindow
{
    Q_OBJECT

public:
    explicit transceiver_master(QWidget *parent = nullptr);
    ~transceiver_master() override;

private slots:
    void on_lineEdit_chNo_textChanged(const QString &arg1);
    void on_inputTimerTick();
    void on_TXnumber_currentIndexChanged(int index);
    void on_lineEdit_cellIDX_textChanged(const QString &arg1);
    void on_push_trx_write_clicked();
    void TRX_mode_clicked(int id);
    void on_push_trx_read_clicked();
    void on_LineTextChanged(const QString &text);
    void on_push_trx_write_2_clicked();
    void on_push_tet_read_clicked();
    void on_Host_IPaddress_textEdited(const QString &arg1);
    void on_HostIPaddress2_textEdited(const QString &arg1);
    void on_push_Host_write_clicked();
    void on_push_Host_Read_clicked();
    void on_push_AntennaSet_clicked();
    void on_push_AntennaGet_clicked();
    void on_push_setAll_clicked();
    void on_push_readAll_clicked();
    void on_tabWidget_currentChanged(int index);

private:
    void showNotice(const QString &text, const QString &informativeText,
                    QMessageBox::Icon icon = QMessageBox::NoIcon);

    void showTransceiver();
    // tell: a screen reader says the new frequencies.
    void updateFrequencies(bool tell = false);

    void formToTetra();
    void tetraToForm();
    void formToHost();
    void hostToForm();
    void formToAntenna();
    void antennaToForm();

    // Parses the free-text fields of a tab into the working image, as the
    // input timer does; trx is the transceiver the fields were shown for.
    void takeInput(int tab, int trx);
    bool isAcceptable(QLineEdit *edit) const;
    void recolour(const QVector<QLineEdit *> &edits);
    // False, after marking the bad fields and telling the operator which
    // they are, when any of the fields is not acceptable.
    bool writeAllowed(const QVector<QLineEdit *> &edits);
    QVector<QLineEdit *> tetraFields();
    QVector<QLineEdit *> hostFields();
    QVector<QLineEdit *> trxFields() const;

    void installValidator(QLineEdit *edit, int max);
    // A field as the refused-write notice names it: caption, tab,
    // transceiver where it has one, and what it accepts.
    QString fieldLine(QLineEdit *edit) const;

    MainWindowForm *ui;
    QTimer inputTimer;
    DataStorage storage;
    QButtonGroup modeGroup;
    // One per number field of the TETRA and network tabs; a deque never
    // moves what it holds.
    std::deque<NumberValidator> validators;

    // Where the free-text fields' pending input belongs: the tab and the
    // transceiver on screen when it was typed.
    int shownTab = 0;
    int shownTrx = 0;

    std::unique_ptr<NoticeBox> notice; // made with the first

    friend class TestAccess;
};
