#include "scanner/DevScannerCfg.h"

#include "app/CorvixError.h"

#include <gtest/gtest.h>

#include <QString>

namespace corvix {
namespace {

// Fixtures are written as the EDS normaliser leaves a file: no blanks outside quotes, CR LF
// after every ";" and "]".

TEST(ScannerEds, RecognisesScannerByClassKeyAndScannerSection)
{
    const QByteArray key = "1RSNetWorxDCorvix=\"SdnCnfg.DnScannerDevice\";\r\n";
    struct Case {
        const char* name;
        QByteArray text;
        bool scanner;
    };
    const Case cases[] = {
        {"class key and [1Scanner]", "[1Scanner]\r\n" + key, true},
        {"class key and [1GenSCT]", "[1GenSCT]\r\n" + key, true},
        {"letter case ignored", "[1scanner]\r\n1rsnetworxdcorvix=\"sdncnfg.dnscannerdevice\";",
         true},
        {"written key form", "[1Scanner]\r\n1_RSNetWorx_DCorvix=\"SdnCnfg.DnScannerDevice\";",
         true},
        {"class key only", key, false},
        {"scanner section only", "[1Scanner]\r\n", false},
        {"other class", "[1Scanner]\r\n1RSNetWorxDCorvix=\"SdnCnfg.DnAdapter\";\r\n", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TDevScannerCfgClass::IsScannerEds(c.text), c.scanner) << c.name;
    }
}

// One direction's tables as "name/size/read-only bits" items.
QStringList tables(const QStringList& names, const QStringList& sizes, const QStringList& bits)
{
    QStringList items;
    for (qsizetype i = 0; i < names.size(); ++i) {
        items << names[i] + '/' + sizes.value(i) + '/' + bits.value(i);
    }
    return items;
}

TEST(ScannerEds, BuildsMemoryTablesOfEveryKind)
{
    struct Case {
        const char* name;
        QByteArray text;
        QStringList inputs, inputTypes;
        int inputWidth;
        QStringList outputs, outputTypes;
        int outputWidth;
    };
    const QStringList blockTransfer = {"Discrete/4/16",     "BlockXfer 62/124/0",
                                       "BlockXfer 61/122/0", "BlockXfer 60/120/0",
                                       "BlockXfer 59/118/0", "BlockXfer 58/116/0",
                                       "BlockXfer 57/114/0"};
    const Case cases[] = {
        {"kind 1", "MemoryTables=1;\r\n", {"Discrete/64/16", "MFile/304/0"}, {}, 1,
         {"Discrete/64/16", "MFile/300/0"}, {}, 1},
        {"kind 2", "MemoryTables=2;\r\n", {"Assembly Data/492/0"}, {}, 1,
         {"Assembly Data/492/0"}, {}, 1},
        {"kind 3", "MemoryTables=3;\r\n", blockTransfer, {}, 1, blockTransfer, {}, 1},
        {"kind 4", "MemoryTables=4;\r\n", {"Discrete/364/16"}, {}, 1, {"Discrete/492/528"}, {},
         1},
        {"kind 0: typed inputs, sized outputs",
         "MemoryTables=0;\r\n1InTable1=4,C7,\"Words\";\r\n1InTable2=2,D3,\"Longs\";\r\n"
         "OutputTable0=\"Out A\",2,10,16;\r\nOutputTable1=\"Out B\",3,2,0;\r\n"
         "InputTable0=\"Ignored\",1,1,0;\r\n",
         {"Words/8/0", "Longs/8/0"}, {"C7", "D3"}, 4,
         {"Out A/20/16", "Out B/8/0"}, {"", ""}, 4},
        {"kind 0: width code other than 2 or 3",
         "MemoryTables=0;\r\nInputTable0=\"Bytes\",1,6,8;\r\n", {"Bytes/6/8"}, {""}, 1, {}, {},
         1},
        {"no kind: typed tables only",
         "1OutTable1=4,D2,\"Out\";\r\n1InTable1=4,\"C5\",\"In\";\r\n"
         "InputTable0=\"Ignored\",1,1,0;\r\n",
         {"In/32/0"}, {"C5"}, 1, {"Out/8/0"}, {"D2"}, 2},
        {"table 1 key does not match table 10", "1InTable10=1,C1,\"Ten\";\r\n", {}, {}, 1, {}, {},
         1},
        {"hexadecimal count", "1InTable1=0x10,C6,\"Hex\";\r\n", {"Hex/16/0"}, {"C6"}, 1, {}, {},
         1},
    };
    for (const Case& c : cases) {
        const TDevScannerCfgClass cfg(nullptr, c.text);
        EXPECT_EQ(tables(cfg.InputTableNames, cfg.InputTableSizes, cfg.InputReadOnlyBits),
                  c.inputs)
            << c.name;
        EXPECT_EQ(cfg.InputTableTypes, c.inputTypes) << c.name;
        EXPECT_EQ(cfg.InputElementWidth, c.inputWidth) << c.name;
        EXPECT_EQ(tables(cfg.OutputTableNames, cfg.OutputTableSizes, cfg.OutputReadOnlyBits),
                  c.outputs)
            << c.name;
        EXPECT_EQ(cfg.OutputTableTypes, c.outputTypes) << c.name;
        EXPECT_EQ(cfg.OutputElementWidth, c.outputWidth) << c.name;
    }
}

TEST(ScannerEds, ReadsAnnouncedFeatures)
{
    struct Case {
        const char* name;
        QByteArray text;
        bool slaveMode, sharedInputs, adr, quickConnect;
        int adrTotal;
    };
    const Case cases[] = {
        {"nothing announced", "MemoryTables=2;\r\n", false, false, false, false, 0},
        {"all announced",
         "1SlaveMode=1;\r\n1SharedInputs=1;\r\nADR=2048;\r\nQuickConnect=1;\r\n", true, true,
         true, true, 2048},
        {"all switched off",
         "1SlaveMode=0;\r\n1SharedInputs=0;\r\nADR=0;\r\nQuickConnect=0;\r\n", false, false,
         false, false, 0},
        {"shared inputs without vendor prefix", "SharedInputs=1;\r\n", false, true, false, false,
         0},
        {"ADR size in hexadecimal", "ADR=0x400;\r\n", false, false, true, false, 1024},
    };
    for (const Case& c : cases) {
        const TDevScannerCfgClass cfg(nullptr, c.text);
        EXPECT_EQ(cfg.SlaveMode, c.slaveMode) << c.name;
        EXPECT_EQ(cfg.SharedInputs, c.sharedInputs) << c.name;
        EXPECT_EQ(cfg.AdrSupported, c.adr) << c.name;
        EXPECT_EQ(cfg.QuickConnectSupported, c.quickConnect) << c.name;
        EXPECT_EQ(cfg.AdrData.AdrSpaceTotal, c.adrTotal) << c.name;
        EXPECT_EQ(cfg.AdrData.TotalIsEstimate, c.adr) << c.name;
        EXPECT_EQ(cfg.AdrData.UsedIsEstimate, c.adr) << c.name;
    }
}

TEST(ScannerEds, RejectsTableAndAdrEntriesThatAreNotNumbers)
{
    struct Case {
        const char* name;
        QByteArray text;
        const char* message;
    };
    const Case cases[] = {
        {"typed count", "1InTable1=four,C7,\"A\";\r\n", "'four' is not a valid integer value"},
        {"typed count with trailing text", "1OutTable1=4x,C7,\"A\";\r\n",
         "'4x' is not a valid integer value"},
        {"typed table without name", "1InTable1=4,C7;\r\n", "1InTable1="},
        {"sized count", "MemoryTables=0;\r\nInputTable0=\"A\",1,,0;\r\n",
         "'' is not a valid integer value"},
        {"sized read-only bits", "MemoryTables=0;\r\nOutputTable0=\"A\",1,4,all;\r\n",
         "'all' is not a valid integer value"},
        {"negative count", "MemoryTables=0;\r\nInputTable0=\"A\",1,-2,0;\r\n", "InputTable0="},
        {"ADR size", "ADR=yes;\r\n", "'yes' is not a valid integer value"},
        {"ADR size beyond 16 bits", "ADR=70000;\r\n", "Invalid ADR memory size 70000"},
    };
    for (const Case& c : cases) {
        try {
            TDevScannerCfgClass cfg(nullptr, c.text);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const ConversionError& error) {
            EXPECT_TRUE(error.message().contains(QString::fromLatin1(c.message)))
                << c.name << ": " << error.message().toStdString();
        }
    }
}

TEST(ScannerEds, ReadsLinearMappingTables)
{
    const TDevScannerCfgClass cfg(
        nullptr,
        "90InternalInputMappingTable1=2,\"Rows are words\",\"X\",1,4096,2,3,\"X\",\".0\","
        "\"WX\",0,0x20,0,0,\"WX\",\"\";\r\n"
        "90_InternalOutputMappingTable1=1,\"Out help\",\"Y\",0,16,0,0,\"Y\",\"\";\r\n");
    ASSERT_EQ(cfg.InputHitachiTables.size(), 2);
    EXPECT_EQ(cfg.InputHitachiHelp, "Rows are words");
    EXPECT_EQ(cfg.InputHitachiTables[0], (THitachiLinearMappingTable{"X", 1, 4096, 2, 3, "X",
                                                                       ".0"}));
    EXPECT_EQ(cfg.InputHitachiTables[1], (THitachiLinearMappingTable{"WX", 0, 32, 0, 0, "WX",
                                                                       ""}));
    ASSERT_EQ(cfg.OutputHitachiTables.size(), 1);
    EXPECT_EQ(cfg.OutputHitachiHelp, "Out help");
    EXPECT_EQ(cfg.OutputHitachiTables[0].FirstAddress, 16);
}

TEST(ScannerEds, IgnoresBrokenLinearMappingDefinitions)
{
    struct Case {
        const char* name;
        QByteArray text;
        QStringList names;
    };
    const QByteArray good = "1,\"h\",\"G\",0,1,0,0,\"G\",\"\";\r\n";
    const Case cases[] = {
        // A definition whose field count does not fit is skipped; the next one still counts.
        {"wrong field count", "90InternalInputMappingTable1=1,\"h\",\"A\",0,1;\r\n"
                              "90InternalInputMappingTable2=" + good,
         {"G"}},
        {"bad number discards all", "90InternalInputMappingTable1=" + good +
                                        "90InternalInputMappingTable2=1,\"h\",\"B\",0,1y,0,0,"
                                        "\"B\",\"\";\r\n",
         {}},
        {"more tables announced than written",
         "90InternalInputMappingTable1=2,\"h\",\"A\",0,1,0,0,\"A\",\"\";\r\n", {}},
        {"key without vendor prefix is not a definition",
         "InternalInputMappingTable1=" + good, {}},
    };
    for (const Case& c : cases) {
        const TDevScannerCfgClass cfg(nullptr, c.text);
        QStringList names;
        for (const THitachiLinearMappingTable& table : cfg.InputHitachiTables) {
            names << table.Name;
        }
        EXPECT_EQ(names, c.names) << c.name;
    }
}

}  // namespace
}  // namespace corvix
