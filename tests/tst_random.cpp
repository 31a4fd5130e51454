// Random operator input against the real window, from a fixed seed so that
// every run does the same. CORVANE_SEED picks another seed, or a fresh one
// with CORVANE_SEED=random; the seed is printed for replay. CORVANE_ACTIONS
// changes the run's length.
#include "testmain.h"
#include "input/parsing.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLCDNumber>
#include <QRadioButton>
#include <QRandomGenerator>

namespace {

enum Covers { trxPart = 1, tetraPart = 2, hostPart = 4, antennaPart = 8 };

struct ButtonRole {
    const char *name;
    bool write;
    int covers;
};
const ButtonRole buttonRoles[] = {
    {"push_trx_write", true, trxPart},
    {"push_trx_read", false, trxPart},
    {"push_trx_write_2", true, tetraPart},
    {"push_tet_read", false, tetraPart},
    {"push_Host_write", true, hostPart},
    {"push_Host_Read", false, hostPart},
    {"push_AntennaSet", true, antennaPart},
    {"push_AntennaGet", false, antennaPart},
    {"push_setAll", true, trxPart | tetraPart | antennaPart},
    {"push_readAll", false, trxPart | tetraPart | antennaPart},
};

} // namespace

class TestRandom : public QObject
{
    Q_OBJECT

private slots:
    void randomOperator();

private:
    QRandomGenerator rng;
    Corvane *app = nullptr;
    QList<QLineEdit *> edits;
    QList<QAbstractButton *> buttons;
    QList<QComboBox *> combos;
    // What the device holds, as each part of the form showed it at the last
    // successful write; empty until that part is first written.
    QMap<int, QVariantMap> written;
    int realWaits = 0;
    int successfulWrites = 0;
    int checkedReads = 0;

    int pick(int n) { return int(rng.bounded(n)); }
    QString randomText();
    void showPageOf(QWidget *w);
    void act(QString *what);
    void clickButton(QAbstractButton *button, QString *what);
    QVariantMap partState(int part) const;
    void checkInvariants(const QString &what);
};

QString TestRandom::randomText()
{
    static const QString letters = QStringLiteral("абвгдеёжзАБВЯЮЖ٣٤３ßéü€ ");
    QString s;
    switch (pick(9)) {
    case 0: // a number, maybe with sign and spaces
        if (pick(3) == 0)
            s += pick(2) ? '-' : '+';
        s += QString::number(pick(5000));
        if (pick(5) == 0)
            s += ' ';
        break;
    case 1:
        s = QString::number(pick(70000));
        break;
    case 2: { // a dotted quad, sometimes out of range or shorthand
        const int parts = 2 + pick(4);
        for (int i = 0; i < parts; ++i)
            s += (i ? "." : "") + QString::number(pick(10) == 0 ? pick(1000) : pick(256));
        if (pick(6) == 0)
            s.prepend('0');
        break;
    }
    case 3: // IPv6-like
        for (int i = 0, n = 1 + pick(8); i < n; ++i)
            s += (i ? ":" : "") + QString::number(pick(0x10000), 16);
        if (pick(3) == 0)
            s.prepend("::");
        break;
    case 4: // long printable ASCII
        for (int i = 0, n = 40 + pick(80); i < n; ++i)
            s += QChar(32 + pick(95));
        break;
    case 5: // non-ASCII letters and digits
        for (int i = 0, n = 1 + pick(8); i < n; ++i)
            s += letters.at(pick(letters.size()));
        break;
    case 6: // grouped numbers and other separators
        s = QString::number(pick(65)) + (pick(2) ? "," : ".") + QString::number(pick(1000));
        break;
    case 7:
        s = QString::number(pick(33));
        break;
    default: // short digits
        s = QString::number(pick(4));
        break;
    }
    return s;
}

