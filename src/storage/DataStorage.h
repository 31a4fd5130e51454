#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>

// Ids of the transceiver mode radio buttons; also the stored mode values.
enum TrxMode { notUsed = 0, backup = 1, inUse = 2 };

constexpr int trxCount = 8;

// The transceiver table, always copied whole.
struct TransceiverTable {
    qint32 chNo[trxCount];
    qint32 mode[trxCount];
    qint32 cellIDX[trxCount];
};

// In-memory record of every station parameter: the working image (the
// transceiver table and the two addresses) and the device image.
class DataStorage : public QObject
{
    Q_OBJECT

public:
    explicit DataStorage(QObject *parent = nullptr);

    static constexpr TransceiverTable defaultTrx = {
        {0, 1, 2, 3, 4, 5, 6, 7},
        {notUsed, notUsed, notUsed, notUsed, notUsed, notUsed, notUsed, notUsed},
        {0, 1, 2, 3, 0, 1, 2, 3},
    };

    // Working image
    TransceiverTable workTrx = defaultTrx;
    QHostAddress workIPaddress;
    QHostAddress workIPaddress2;

    // Device image: transceivers
    TransceiverTable devTrx = defaultTrx;

    // Device image: TETRA cell
    qint32 tetraCC = 10;
    qint32 tetraLA = 10;
    qint32 tetraBand = 1;
    qint32 tetraOffset = 1;
    qint32 tetraMaxMSpower = 0;
    qint32 tetraMinAccessLevel = 2;
    qint32 tetraMinReselRSSI = 2;
    qint32 tetraAccessParam = 1;
    qint32 tetraDownlinkTimeout = 1;
    bool tetraPriorityCell = false;
    bool tetraLocalFallback = false;
    bool tetraReverse = false;
    qint32 tetraStaticPDCHNo = 0;
    qint32 tetraDynPDCHNo = 0;
    qint32 tetraPDCHMaxTS = 2;
    qint32 tetraPDCHMaxMSperPDCH = 1;
    qint32 tetraSCCHNo = 0;
    qint32 tetraFastReselThrsh = 2;
    qint32 tetraSlowReselThrsh = 2;
    qint32 tetraFastReselHyst = 1;
    qint32 tetraSlowReselHyst = 1;
    qint32 tetraRelinqRSSI = 2;
    qint32 tetraImprovRSSI = 2;
    bool tetraDataOnlyBS = false;
    bool tetraAllowAnnounceType = true;
    qint32 tetraMCC = 250;
    qint32 tetraMNC = 800;

    // Device image: network host
    QHostAddress devIPaddress{QStringLiteral("192.168.12.24")};
    QHostAddress devIPaddress2{QStringLiteral("192.168.240.1")};
    qint32 hostNodeID = 10;
    qint32 hostClusterID = 10;
    qint32 hostType = 1;
    // As the Host_redundant box starts, so a read before any write shows
    // what the form started with.
    bool hostRedundant = false;
    QString hostName = QStringLiteral("bs0");

    // Device image: antenna path
    qint32 antennaConfig = 0;
    qint32 antennaMaxPower = 0;
    qint32 antennaDuplexerType = 0;
    qint32 antennaMaxReflection = 0;
};
