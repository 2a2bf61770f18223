#include "scanner/DevScannerCfg.h"

#include "app/CorvixError.h"

#include <gtest/gtest.h>

#include <functional>

namespace corvix {
namespace {

const QByteArray AdrScanner = "ADR=2048;\r\nMemoryTables=2;\r\n";

// An entry whose numbers, in file order, count up from first.
TScanListEntry numberedEntry(int first)
{
    int v = first;
    TScanListEntry e;
    e.Active = uint8_t(v++);
    e.CarriedByteA = uint8_t(v++);
    e.MacId = uint8_t(v++);
    e.VendorKey = uint16_t(v++);
    e.ProductTypeKey = uint16_t(v++);
    e.ProductCodeKey = uint16_t(v++);
    e.ConnectionFlags = uint8_t(v++);
    e.PollRate = uint8_t(v++);
    e.StrobeRxSize = uint8_t(v++);
    e.StrobeTxBit = uint8_t(v++);
    e.PollRxSize = uint8_t(v++);
    e.CosRxSize = uint8_t(v++);
    e.PollTxSize = uint8_t(v++);
    e.CosTxSize = uint8_t(v++);
    for (auto* maps : {&e.InputMap, &e.OutputMap}) {
        for (TScanListIoMap& m : *maps) {
            m.MessageType = uint8_t(v++);
            m.TableIndex = uint8_t(v++);
            m.MapCarriedWord = uint16_t(v++);
            m.MapCarriedByte = uint8_t(v++);
            m.BitLength = uint16_t(v++);
            m.BitOffset = uint16_t(v++);
        }
    }
    e.CarriedByteB = uint8_t(v++);
    e.CarriedByteC = uint8_t(v++);
    e.HeartbeatTime = uint16_t(v++);
    e.AckTime = uint16_t(v++);
    e.InhibitTime = uint16_t(v++);
    e.EntryFlags = uint8_t(v++);
    e.CarriedByteD = uint8_t(v++);
    e.CarriedByteE = uint8_t(v++);
    e.CarriedByteF = uint8_t(v++);
    return e;
}

TADRNodeParameterRecord adrRecord(uint16_t sequence, uint8_t service, const QByteArray& path,
                                  const QByteArray& data)
{
    return {sequence, service, uint16_t(path.size()), path, uint16_t(data.size()), data};
}

// A configuration with something in every part of the block, 16-bit fields above 255.
void fillEverything(TDevScannerCfgClass& cfg)
{
    for (int i = 0; i < 64; ++i) {
        TScanListEntry& e = cfg.ScanList[i];
        e = numberedEntry(i * 3 + 1);
        e.VendorKey = uint16_t(60000 + i);
        e.OutputMap[2].MapCarriedWord = uint16_t(40000 + i);
        e.HeartbeatTime = uint16_t(1000 + i);
    }
    cfg.ExpectedPacketRate = 500;
    cfg.InterscanDelay = 300;
    cfg.TransmitRetries = 9;
    cfg.BackgroundPollRatio = 1000;
    cfg.HitachiInputSelection = 2;
    cfg.HitachiOutputSelection = 513;
    cfg.QuickConnectInScanner[0] = true;
    cfg.QuickConnectInScanner[40] = true;
    cfg.AdrData.AdrSpaceTotal = 4000;
    cfg.AdrData.AdrSpaceUsed = 300;
    cfg.AdrData.AutoAddressRecovery = true;
    TADRNodeRecord& node = cfg.AdrData.Nodes[3];
    node.ConfigurationRecovery = true;
    node.AddressRecovery = true;
    node.Parameters = {
        adrRecord(1, 0x10, QByteArray::fromHex("200f24013001"), QByteArray::fromHex("e803")),
        adrRecord(2, 0x05, QByteArray::fromHex("200124"), {}),
        adrRecord(3, 0x10, {}, QByteArray::fromHex("ff"))};
    node.ParameterCount = 3;
    cfg.AdrData.Nodes[63].ConfigurationRecovery = true;
}

// The block as the owning device embeds it in its section.
QStringList deviceSection(TDevScannerCfgClass& cfg)
{
    QStringList lines = {
        "$Device Begin",  "5", "1", "12", "100", "2", "Scanner", "0", "$Parameters Begin", "7",
        "$Parameters End"};
    cfg.WriteScannerBlock(lines);
    lines << "$Device End";
    return lines;
}

TEST(ScannerBlock, WritesSettingsScanListAndQuickConnectInFixedOrder)
{
    TDevScannerCfgClass cfg(nullptr, "MemoryTables=2;\r\n");
    cfg.ScanList[0] = numberedEntry(1);
    cfg.QuickConnectInScanner[63] = true;
    cfg.Saved = false;
    QStringList lines = {"before"};
    cfg.WriteScannerBlock(lines);

    EXPECT_TRUE(cfg.Saved);
    ASSERT_EQ(lines.size(), 1 + 1 + 4619 + 1);  // nothing but the block is appended
    EXPECT_EQ(lines.mid(1, 9), QStringList({"$Scanner Begin", "75", "10", "1", "1", "$HtTable", "0",
                                            "0", "$ScanList Begin"}));
    for (int field = 1; field <= 71; ++field) {
        ASSERT_EQ(lines[9 + field], QString::number(field)) << "field " << field;
    }
    EXPECT_EQ(lines[81 + 2], "1");  // MacId of entry 2
    EXPECT_EQ(lines[9 + 64 * 71 + 1], "$ScanList End");
    EXPECT_EQ(lines[9 + 64 * 71 + 2], "$Quick Connect Begin");
    EXPECT_EQ(lines[9 + 64 * 71 + 3], "0");
    EXPECT_EQ(lines[9 + 64 * 71 + 66], "1");
    EXPECT_EQ(lines.mid(9 + 64 * 71 + 67), QStringList({"$Quick Connect End", "$Scanner End"}));
}

TEST(ScannerBlock, WritesAdrRecordsWithHexBytesAndNoEmptyDataLine)
{
    TDevScannerCfgClass cfg(nullptr, AdrScanner);
    fillEverything(cfg);
    QStringList lines;
    cfg.WriteScannerBlock(lines);
    const qsizetype adr = lines.indexOf("$ADR Begin");
    ASSERT_GE(adr, 0);
    EXPECT_EQ(lines.mid(adr, 16), QStringList({"$ADR Begin", "4000", "300", "1", "0", "0", "0",
                                               "0",                 // node of MAC ID 0
                                               "1", "0", "0", "0",  // MAC ID 1
                                               "2", "0", "0", "0"}));
    EXPECT_EQ(lines.mid(adr + 16, 20), QStringList({"3", "1",      "1", "3",  //
                                                    "1", "16",     "6", "20 0F 24 01 30 01 ",
                                                    "2", "E8 03 ",  //
                                                    "2", "5",      "3", "20 01 24 ",
                                                    "0",  //
                                                    "3", "16",     "0", "",
                                                    "1"}));
    EXPECT_EQ(lines[adr + 36], "FF ");
    EXPECT_EQ(lines.mid(lines.size() - 6),
              QStringList({"63", "1", "0", "0", "$ADR End", "$Scanner End"}));
}

TEST(ScannerBlock, ReadBackRestoresEveryField)
{
    TDevScannerCfgClass written(nullptr, AdrScanner);
    fillEverything(written);
    const QStringList lines = deviceSection(written);

    TDevScannerCfgClass read(nullptr, AdrScanner);
    read.ReadScannerBlock(lines);
    EXPECT_EQ(read.ScanList, written.ScanList);
    EXPECT_EQ(read.QuickConnectInScanner, written.QuickConnectInScanner);
    EXPECT_EQ(read.AdrData.Nodes, written.AdrData.Nodes);
    EXPECT_EQ(read.AdrData.AdrSpaceTotal, 4000);
    EXPECT_EQ(read.AdrData.AdrSpaceUsed, 300);
    EXPECT_TRUE(read.AdrData.AutoAddressRecovery);
    EXPECT_EQ(read.ExpectedPacketRate, 500);
    EXPECT_EQ(read.InterscanDelay, 300);
    EXPECT_EQ(read.TransmitRetries, 9);
    EXPECT_EQ(read.BackgroundPollRatio, 1000);
    EXPECT_EQ(read.HitachiInputSelection, 2);
    EXPECT_EQ(read.HitachiOutputSelection, 513);
}

TEST(ScannerBlock, BrokenBlocksRaiseAndChangeNothing)
{
    TDevScannerCfgClass written(nullptr, AdrScanner);
    fillEverything(written);
    const QStringList good = deviceSection(written);
    const qsizetype s = good.indexOf("$Scanner Begin");
    const qsizetype l = good.indexOf("$ScanList Begin");
    const qsizetype q = good.indexOf("$Quick Connect Begin");
    const qsizetype a = good.indexOf("$ADR Begin");
    const qsizetype path = good.indexOf("20 0F 24 01 30 01 ");

    struct Case {
        const char* name;
        std::function<void(QStringList&)> damage;
        QString message;
    };
    const Case cases[] = {
        {"setting not a number", [&](QStringList& x) { x[s + 2] = "ten"; },
         QStringLiteral("Scanner block, line %1 of the device section: \"ten\" is not a valid "
                        "number.")
             .arg(s + 3)},
        {"empty selection line", [&](QStringList& x) { x[l - 1] = ""; },
         "\"\" is not a valid number"},
        {"8-bit field above 255", [&](QStringList& x) { x[l + 1] = "256"; },
         "\"256\" is not a valid number"},
        {"16-bit field above 65535", [&](QStringList& x) { x[l + 4] = "65536"; },
         "\"65536\" is not a valid number"},
        {"negative number", [&](QStringList& x) { x[l + 71 * 63 + 71] = "-1"; },
         "\"-1\" is not a valid number"},
        {"scan list cut short", [&](QStringList& x) { x = x.mid(0, l + 100); },
         QStringLiteral("line %1 of the device section is missing").arg(l + 101)},
        {"settings cut short", [&](QStringList& x) { x = x.mid(0, s + 3); }, "missing"},
        {"quick connect flag not a number", [&](QStringList& x) { x[q + 64] = "yes"; },
         "\"yes\" is not a valid number"},
        {"quick connect flags cut short", [&](QStringList& x) { x = x.mid(0, q + 10); }, "missing"},
        {"ADR path not hexadecimal", [&](QStringList& x) { x[path] = "20 0G 24 01 30 01 "; },
         "is not a valid hexadecimal byte text"},
        {"ADR path shorter than announced", [&](QStringList& x) { x[path] = "20 0F "; },
         "6 bytes were announced, 2 found"},
        {"ADR flag not a number", [&](QStringList& x) { x[a + 3] = "true"; },
         "\"true\" is not a valid number"},
        {"ADR block cut short", [&](QStringList& x) { x = x.mid(0, a + 20); }, "missing"},
        {"ADR record count beyond the records", [&](QStringList& x) { x[path - 4] = "900"; },
         "Scanner block"},
    };
    for (const Case& c : cases) {
        QStringList lines = good;
        c.damage(lines);
        TDevScannerCfgClass cfg(nullptr, AdrScanner);
        try {
            cfg.ReadScannerBlock(lines);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const ConversionError& error) {
            EXPECT_TRUE(error.message().contains(c.message))
                << c.name << ": " << error.message().toStdString();
        }
        const TDevScannerCfgClass fresh(nullptr, AdrScanner);
        EXPECT_EQ(cfg.ScanList, fresh.ScanList) << c.name;
        EXPECT_EQ(cfg.ExpectedPacketRate, fresh.ExpectedPacketRate) << c.name;
        EXPECT_EQ(cfg.QuickConnectInScanner, fresh.QuickConnectInScanner) << c.name;
        EXPECT_EQ(cfg.AdrData, fresh.AdrData) << c.name;
    }
}

TEST(ScannerBlock, ReadsOnlyTheMarkedParts)
{
    TDevScannerCfgClass cfg(nullptr, AdrScanner);
    // Without "$HtTable" three lines before the scan list the selections are not in the file;
    // without the scan list nothing after the settings is read, not even a marked ADR block.
    QStringList settingsOnly = {"$scanner begin", "100", "20", "3", "4", "$ADR Begin", "x"};
    cfg.ReadScannerBlock(settingsOnly);
    EXPECT_EQ(cfg.ExpectedPacketRate, 100);
    EXPECT_EQ(cfg.BackgroundPollRatio, 4);

    TDevScannerCfgClass written(nullptr, AdrScanner);
    fillEverything(written);
    QStringList lines = deviceSection(written);
    lines[lines.indexOf("$HtTable")] = "$httable";
    cfg.ReadScannerBlock(lines);
    EXPECT_EQ(cfg.HitachiInputSelection, 0);
    EXPECT_EQ(cfg.ScanList, written.ScanList);
}

}  // namespace
}  // namespace corvix
