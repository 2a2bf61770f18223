#include "SimFixtures.h"

#include <gtest/gtest.h>

using namespace corvix::sim;
using namespace corvix::sim::test;

namespace {

QByteArray Record(char fill, int size)
{
    return QByteArray(size, fill);
}

// Requests are sent one after another to one scanner at MAC ID 0; each row checks its reply.
struct Step {
    const char* what;
    CipRequest request;
    std::uint8_t replyService;
    QByteArray replyData;
};

void RunSteps(SimNode& scanner, std::initializer_list<Step> steps)
{
    for (const Step& step : steps) {
        const CipReply reply = scanner.handle(step.request);
        EXPECT_EQ(reply.service, step.replyService) << step.what;
        EXPECT_EQ(reply.data.toHex(' '), step.replyData.toHex(' ')) << step.what;
    }
}

CipRequest WithData(CipRequest request, const QByteArray& data)
{
    request.data = data;
    return request;
}

TEST(ScannerObjects, SettingsStatusAndMode)
{
    SimNode scanner = SmallScanner(2);
    scanner.scanner->faultTable[7] = 72;
    QByteArray table(64, '\0');
    table[2] = 0x50;  // own byte: programming mode
    table[7] = 72;
    QByteArray runTable = table;
    runTable[2] = 0;
    const QByteArray settings = Hex("4B 00 0A 00 00 01 00 00 00 00 00 01");
    RunSteps(scanner, {
        {"settings read", Request(0x01, 0x90, 1), 0x81, QByteArray(12, '\0')},
        {"settings write", Request(0x02, 0x90, 1, std::nullopt, "4B 00 0A 00 00 01 00 00 00 00 00 01"), 0x82, {}},
        {"settings read back", Request(0x01, 0x90, 1), 0x81, settings},
        {"settings short", Request(0x02, 0x90, 1, std::nullopt, "4B 00"), 0x94, Hex("13")},
        {"status table idle", Request(0x0E, 0x90, 1, 0x0C), 0x8E, table},
        {"mode idle", Request(0x0E, 0x90, 1, 0x0D), 0x8E, Hex("00")},
        {"mode not settable", Request(0x10, 0x90, 1, 0x0D, "01"), 0x94, Hex("0E")},
        {"auto recovery on", Request(0x10, 0x90, 1, 5, "01"), 0x90, {}},
        {"auto recovery read", Request(0x0E, 0x90, 1, 5), 0x8E, Hex("01")},
        {"auto recovery bad value", Request(0x10, 0x90, 1, 5, "02"), 0x94, Hex("09")},
        {"instance 2", Request(0x01, 0x90, 2), 0x94, Hex("16")},
    });
    scanner.scanner->runMode = true;
    RunSteps(scanner, {
        {"status table run", Request(0x0E, 0x90, 1, 0x0C), 0x8E, runTable},
        {"mode run", Request(0x0E, 0x90, 1, 0x0D), 0x8E, Hex("01")},
        {"settings write in run", Request(0x02, 0x90, 1, std::nullopt, "4B 00 0A 00 00 01 00 00 00 00 00 01"), 0x94, Hex("10")},
    });
}

TEST(ScannerObjects, ScanListRecords)
{
    SimNode scanner = SmallScanner();
    QByteArray fresh(100, '\0');
    fresh[2] = 4;  // entry 5 names MAC ID 4
    const QByteArray written = Record('\x11', 101);
    RunSteps(scanner, {
        {"fresh entry", Request(0x01, 0x91, 5), 0x81, fresh},
        {"write 101", WithData(Request(0x02, 0x91, 5), written), 0x82, {}},
        {"read back 100", Request(0x01, 0x91, 5), 0x81, written.left(100)},
        {"write 100", WithData(Request(0x02, 0x91, 5), Record('\x22', 100)), 0x94, Hex("13")},
        {"write 102", WithData(Request(0x02, 0x91, 5), Record('\x22', 102)), 0x94, Hex("15")},
        {"entry 65", Request(0x01, 0x91, 65), 0x94, Hex("16")},
        {"close", Request(0x50, 0x91, 0), 0xD0, {}},
        {"address recovery", Request(0x10, 0x91, 5, 0x17, "01"), 0x90, {}},
        {"address recovery read", Request(0x0E, 0x91, 5, 0x17), 0x8E, Hex("01")},
        {"quick connect", Request(0x10, 0x91, 6, 0x18, "01"), 0x90, {}},
        {"quick connect read", Request(0x0E, 0x91, 6, 0x18), 0x8E, Hex("01")},
        {"quick connect other", Request(0x0E, 0x91, 5, 0x18), 0x8E, Hex("00")},
        {"attribute 0x19", Request(0x0E, 0x91, 5, 0x19), 0x94, Hex("14")},
    });
    scanner.scanner->runMode = true;
    RunSteps(scanner, {
        {"write in run", WithData(Request(0x02, 0x91, 5), Record('\x33', 101)), 0x94, Hex("10")},
        {"flag in run", Request(0x10, 0x91, 6, 0x18, "00"), 0x94, Hex("10")},
        {"unchanged", Request(0x01, 0x91, 5), 0x81, written.left(100)},
    });
}

TEST(ScannerObjects, AdrRecordsAndRecovery)
{
    SimNode scanner = SmallScanner();
    scanner.scanner->adrSpaceTotal = 20;
    // A record: sequence 1, service 0x10, path 20 0F 24 01 30 01, 2 data bytes.
    const QByteArray record = Hex("01 00 10 06 00 20 0F 24 01 30 01 02 00 0A 00");
    RunSteps(scanner, {
        {"count empty", Request(0x18, 0x8F, 3, 4, "FF 7F"), 0x98, Hex("00 00")},
        {"set member 1", WithData(Request(0x1A, 0x8F, 3, 4), Hex("01 00") + record), 0x9A, Hex("01 00")},
        {"count one", Request(0x18, 0x8F, 3, 4, "FF 7F"), 0x98, Hex("01 00")},
        {"get member 1", Request(0x18, 0x8F, 3, 4, "01 00"), 0x98, record},
        {"get member 2", Request(0x18, 0x8F, 3, 4, "02 00"), 0x94, Hex("16")},
        {"member gap", WithData(Request(0x1A, 0x8F, 3, 4), Hex("03 00") + record), 0x94, Hex("20")},
        {"space full", WithData(Request(0x1A, 0x8F, 4, 4), Hex("01 00") + record), 0x94, Hex("02")},
        {"used", Request(0x0E, 0x8F, 0, 9), 0x8E, Hex("0F 00")},
        {"total", Request(0x0E, 0x8F, 0, 8), 0x8E, Hex("14 00")},
        {"recovery 2", Request(0x10, 0x8F, 3, 2, "02"), 0x90, {}},
        {"recovery read", Request(0x0E, 0x8F, 3, 2), 0x8E, Hex("02")},
        {"recovery 3", Request(0x10, 0x8F, 3, 2, "03"), 0x94, Hex("09")},
        {"reset", Request(0x05, 0x8F, 0), 0x85, {}},
        {"reset cleared records", Request(0x18, 0x8F, 3, 4, "FF 7F"), 0x98, Hex("00 00")},
        {"reset cleared recovery", Request(0x0E, 0x8F, 3, 2), 0x8E, Hex("00")},
        {"save", Request(0x16, 0x8F, 0), 0x96, {}},
        {"member without number", Request(0x18, 0x8F, 3, 4, "01"), 0x94, Hex("13")},
    });
    scanner.scanner->refuseRecoveryTwo = true;
    RunSteps(scanner, {
        {"recovery 2 refused", Request(0x10, 0x8F, 3, 2, "02"), 0x94, Hex("09")},
        {"recovery 1 accepted", Request(0x10, 0x8F, 3, 2, "01"), 0x90, {}},
    });
}

}  // namespace
