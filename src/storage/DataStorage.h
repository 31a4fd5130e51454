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

    // Working image
    TransceiverTable workTrx;
    QHostAddress workIPaddress;
    QHostAddress workIPaddress2;

    // Device image: transceivers
    TransceiverTable devTrx;

    // Device image: TETRA cell
    qint32 tetraCC;
    qint32 tetraLA;
    qint32 tetraBand;
    qint32 tetraOffset;
    qint32 tetraMaxMSpower;
    qint32 tetraMinAccessLevel;
    qint32 tetraMinReselRSSI;
    qint32 tetraAccessParam;
    qint32 tetraDownlinkTimeout;
    bool tetraPriorityCell;
    bool tetraLocalFallback;
    bool tetraReverse;
    qint32 tetraStaticPDCHNo;
    qint32 tetraDynPDCHNo;
    qint32 tetraPDCHMaxTS;
    qint32 tetraPDCHMaxMSperPDCH;
    qint32 tetraSCCHNo;
    qint32 tetraFastReselThrsh;
    qint32 tetraSlowReselThrsh;
    qint32 tetraFastReselHyst;
    qint32 tetraSlowReselHyst;
    qint32 tetraRelinqRSSI;
    qint32 tetraImprovRSSI;
    bool tetraDataOnlyBS;
    bool tetraAllowAnnounceType;
    qint32 tetraMCC;
    qint32 tetraMNC;

    // Device image: network host
    QHostAddress devIPaddress;
    QHostAddress devIPaddress2;
    qint32 hostNodeID;
    qint32 hostClusterID;
    qint32 hostType;
    bool hostRedundant;
    QString hostName;

    // Device image: antenna path
    qint32 antennaConfig;
    qint32 antennaMaxPower;
    qint32 antennaDuplexerType;
    qint32 antennaMaxReflection;
};
