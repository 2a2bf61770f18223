#include "scanner/DevScannerCfg.h"

namespace corvix {

namespace {

bool hasNoIoSizes(const TScanListEntry& entry)
{
    return entry.StrobeRxSize == 0 && entry.StrobeTxBit == 0 && entry.PollRxSize == 0 &&
           entry.CosRxSize == 0 && entry.PollTxSize == 0 && entry.CosTxSize == 0;
}

}  // namespace

TDevScannerCfgClass::TDevScannerCfgClass(TDeviceNetDevice* owner, const QByteArray& edsText)
    : Owner(owner)
{
    for (int i = 0; i < EntryCount; ++i) {
        ScanList[i].MacId = uint8_t(i);
    }
    readEdsMemoryTables(edsText);
    readEdsFeatures(edsText);
    readEdsLinearMappingTables(edsText);
}

void TDevScannerCfgClass::ClearEntry(int index)
{
    if (index < 1 || index > EntryCount) {
        return;
    }
    TScanListEntry& entry = ScanList[index - 1];
    const uint8_t macId = entry.MacId;
    entry = TScanListEntry{};
    entry.MacId = macId;
}

int TDevScannerCfgClass::FindFreeEntry()
{
    for (int index = 1; index <= EntryCount; ++index) {
        if (hasNoIoSizes(ScanList[index - 1])) {
            ClearEntry(index);
            return index;
        }
    }
    return NoFreeEntry;
}

const TScanListEntry* TDevScannerCfgClass::entryOfMacId(int macId) const
{
    for (const TScanListEntry& entry : ScanList) {
        if (entry.MacId == macId) {
            return &entry;
        }
    }
    return nullptr;
}

int TDevScannerCfgClass::FindEntryByMacId(int macId)
{
    const TScanListEntry* entry = entryOfMacId(macId);
    return entry ? int(entry - ScanList.data()) + 1 : FindFreeEntry();
}

void TDevScannerCfgClass::RemoveEntriesOfMacId(int macId)
{
    for (int index = 1; index <= EntryCount; ++index) {
        if (ScanList[index - 1].MacId == macId) {
            ClearEntry(index);
        }
    }
}

bool TDevScannerCfgClass::IsInScanList(int macId) const
{
    // Asking must not change the scan list, so there is no fallback to a free entry as in
    // FindEntryByMacId: a MAC ID that no entry holds is simply not in the list.
    constexpr uint8_t connectionTypes =
        ScanListPolled | ScanListBitStrobed | ScanListChangeOfState | ScanListCyclic;
    const TScanListEntry* entry = entryOfMacId(macId);
    return entry && (entry->Active == 1 || (entry->ConnectionFlags & connectionTypes) != 0);
}

bool TDevScannerCfgClass::HasSharedInputs(int macId) const
{
    return IsInScanList(macId) && (entryOfMacId(macId)->EntryFlags & ScanListSharedInputs) != 0;
}

int TDevScannerCfgClass::AdrNodeSpace(int macId) const
{
    if (macId < 0 || macId >= EntryCount) {
        return 0;
    }
    // The scanner stores each request with a 7-byte header and keeps records word-aligned.
    int space = 0;
    for (const TADRNodeParameterRecord& record : AdrData.Nodes[macId].Parameters) {
        space += record.PathLength + record.DataLength + 7;
        if (space % 2 != 0) {
            ++space;
        }
    }
    return space;
}

}  // namespace corvix