void TestRandom::showPageOf(QWidget *w)
{
    QTabWidget *tabs = app->ui->tabWidget;
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->widget(i)->isAncestorOf(w) && tabs->currentIndex() != i)
            app->goToTab(i);
    }
}

QVariantMap TestRandom::partState(int part) const
{
    const MainWindowForm *ui = app->ui;
    QVariantMap state;
    QWidget *page = nullptr;
    switch (part) {
    case trxPart:
        for (int i = 0; i < trxCount; ++i) {
            state[QString("ch%1").arg(i)] = app->store->workTrx.chNo[i];
            state[QString("mode%1").arg(i)] = app->store->workTrx.mode[i];
            state[QString("cell%1").arg(i)] = app->store->workTrx.cellIDX[i];
        }
        return state;
    case tetraPart:
        page = ui->tab_tetra;
        break;
    case hostPart:
        page = ui->tab_network;
        break;
    default:
        page = ui->tab_ant;
        break;
    }
    for (auto *e : page->findChildren<QLineEdit *>()) {
        if (e->validator())
            state[e->objectName()] = e->text().toInt();
        else if (e == ui->Host_Name)
            state[e->objectName()] = e->text();
        else
            state[e->objectName()] = QHostAddress(e->text()).toString();
    }
    for (auto *c : page->findChildren<QComboBox *>())
        state[c->objectName()] = c->currentIndex();
    for (auto *b : page->findChildren<QCheckBox *>())
        state[b->objectName()] = b->isChecked();
    return state;
}

void TestRandom::clickButton(QAbstractButton *button, QString *what)
{
    const int notices = app->closer.count();
    Corvane::click(button);
    for (const ButtonRole &role : buttonRoles) {
        if (button->objectName() != QLatin1String(role.name))
            continue;
        QCOMPARE(app->closer.count(), notices + 1);
        const Notice n = app->closer.last();
        *what += " -> " + n.informativeText;
        const bool success = n.informativeText == QStringLiteral("Успешно");
        QCOMPARE(n.text, role.write ? QStringLiteral("Запись") : QStringLiteral("Чтение"));
        for (int part : {trxPart, tetraPart, hostPart, antennaPart}) {
            if (!(role.covers & part))
                continue;
            if (role.write && success) {
                written[part] = partState(part);
                ++successfulWrites;
            } else if (!role.write && written.contains(part)) {
                QCOMPARE(partState(part), written[part]);
                ++checkedReads;
            }
        }
        if (!role.write)
            QVERIFY(success);
    }
}

void TestRandom::act(QString *what)
{
    const int kind = pick(100);
    if (kind < 40) {
        QLineEdit *edit = edits.at(pick(edits.size()));
        if (pick(4) != 0)
            showPageOf(edit);
        else if (!edit->isVisible())
            return act(what);
        edit->setFocus();
        if (pick(3) == 0) {
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(edit, Qt::Key_Delete);
        }
        const QString text = randomText();
        *what = QString("type '%1' into %2").arg(text, edit->objectName());
        Corvane::typeText(edit, text);
    } else if (kind < 48) {
        QLineEdit *edit = edits.at(pick(edits.size()));
        showPageOf(edit);
        const int n = 1 + pick(4);
        *what = QString("delete %1 in %2").arg(n).arg(edit->objectName());
        for (int i = 0; i < n; ++i)
            QTest::keyClick(edit, pick(2) ? Qt::Key_Backspace : Qt::Key_Delete);
    } else if (kind < 70) {
        QAbstractButton *button = buttons.at(pick(buttons.size()));
        showPageOf(button);
        *what = "click " + button->objectName();
        clickButton(button, what);
    } else if (kind < 80) {
        QComboBox *combo = combos.at(pick(combos.size()));
        showPageOf(combo);
        const int index = pick(combo->count());
        *what = QString("select %1 in %2").arg(index).arg(combo->objectName());
        combo->setCurrentIndex(index);
    } else if (kind < 88) {
        const int tab = pick(4);
        *what = QString("tab %1").arg(tab);
        app->goToTab(tab);
    } else if (kind < 99 || pick(10) != 0) {
        // The timer's own tick, without sleeping 600 ms; now and then a real
        // wait below exercises the timer itself.
        *what = "input timer tick";
        app->tick();
    } else {
        *what = "wait out the input timer";
        ++realWaits;
        app->waitTick();
    }
}

