#include "scanner/DevScannerCfg.h"

#include <gtest/gtest.h>

namespace corvix {
namespace {

TScanListEntry& entry(TDevScannerCfgClass& cfg, int index) { return cfg.ScanList[index - 1]; }

// Gives every entry an I/O size, so that no entry is free.
void fillAllEntries(TDevScannerCfgClass& cfg)
{
    for (TScanListEntry& e : cfg.ScanList) {
        e.CosTxSize = 1;
    }
}

TEST(ScanList, EntriesStartEmptyAndKeepTheirMacIdWhenCleared)
{
    TDevScannerCfgClass cfg(nullptr, {});
    for (int index = 1; index <= 64; ++index) {
        TScanListEntry expected;
        expected.MacId = uint8_t(index - 1);
        ASSERT_EQ(entry(cfg, index), expected) << index;
    }
    TScanListEntry& e = entry(cfg, 10);
    e.Active = 1;
    e.PollRxSize = 4;
    e.OutputMap[3].BitLength = 8;
    e.CarriedByteF = 7;
    cfg.ClearEntry(10);
    TScanListEntry expected;
    expected.MacId = 9;
    EXPECT_EQ(e, expected);

    const auto before = cfg.ScanList;
    cfg.ClearEntry(0);
    cfg.ClearEntry(65);
    EXPECT_EQ(cfg.ScanList, before);
}

TEST(ScanList, FindFreeEntryClearsTheFirstEntryWithoutSizes)
{
    TDevScannerCfgClass cfg(nullptr, {});
    entry(cfg, 1).StrobeTxBit = 1;
    entry(cfg, 2).PollTxSize = 2;
    entry(cfg, 3).Active = 1;  // no size: free, and cleared when handed out
    entry(cfg, 3).VendorKey = 5;
    EXPECT_EQ(cfg.FindFreeEntry(), 3);
    EXPECT_EQ(entry(cfg, 3).Active, 0);
    EXPECT_EQ(entry(cfg, 3).VendorKey, 0);
    EXPECT_EQ(entry(cfg, 3).MacId, 2);

    fillAllEntries(cfg);
    EXPECT_EQ(cfg.FindFreeEntry(), TDevScannerCfgClass::NoFreeEntry);
}

TEST(ScanList, FindEntryByMacIdFallsBackToAFreeEntry)
{
    TDevScannerCfgClass cfg(nullptr, {});
    entry(cfg, 6).PollRxSize = 8;
    EXPECT_EQ(cfg.FindEntryByMacId(5), 6);
    EXPECT_EQ(entry(cfg, 6).PollRxSize, 8);  // found, not cleared

    // An entry that took another MAC ID from a scanner leaves MAC ID 0 without an entry.
    entry(cfg, 1).MacId = 40;
    entry(cfg, 1).PollRxSize = 1;
    entry(cfg, 2).Active = 1;
    EXPECT_EQ(cfg.FindEntryByMacId(0), 2);
    EXPECT_EQ(entry(cfg, 2).Active, 0);

    fillAllEntries(cfg);
    EXPECT_EQ(cfg.FindEntryByMacId(0), TDevScannerCfgClass::NoFreeEntry);
}

TEST(ScanList, RemoveEntriesOfMacIdClearsOnlyThatNode)
{
    TDevScannerCfgClass cfg(nullptr, {});
    entry(cfg, 8).Active = 1;
    entry(cfg, 8).PollRxSize = 2;
    entry(cfg, 9).Active = 1;
    cfg.RemoveEntriesOfMacId(7);
    EXPECT_EQ(entry(cfg, 8).Active, 0);
    EXPECT_EQ(entry(cfg, 8).PollRxSize, 0);
    EXPECT_EQ(entry(cfg, 8).MacId, 7);
    EXPECT_EQ(entry(cfg, 9).Active, 1);
}

TEST(ScanList, MembershipAndSharedInputs)
{
    struct Case {
        const char* name;
        uint8_t active, connectionFlags, entryFlags;
        bool inList, shared;
    };
    const Case cases[] = {
        {"empty entry", 0, 0, 0, false, false},
        {"active only", 1, 0, 0, true, false},
        {"polled", 0, 0x02, 0, true, false},
        {"bit-strobed", 0, 0x04, 0, true, false},
        {"change of state", 0, 0x10, 0, true, false},
        {"cyclic", 0, 0x20, 0, true, false},
        {"carried bit only", 0, 0x40, 0, false, false},
        {"active value other than 1", 2, 0, 0, false, false},
        {"shared inputs", 1, 0x02, 0x01, true, true},
        {"shared flag of a node not in the list", 0, 0, 0x01, false, false},
    };
    for (const Case& c : cases) {
        TDevScannerCfgClass cfg(nullptr, {});
        TScanListEntry& e = entry(cfg, 13);
        e.Active = c.active;
        e.ConnectionFlags = c.connectionFlags;
        e.EntryFlags = c.entryFlags;
        const auto before = cfg.ScanList;
        EXPECT_EQ(cfg.IsInScanList(12), c.inList) << c.name;
        EXPECT_EQ(cfg.HasSharedInputs(12), c.shared) << c.name;
        EXPECT_FALSE(cfg.IsInScanList(11)) << c.name;
        EXPECT_EQ(cfg.ScanList, before) << c.name;  // asking changes nothing
    }
    TDevScannerCfgClass cfg(nullptr, {});
    EXPECT_FALSE(cfg.IsInScanList(64));
    EXPECT_FALSE(cfg.HasSharedInputs(-1));
}

TEST(ScanList, AdrNodeSpaceKeepsRecordsWordAligned)
{
    TDevScannerCfgClass cfg(nullptr, {});
    TADRNodeRecord& node = cfg.AdrData.Nodes[4];
    node.Parameters = {{1, 0x10, 6, QByteArray(6, '\0'), 2, QByteArray(2, '\0')},  // 15 -> 16
                       {2, 0x10, 6, QByteArray(6, '\0'), 0, {}},                   // +13 -> 30
                       {3, 0x10, 4, QByteArray(4, '\0'), 1, QByteArray(1, '\0')}};  // +12 -> 42
    node.ParameterCount = 3;
    EXPECT_EQ(cfg.AdrNodeSpace(4), 42);
    EXPECT_EQ(cfg.AdrNodeSpace(3), 0);
    EXPECT_EQ(cfg.AdrNodeSpace(64), 0);
}

}  // namespace
}  // namespace corvix
