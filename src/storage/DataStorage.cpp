#include "DataStorage.h"

namespace {
constexpr TransceiverTable defaultTrx = {
    {0, 1, 2, 3, 4, 5, 6, 7},
    {notUsed, notUsed, notUsed, notUsed, notUsed, notUsed, notUsed, notUsed},
    {0, 1, 2, 3, 0, 1, 2, 3},
};
} // namespace

DataStorage::DataStorage(QObject *parent)
    : QObject(parent)
    , workTrx(defaultTrx)
    , workIPaddress()
    , workIPaddress2()
    , devTrx(defaultTrx)
    , tetraCC(10)
    , tetraLA(10)
    , tetraBand(1)
    , tetraOffset(1)
    , tetraMaxMSpower(0)
    , tetraMinAccessLevel(2)
    , tetraMinReselRSSI(2)
    , tetraAccessParam(1)
    , tetraDownlinkTimeout(1)
    , tetraPriorityCell(false)
    , tetraLocalFallback(false)
    , tetraReverse(false)
    , tetraStaticPDCHNo(0)
    , tetraDynPDCHNo(0)
    , tetraPDCHMaxTS(2)
    , tetraPDCHMaxMSperPDCH(1)
    , tetraSCCHNo(0)
    , tetraFastReselThrsh(2)
    , tetraSlowReselThrsh(2)
    , tetraFastReselHyst(1)
    , tetraSlowReselHyst(1)
    , tetraRelinqRSSI(2)
    , tetraImprovRSSI(2)
    , tetraDataOnlyBS(false)
    , tetraAllowAnnounceType(true)
    , tetraMCC(250)
    , tetraMNC(800)
    , devIPaddress(QStringLiteral("192.168.12.24"))
    , devIPaddress2(QStringLiteral("192.168.240.1"))
    , hostNodeID(10)
    , hostClusterID(10)
    , hostType(1)
    ,
    // Matches the unchecked Host_redundant box, so a read before any write
    // shows what the form started with.
    hostRedundant(false)
    , hostName(QStringLiteral("bs0"))
    , antennaConfig(0)
    , antennaMaxPower(0)
    , antennaDuplexerType(0)
    , antennaMaxReflection(0)
{
}
