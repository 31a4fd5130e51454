// The input checks behind the colours: integer and address parsing, and the
// integer validators of the form's numeric fields.
#include "testmain.h"
#include "input/parsing.h"
#include "testsupport.h"

#include <QHostAddress>

class TestParsing : public QObject
{
    Q_OBJECT

private slots:
    void intInRange_data();
    void intInRange();
    void hostAddress_data();
    void hostAddress();
    void validatorAcceptsOnlyWhatConverts();
    void validatorRefusesGroupSeparators_data();
    void validatorRefusesGroupSeparators();
};

void TestParsing::intInRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("value");

    QTest::newRow("zero") << "0" << 0 << 4096 << true << 0;
    QTest::newRow("top channel") << "4096" << 0 << 4096 << true << 4096;
    QTest::newRow("above top") << "4097" << 0 << 4096 << false << 0;
    QTest::newRow("negative") << "-1" << 0 << 3 << false << 0;
    QTest::newRow("negative range") << "-5" << -10 << -1 << true << -5;
    QTest::newRow("plus sign") << "+3" << 0 << 3 << true << 3;
    QTest::newRow("leading zeros") << "007" << 0 << 10 << true << 7;
    QTest::newRow("empty") << "" << 0 << 10 << false << 0;
    QTest::newRow("letters") << "abc" << 0 << 10 << false << 0;
    QTest::newRow("trailing letter") << "12a" << 0 << 100 << false << 0;
    QTest::newRow("hex") << "0x10" << 0 << 100 << false << 0;
    QTest::newRow("group separator") << "4,096" << 0 << 5000 << false << 0;
    QTest::newRow("decimal point") << "1.0" << 0 << 5000 << false << 0;
    QTest::newRow("beyond int") << "2147483648" << 0 << INT_MAX << false << 0;
    QTest::newRow("int max") << "2147483647" << 0 << INT_MAX << true << INT_MAX;
    QTest::newRow("int min") << "-2147483648" << INT_MIN << 0 << true << INT_MIN;
    QTest::newRow("arabic digits") << QStringLiteral("٣") << 0 << 10 << false << 0;
    QTest::newRow("fullwidth digit") << QStringLiteral("３") << 0 << 10 << false << 0;
    QTest::newRow("spaces around") << " \t12 " << 0 << 100 << true << 12;
    QTest::newRow("space inside") << "1 2" << 0 << 100 << false << 0;
    QTest::newRow("no-break spaces") << QStringLiteral("\u00a07\u00a0") << 0 << 10 << true << 7;
    QTest::newRow("unicode minus") << QStringLiteral("\u22125") << -10 << 10 << false << 0;
    QTest::newRow("embedded NUL") << QString("7") + QChar(0) + " 99" << 0 << 4096 << false << 0;
    QTest::newRow("trailing NUL") << QString("7") + QChar(0) << 0 << 4096 << false << 0;
    QTest::newRow("sign alone") << "-" << 0 << 10 << false << 0;
    QTest::newRow("two signs") << "+-1" << -10 << 10 << false << 0;
    QTest::newRow("many leading zeros") << "0000000000000000000042" << 0 << 100 << true << 42;
    QTest::newRow("far beyond int") << "99999999999999999999999" << 0 << INT_MAX << false << 0;
}

void TestParsing::intInRange()
{
    QFETCH(QString, text);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(bool, accepted);
    QFETCH(int, value);
    const qint32 untouched = 0x5a5a5a5a;
    qint32 out = untouched;
    QCOMPARE(parseIntInRange(text, &out, min, max), accepted);
    QCOMPARE(out, accepted ? value : untouched);
}

