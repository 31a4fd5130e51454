// Every input kept by the parser fuzzers, seeds and findings alike, checked
// against the same properties the fuzzers check.
#include "testmain.h"
#include "../fuzz/properties.h"

#include <QDir>
#include <QTest>

class TestFuzzCorpus : public QObject
{
    Q_OBJECT

private slots:
    void parseIntInRange_data() { addRows("int"); }
    void parseIntInRange() { check(checkParseIntInRange); }
    void parseHostAddress_data() { addRows("host"); }
    void parseHostAddress() { check(checkParseHostAddress); }

private:
    static void addRows(const char *corpus)
    {
        QTest::addColumn<QByteArray>("input");
        const QDir dir(QStringLiteral(CORVANE_FUZZ_DIR "/corpus/") + QLatin1String(corpus));
        const QStringList files = dir.entryList(QDir::Files, QDir::Name);
        QVERIFY(!files.isEmpty());
        for (const QString &name : files) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QTest::newRow(qPrintable(name)) << f.readAll();
        }
    }

    static void check(QString (*property)(const QByteArray &))
    {
        QFETCH(QByteArray, input);
        const QString failure = property(input);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }
};

CORVANE_TEST_MAIN(TestFuzzCorpus)
#include "tst_fuzzcorpus.moc"