void TestRandom::checkInvariants(const QString &what)
{
    const DataStorage &s = *app->store;
    for (int i = 0; i < trxCount; ++i) {
        QVERIFY2(s.workTrx.chNo[i] >= 0 && s.workTrx.chNo[i] <= 4096, qPrintable(what));
        QVERIFY2(s.workTrx.cellIDX[i] >= 0 && s.workTrx.cellIDX[i] <= 3, qPrintable(what));
        QVERIFY2(s.workTrx.mode[i] >= 0 && s.workTrx.mode[i] <= 2, qPrintable(what));
    }
    const bool pending = TestAccess::timer(*app->window).isActive();
    for (QLineEdit *e : edits) {
        if (!app->isWhite(e))
            continue;
        bool ok = false;
        qint32 n = 0;
        QHostAddress a;
        if (const QValidator *v = e->validator()) {
            QString t = e->text();
            int pos = 0;
            ok = v->validate(t, pos) == QValidator::Acceptable;
        } else if (pending) {
            continue; // taken at the next tick
        } else if (e == app->ui->lineEdit_chNo) {
            ok = parseIntInRange(e->text(), &n, 0, 4096);
        } else if (e == app->ui->lineEdit_cellIDX) {
            ok = parseIntInRange(e->text(), &n, 0, 3);
        } else {
            ok = parseHostAddress(e->text(), &a);
        }
        QVERIFY2(
            ok, qPrintable(
                    QString("%1 white with '%2' after: %3").arg(e->objectName(), e->text(), what)));
    }
}

void TestRandom::randomOperator()
{
    quint32 seed = 1;
    const QString askedSeed = qEnvironmentVariable("CORVANE_SEED");
    if (askedSeed == QLatin1String("random")) {
        seed = QRandomGenerator::system()->generate();
    } else if (!askedSeed.isEmpty()) {
        bool ok = false;
        seed = askedSeed.toUInt(&ok);
        QVERIFY2(ok, "CORVANE_SEED is a number or \"random\"");
    }
    int actions = 1000;
    if (qEnvironmentVariableIsSet("CORVANE_ACTIONS"))
        actions = qEnvironmentVariableIntValue("CORVANE_ACTIONS");
    qInfo("seed %u (replay with CORVANE_SEED=%u), %d actions", seed, seed, actions);
    rng.seed(seed);

    Corvane corvane;
    app = &corvane;
    for (QLineEdit *e : corvane.ui->centralwidget->findChildren<QLineEdit *>())
        edits << e;
    for (QAbstractButton *b : corvane.ui->centralwidget->findChildren<QAbstractButton *>()) {
        if (!b->objectName().startsWith("qt_") && !b->objectName().startsWith("Scroll"))
            buttons << b;
    }
    for (QComboBox *c : corvane.ui->centralwidget->findChildren<QComboBox *>())
        combos << c;

    QString what;
    for (int i = 0; i < actions; ++i) {
        act(&what);
        if (QTest::currentTestFailed()) {
            qWarning("action %d failed: %s (seed %u)", i, qPrintable(what), seed);
            return;
        }
        checkInvariants(QString("action %1: %2").arg(i).arg(what));
        if (QTest::currentTestFailed()) {
            qWarning("seed %u", seed);
            return;
        }
    }
    qInfo("%d successful writes, %d reads checked against them, %d real waits", successfulWrites,
          checkedReads, realWaits);
    QVERIFY(checkedReads > 0);
    app = nullptr;
}

CORVANE_TEST_MAIN(TestRandom)
#include "tst_random.moc"
