#pragma once

#include "scanner/AdrNodeData.h"
#include "scanner/HitachiLinearMappingTable.h"
#include "scanner/ScanListEntry.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

class QObject;

namespace corvix {

class TDeviceNetDevice;

// The configuration a DeviceNet scanner device owns: its scan list (one entry per MAC ID), the
// scanner-wide settings, its input and output memory tables as the EDS file describes them,
// the ADR data and the Quick Connect flags, plus the bookkeeping of transfers. The owning device
// creates it from its normalised EDS text when IsScannerEds() holds, and embeds the scanner
// block in its device section.
class TDevScannerCfgClass {
public:
    // Number of scan-list entries: one per MAC ID.
    static constexpr int EntryCount = 64;
    // What FindFreeEntry answers when every entry is in use.
    static constexpr int NoFreeEntry = 255;

    // Builds the configuration from the scanner's normalised EDS text. Raises ConversionError
    // when a memory table or ADR key of the text holds no valid number.
    TDevScannerCfgClass(TDeviceNetDevice* owner, const QByteArray& edsText);
    TDevScannerCfgClass(const TDevScannerCfgClass&) = delete;
    TDevScannerCfgClass& operator=(const TDevScannerCfgClass&) = delete;

    // True when the normalised EDS text describes a scanner we can configure.
    static bool IsScannerEds(const QByteArray& edsText);

    // Entry operations take the entry index 1..64; ScanList[index - 1] is that entry.

    // Zeroes every field of the entry but its MacId; other indexes do nothing.
    void ClearEntry(int index);
    // The lowest entry without any I/O size, cleared; NoFreeEntry when there is none.
    int FindFreeEntry();
    // The entry of the MAC ID, or FindFreeEntry() when no entry has it.
    int FindEntryByMacId(int macId);
    void RemoveEntriesOfMacId(int macId);
    // The node is active or has a connection type in its entry.
    bool IsInScanList(int macId) const;
    // The node is in the scan list as a shared-inputs node (another scanner owns it).
    bool HasSharedInputs(int macId) const;

    // ADR memory bytes the scanner needs for the stored requests of a node (MAC ID 0..63).
    int AdrNodeSpace(int macId) const;

    // Appends the scanner block ("$Scanner Begin" ... "$Scanner End") to the device section
    // lines and marks the configuration saved.
    void WriteScannerBlock(QStringList& lines);
    // Loads the scanner block from the lines of the device section. Raises ConversionError, and
    // changes nothing, when a line the block needs is missing or is not a valid number.
    void ReadScannerBlock(const QStringList& lines);

    TDeviceNetDevice* Owner;  // not owned, never used here: callers pass its MAC ID or identity

    std::array<TScanListEntry, EntryCount> ScanList{};
    std::array<bool, EntryCount> QuickConnectInScanner{};  // by MAC ID
    TADRNodeDataType AdrData;

    // Bookkeeping of scan-list transfers.
    QObject* NotifyWindow = nullptr;
    QString LastRequestPath;
    uint32_t ReplyCount = 0;
    uint32_t NextEntryIndex = 0;  // next entry a download sends, 1..65
    QObject* DownloadWindow = nullptr;
    QObject* DownloadNetwork = nullptr;
    bool TransferError = false;

    // What the EDS file says the scanner supports.
    bool SlaveMode = false;
    bool SharedInputs = false;
    bool AdrSupported = false;
    bool QuickConnectSupported = false;

    // Memory tables, as parallel lists per direction. Types hold the EDS data-type code texts
    // (empty for tables not defined by type); sizes are bytes and read-only bits the number of
    // leading bits the scanner reserves, both as decimal texts. The linear mapping tables are
    // empty unless the EDS file defines them.
    QStringList InputTableNames;
    QStringList InputTableTypes;
    int32_t InputElementWidth = 1;  // bytes: 1, 2 or 4
    QStringList InputTableSizes;
    QStringList InputReadOnlyBits;
    QList<THitachiLinearMappingTable> InputHitachiTables;
    QString InputHitachiHelp;
    QStringList OutputTableNames;
    QStringList OutputTableTypes;
    int32_t OutputElementWidth = 1;
    QStringList OutputTableSizes;
    QStringList OutputReadOnlyBits;
    QList<THitachiLinearMappingTable> OutputHitachiTables;
    QString OutputHitachiHelp;

    uint16_t HitachiInputSelection = 0;
    uint16_t HitachiOutputSelection = 0;

    // Saved: no edit since creation or the last write of the scanner block. NotSynchronized: an
    // edit since creation or the last completed upload or download.
    bool Saved = true;
    bool NotSynchronized = true;

    uint8_t MapAlignment = 0;  // automap alignment in bytes: 0 pack, 1, 2 or 4

    // Scanner-wide settings of the scan list window.
    uint16_t ExpectedPacketRate = 75;  // ms
    uint16_t InterscanDelay = 10;      // ms
    uint8_t TransmitRetries = 1;
    uint16_t BackgroundPollRatio = 1;

private:
    const TScanListEntry* entryOfMacId(int macId) const;
    void readEdsMemoryTables(const QByteArray& edsText);
    void readEdsFeatures(const QByteArray& edsText);
    void readEdsLinearMappingTables(const QByteArray& edsText);
};

}  // namespace corvix
