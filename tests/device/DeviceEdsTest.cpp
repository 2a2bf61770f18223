#include <gtest/gtest.h>

#include "../library/LibraryFixtures.h"
#include "DeviceFixtures.h"
#include "LocaleGuard.h"
#include "app/CorvixError.h"

namespace corvix {
namespace {

using test::DeviceFromRaw;
using test::LocaleGuard;
using test::ParamEntry;

QList<int> numbersOf(const TDeviceNetDevice& device)
{
    QList<int> numbers;
    for (const auto& parameter : device.Parameters()) {
        numbers.append(parameter->Number());
    }
    return numbers;
}

TEST(DeviceEds, IdentityAndInformationLinesInReadingOrder)
{
    const auto device = DeviceFromRaw(
        "[Device] ProdName = \"Drive, small\"; vendcode = 90; MajRev = 0x02; ProdCode = 7;\n"
        "ProdType = 2; Catalog = \"\"; Icon = ;\n"
        "[File] Revision = 1.1; DescText = \"A drive\"; CreateDate = 01-02-2003;");
    EXPECT_EQ(device->ProductName, QStringLiteral("Drive. small"));
    EXPECT_EQ(device->VendorCode, 90);
    EXPECT_EQ(device->ProductType, 2);
    EXPECT_EQ(device->ProductCode, 7);
    EXPECT_EQ(device->MajorRevision, 2);
    // Fixed key order, not file order; DescText without quotes, other values as written;
    // Catalog keeps its quotes and an empty Icon adds no line.
    EXPECT_EQ(device->EdsInfo,
              QStringList({"DescText : A drive", "CreateDate : 01-02-2003", "Revision : 1.1",
                           "VendCode : 90", "ProdType : 2", "ProdCode : 7", "MajRev : 0x02",
                           "ProdName : \"Drive. small\"", "Catalog : \"\""}));
    EXPECT_EQ(device->EdsFileName, QStringLiteral("test.eds"));
    EXPECT_EQ(device->MacId, 5);
    EXPECT_FALSE(device->WithoutEds);
    EXPECT_FALSE(device->HasParameterList());
    EXPECT_TRUE(device->ParameterGroups.isEmpty());
    EXPECT_EQ(device->ScannerConfig, nullptr);
}

TEST(DeviceEds, FaultsThatEndTheReading)
{
    const struct {
        const char* name;
        QByteArray raw;
        QString message;  // empty: any conversion error
    } cases[] = {
        {"qc not a number", "DNetQC = x;", "Invalid Quick connect support value"},
        {"qc bad binary", "DNetQC = 0b12, 3;", "Invalid Quick connect support value"},
        {"qc empty", "DNetQC = ;", "Invalid Quick connect support value"},
        {"vendor code", "VendCode = ninety;", {}},
        {"default mask", "[IO_Info] Default = poll;", {}},
        {"size of the named input", "[IO_Info] PollInfo = 1, 1, 0; Input1 = big;", {}},
        {"group member",
         "[ParamClass] MaxInst = 1; [Params]" + ParamEntry(1) + "[Groups] Group1 = \"G\", 1, one;",
         {}},
    };
    for (const auto& c : cases) {
        try {
            DeviceFromRaw(c.raw);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const ConversionError& error) {
            EXPECT_TRUE(c.message.isEmpty()) << c.name << ": " << error.what();
        } catch (const CorvixError& error) {
            EXPECT_EQ(error.message(), c.message) << c.name;
        }
    }
}

TEST(DeviceEds, QuickConnectValues)
{
    const struct {
        QByteArray raw;
        int64_t support;
        int64_t second;
    } cases[] = {
        {"DNetQC = 0b101, 7;", 5, 7},
        {"DNetQC = 1, notanumber;", 1, 0},
        {"DNetQC = 0x01;", 1, 0},
        {"Other = 1;", 0, 0},
    };
    for (const auto& c : cases) {
        const auto device = DeviceFromRaw(c.raw);
        EXPECT_EQ(device->QuickConnectSupport, c.support) << c.raw.constData();
        EXPECT_EQ(device->QuickConnectSecondField, c.second) << c.raw.constData();
    }
}

TEST(DeviceEds, DefaultIoSizesFollowTheNamedEntries)
{
    const QByteArray entries = "Input1 = 4, 0; Input2 = , 0; Output1 = 2, 0;";
    const struct {
        const char* name;
        QByteArray info;
        int64_t pollIn, pollOut, cosIn, strobeOut;
    } cases[] = {
        {"poll 1 1", "PollInfo = 0x0001, 1, 1;", 4, 2, 0, 0},
        {"input past the entries", "PollInfo = 0x0001, 3, 1;", 0, 2, 0, 0},
        {"empty size counts as 0", "PollInfo = 0x0001, 2, 1;", 0, 2, 0, 0},
        {"zero and negative", "PollInfo = 1, 0, -1;", 0, 0, 0, 0},
        {"not a number", "PollInfo = 1, x, 1;", 0, 2, 0, 0},
        {"four fields ignored", "PollInfo = 1, 1, 1, 1;", 0, 0, 0, 0},
        {"cos and strobe", "COSInfo = 4, 1, 0; StrobeInfo = 2, 0, 1;", 0, 0, 4, 2},
    };
    for (const auto& c : cases) {
        const auto device = DeviceFromRaw("[IO_Info] Default = 0x0009;" + c.info + entries);
        EXPECT_EQ(device->DefaultConnections, 9) << c.name;
        EXPECT_EQ(device->PollInputSize, c.pollIn) << c.name;
        EXPECT_EQ(device->PollOutputSize, c.pollOut) << c.name;
        EXPECT_EQ(device->CosInputSize, c.cosIn) << c.name;
        EXPECT_EQ(device->StrobeOutputSize, c.strobeOut) << c.name;
    }
    // Entries standing before [IO_Info] are not counted.
    const auto before = DeviceFromRaw("Input1 = 4; [IO_Info] PollInfo = 1, 1, 0;");
    EXPECT_EQ(before->PollInputSize, 0);
}

TEST(DeviceEds, ParameterDefinitionsAndTheirErrorLines)
{
    LocaleGuard guard(LocaleGuard::point());
    const struct {
        const char* name;
        QByteArray raw;
        QList<int> numbers;
        QStringList errors;
    } cases[] = {
        {"proxy",
         "[ParamClass] MaxInst = 3; [Params] ProxyParam1 = 1; ProxiedParam2 = 1;" + ParamEntry(1) +
             ParamEntry(2) + ParamEntry(3),
         {3},
         {"ProxyParam1  is not supported by Corvix", "ProxiedParam2  is not supported by Corvix"}},
        {"proxy and proxied, one line",
         "[ParamClass] MaxInst = 1; ProxiedParam1 = 1; "
         "ProxyParam1 = 1;",
         {},
         {"ProxyParam1  is not supported by Corvix"}},
        {"too few fields",
         "[ParamClass] MaxInst = 2; [Params] Param1 = 0,,,0,0xC6,1,\"a\","
         "\"\",\"\",0,10;" +
             ParamEntry(2),
         {2},
         {"Too few fields in parameter definition of Parameter 1"}},
        {"unclosed quote",
         "[ParamClass] MaxInst = 1; [Params] Param1 = 0,,,0,0xC6,1,\"a",
         {},
         {"Too few fields in parameter definition of Parameter 1"}},
        {"unsupported type",
         "[ParamClass] MaxInst = 1; [Params]" + ParamEntry(1, "0", "0x99"),
         {},
         {"Illegal entry in parameter definition of Parameter 1",
          "Unsupported parameter data type in EDS-file"}},
        {"excluded by descriptor",
         "[ParamClass] MaxInst = 2; [Params]" + ParamEntry(1, "0x0200") +
             ParamEntry(2, "0b1000010000"),
         {},
         {}},
        {"1 does not match 10", "[ParamClass] MaxInst = 10; [Params]" + ParamEntry(10), {10}, {}},
        {"beyond MaxInst", "[ParamClass] MaxInst = 1; [Params]" + ParamEntry(10), {}, {}},
        {"no MaxInst number", "[ParamClass] MaxInst = many; [Params]" + ParamEntry(1), {}, {}},
        {"huge MaxInst",
         "[ParamClass] MaxInst = 0x7FFFFFFFFFFF; [Params]" + ParamEntry(2),
         {2},
         {}},
    };
    for (const auto& c : cases) {
        const auto device = DeviceFromRaw(c.raw);
        EXPECT_TRUE(device->HasParameterList()) << c.name;
        EXPECT_EQ(numbersOf(*device), c.numbers) << c.name;
        EXPECT_EQ(device->DefinitionErrors, c.errors) << c.name;
    }
}

TEST(DeviceEds, ParamsWithoutParamClassGiveNoParameterList)
{
    const auto device = DeviceFromRaw("[Params]" + ParamEntry(1) + "[Groups] Group1=\"G\",1,1;");
    EXPECT_FALSE(device->HasParameterList());
    EXPECT_TRUE(device->Parameters().empty());
    EXPECT_TRUE(device->ParameterGroups.isEmpty());
    EXPECT_EQ(device->ParameterCount(0), 0);
    EXPECT_EQ(device->ParameterAt(0, 0), nullptr);
}

TEST(DeviceEds, EnumerationStringsComeFromTheNextOccurrence)
{
    LocaleGuard guard(LocaleGuard::point());
    const auto device = DeviceFromRaw(
        "[ParamClass] MaxInst = 2; Descriptor = 0x000E; [Params] Param1 = 0,,,0,0xC6,1,\"Mode\","
        "\"\",\"\",0,2,1; Param2 = 0,,,0,0xC6,1,\"Plain\",\"\",\"\",0,2,1;"
        "[EnumPar] Param1 = \"Off\", \"Slow, careful\", \"Fast\";");
    ASSERT_EQ(device->Parameters().size(), 2u);
    EXPECT_EQ(device->ParamClassDescriptor, 14);
    EXPECT_EQ(device->Parameters()[0]->EnumStrings(),
              QStringList({"Off", "Slow. careful", "Fast"}));
    EXPECT_EQ(device->Parameters()[0]->GetDisplayValue(), QStringLiteral("Slow. careful"));
    EXPECT_TRUE(device->Parameters()[1]->EnumStrings().isEmpty());
    EXPECT_EQ(device->Parameters()[0]->Device(), device.get());
}

TEST(DeviceEds, GroupsListKnownMembersInTheirOrder)
{
    LocaleGuard guard(LocaleGuard::point());
    const auto device = DeviceFromRaw("[ParamClass] MaxInst = 3; [Params]" + ParamEntry(1) +
                                      ParamEntry(2) + ParamEntry(3) +
                                      "[Groups] Group1 = \"Setup\", 3, 3, 99, 1;"
                                      "Group2 = \"Empty\", 0; Group4 = \"Unreached\", 1, 2;");
    ASSERT_EQ(device->ParameterGroups.size(), 3);
    EXPECT_EQ(device->ParameterGroups[0].Name, QStringLiteral("All Parameters"));
    EXPECT_EQ(device->ParameterCount(0), 3);
    EXPECT_EQ(device->ParameterGroups[1].Name, QStringLiteral("Setup"));
    ASSERT_EQ(device->ParameterCount(1), 2);
    EXPECT_EQ(device->ParameterAt(1, 0)->Number(), 3);
    EXPECT_EQ(device->ParameterAt(1, 1)->Number(), 1);
    EXPECT_EQ(device->ParameterCount(2), 0);
    EXPECT_EQ(device->ParameterAt(1, 2), nullptr);
    EXPECT_EQ(device->ParameterAt(-1, 0), nullptr);
    EXPECT_EQ(device->ParameterCount(3), 0);
}

TEST(DeviceEds, ScannerFilesGetAScannerConfiguration)
{
    const struct {
        const char* file;
        bool scanner;
    } cases[] = {
        {"data/eds/Velmora_DNS100_Scanner.eds", true},
        {"data/eds/Velmora_DNS200_Scanner.eds", true},
        {"data/eds/example_ac_drive.eds", false},
        {"data/eds/example_io_block.eds", false},
        {"data/eds/example_sensor_no_params.eds", false},
    };
    for (const auto& c : cases) {
        const auto device = DeviceFromRaw(test::ReadSourceFile(c.file));
        EXPECT_EQ(device->ScannerConfig != nullptr, c.scanner) << c.file;
        EXPECT_TRUE(device->DefinitionErrors.isEmpty()) << c.file;
        if (device->ScannerConfig) {
            EXPECT_EQ(device->ScannerConfig->Owner, device.get());
        }
    }
}

TEST(DeviceEds, DeviceWithoutEds)
{
    const auto device = TDeviceNetDevice::CreateWithoutEds(nullptr, 9, 1, 2, 3, 4);
    EXPECT_EQ(device->ProductName, QStringLiteral("No EDS-file registered for this device"));
    EXPECT_TRUE(device->WithoutEds);
    EXPECT_TRUE(device->HasIdentity(1, 2, 4, 3));
    EXPECT_FALSE(device->HasIdentity(1, 2, 3, 4));
    const auto other = TDeviceNetDevice::CreateWithoutEds(nullptr, 10, 1, 2, 3, 4);
    EXPECT_TRUE(device->SameIdentity(*other));
    other->MajorRevision = 5;
    EXPECT_FALSE(device->SameIdentity(*other));
    EXPECT_TRUE(device->AllSaved());
}

}  // namespace
}  // namespace corvix