void TestParsing::hostAddress_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("any") << "0.0.0.0" << true << "0.0.0.0";
    QTest::newRow("device default") << "192.168.12.24" << true << "192.168.12.24";
    QTest::newRow("top octets") << "255.255.255.255" << true << "255.255.255.255";
    QTest::newRow("octet 256") << "1.2.3.256" << false << "";
    QTest::newRow("empty") << "" << false << "";
    QTest::newRow("three parts") << "192.168.1" << false << "";
    QTest::newRow("two parts") << "127.1" << false << "";
    QTest::newRow("octal") << "010.0.0.1" << false << "";
    QTest::newRow("leading zero") << "1.2.3.04" << false << "";
    QTest::newRow("one number") << "3232235777" << false << "";
    QTest::newRow("hex part") << "0x7f.1" << false << "";
    QTest::newRow("hex quad") << "0x7f.0.0.1" << false << "";
    QTest::newRow("leading space") << " 1.2.3.4" << false << "";
    QTest::newRow("trailing space") << "1.2.3.4 " << false << "";
    QTest::newRow("trailing dot") << "1.2.3.4." << false << "";
    QTest::newRow("empty part") << "1..3.4" << false << "";
    QTest::newRow("five parts") << "1.2.3.4.5" << false << "";
    QTest::newRow("sign") << "+1.2.3.4" << false << "";
    QTest::newRow("arabic digits") << QStringLiteral("١.٢.٣.٤") << false << "";
    QTest::newRow("port") << "1.2.3.4:80" << false << "";
    QTest::newRow("name") << "localhost" << false << "";
    QTest::newRow("ipv6 loopback") << "::1" << true << "::1";
    QTest::newRow("ipv6") << "2001:db8::1" << true << "2001:db8::1";
    QTest::newRow("ipv6 long form") << "2001:0db8:0:0:0:0:0:1" << true << "2001:db8::1";
    QTest::newRow("ipv4 mapped") << "::ffff:1.2.3.4" << true << "::ffff:1.2.3.4";
    QTest::newRow("ipv6 bad") << "2001:db8::g" << false << "";
    QTest::newRow("ipv6 too many") << "1:2:3:4:5:6:7:8:9" << false << "";
}

void TestParsing::hostAddress()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(QString, readBack);
    const QHostAddress untouched(QStringLiteral("10.9.8.7"));
    QHostAddress out = untouched;
    QCOMPARE(parseHostAddress(text, &out), accepted);
    if (accepted)
        QCOMPARE(out.toString(), readBack);
    else
        QCOMPARE(out, untouched);
}

// Every text that a field's validator lets stand as Acceptable must be what
// a write stores: toInt() reads it, and the value lies in the field's range.
void TestParsing::validatorAcceptsOnlyWhatConverts()
{
    Corvane app;
    const QStringList alphabet = {"0",
                                  "1",
                                  "5",
                                  "9",
                                  "+",
                                  "-",
                                  ",",
                                  ".",
                                  " ",
                                  "e",
                                  QStringLiteral("٣"),
                                  QStringLiteral("\u00a0")};
    QStringList candidates = {""};
    for (int len = 1; len <= 3; ++len) {
        QStringList longer;
        for (const QString &prefix : candidates) {
            if (prefix.size() == len - 1) {
                for (const QString &c : alphabet)
                    longer << prefix + c;
            }
        }
        candidates += longer;
    }
    candidates << "4,096"
               << "6,5535"
               << "65535"
               << "65536"
               << "1023"
               << "1 023"
               << "1e3"
               << "0x1f"
               << "00015"
               << "+0015"
               << "-0" << QStringLiteral("１５");

    const QVector<QLineEdit *> fields = TestAccess::numberFields(*app.window);
    QVERIFY(!fields.isEmpty());
    for (const QLineEdit *edit : fields) {
        const auto *v = qobject_cast<const QIntValidator *>(edit->validator());
        QVERIFY2(v, qPrintable(edit->objectName()));
        for (const QString &text : candidates) {
            QString input = text;
            int pos = 0;
            if (v->validate(input, pos) != QValidator::Acceptable)
                continue;
            // What the field then holds: the validator drops surrounding space.
            bool ok = false;
            const int value = input.toInt(&ok, 10);
            QVERIFY2(ok,
                     qPrintable(edit->objectName() + " accepts '" + text + "' as '" + input + "'"));
            QVERIFY(value >= v->bottom() && value <= v->top());
        }
        // And it is not stricter than the range: plain decimals all pass.
        for (int value = 0; value <= v->top(); value += 1 + v->top() / 500) {
            QString input = QString::number(value);
            int pos = 0;
            QCOMPARE(v->validate(input, pos), QValidator::Acceptable);
        }
    }
}

void TestParsing::validatorRefusesGroupSeparators_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("LA 6,5535") << "Tetra_LA"
                               << "6,5535"
                               << "65535";
    QTest::newRow("LA 4,096") << "Tetra_LA"
                              << "4,096"
                              << "4096";
    QTest::newRow("MNC 1,000") << "Tetra_MNC"
                               << "1,000"
                               << "1000";
    QTest::newRow("MCC space") << "Tetra_MCC"
                               << "2 5"
                               << "25";
}

// Such text cannot even be typed: the separator key is refused.
void TestParsing::validatorRefusesGroupSeparators()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Corvane app;
    app.goToTab(2);
    auto *edit = app.window->findChild<QLineEdit *>(field);
    Corvane::typeInto(edit, typed);
    QCOMPARE(edit->text(), shown);
    QVERIFY(app.isWhite(edit));
}

CORVANE_TEST_MAIN(TestParsing)
#include "tst_parsing.moc"
