// The parameter store as it starts: every run begins from these defaults.
#include "testmain.h"
#include "storage/DataStorage.h"

#include <QTest>

class TestStorage : public QObject
{
    Q_OBJECT

private slots:
    void transceiverDefaults();
    void tetraDefaults();
    void hostAndAntennaDefaults();
};

void TestStorage::transceiverDefaults()
{
    const DataStorage s;
    for (int i = 0; i < trxCount; ++i) {
        QCOMPARE(s.workTrx.chNo[i], i);
        QCOMPARE(s.workTrx.cellIDX[i], i % 4);
        QCOMPARE(s.workTrx.mode[i], int(notUsed));
        QCOMPARE(s.devTrx.chNo[i], s.workTrx.chNo[i]);
        QCOMPARE(s.devTrx.cellIDX[i], s.workTrx.cellIDX[i]);
        QCOMPARE(s.devTrx.mode[i], s.workTrx.mode[i]);
    }
    QCOMPARE(int(notUsed), 0);
    QCOMPARE(int(backup), 1);
    QCOMPARE(int(inUse), 2);
    QVERIFY(s.workIPaddress.isNull());
    QVERIFY(s.workIPaddress2.isNull());
    QCOMPARE(s.workIPaddress.toString(), QString());
    QVERIFY(!s.parent());
}

void TestStorage::tetraDefaults()
{
    const DataStorage s;
    QCOMPARE(s.tetraCC, 10);
    QCOMPARE(s.tetraLA, 10);
    QCOMPARE(s.tetraBand, 1);
    QCOMPARE(s.tetraOffset, 1);
    QCOMPARE(s.tetraMaxMSpower, 0);
    QCOMPARE(s.tetraMinAccessLevel, 2);
    QCOMPARE(s.tetraMinReselRSSI, 2);
    QCOMPARE(s.tetraAccessParam, 1);
    QCOMPARE(s.tetraDownlinkTimeout, 1);
    QCOMPARE(s.tetraPriorityCell, false);
    QCOMPARE(s.tetraLocalFallback, false);
    QCOMPARE(s.tetraReverse, false);
    QCOMPARE(s.tetraStaticPDCHNo, 0);
    QCOMPARE(s.tetraDynPDCHNo, 0);
    QCOMPARE(s.tetraPDCHMaxTS, 2);
    QCOMPARE(s.tetraPDCHMaxMSperPDCH, 1);
    QCOMPARE(s.tetraSCCHNo, 0);
    QCOMPARE(s.tetraFastReselThrsh, 2);
    QCOMPARE(s.tetraSlowReselThrsh, 2);
    QCOMPARE(s.tetraFastReselHyst, 1);
    QCOMPARE(s.tetraSlowReselHyst, 1);
    QCOMPARE(s.tetraRelinqRSSI, 2);
    QCOMPARE(s.tetraImprovRSSI, 2);
    QCOMPARE(s.tetraDataOnlyBS, false);
    QCOMPARE(s.tetraAllowAnnounceType, true);
    QCOMPARE(s.tetraMCC, 250);
    QCOMPARE(s.tetraMNC, 800);
}

void TestStorage::hostAndAntennaDefaults()
{
    const DataStorage s;
    QCOMPARE(s.devIPaddress.toString(), QStringLiteral("192.168.12.24"));
    QCOMPARE(s.devIPaddress2.toString(), QStringLiteral("192.168.240.1"));
    QCOMPARE(s.hostNodeID, 10);
    QCOMPARE(s.hostClusterID, 10);
    QCOMPARE(s.hostType, 1);
    QCOMPARE(s.hostRedundant, false);
    QCOMPARE(s.hostName, QStringLiteral("bs0"));
    QCOMPARE(s.antennaConfig, 0);
    QCOMPARE(s.antennaMaxPower, 0);
    QCOMPARE(s.antennaDuplexerType, 0);
    QCOMPARE(s.antennaMaxReflection, 0);
}

CORVANE_TEST_MAIN(TestStorage)
#include "tst_storage.moc"
