#include "SimFixtures.h"

#include "app/CorvixError.h"
#include "core/BridgeDescription.h"
#include "core/NetworkDescription.h"
#include "library/EdsKeywordCheck.h"
#include "library/EdsNormaliser.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace corvix;
using namespace corvix::sim;
using namespace corvix::sim::test;

namespace {

const QString ExampleFolder = QStringLiteral(CORVIX_SOURCE_DIR "/data/eds");

// One node at MAC ID 1 from a file of data/eds, with extra JSON members.
SimNode NodeFrom(const char* eds, const char* extra = "")
{
    const QByteArray json = QByteArray(R"({"nodes":[{"macId":1,"eds":")") + eds + "\"" + extra + "}]}";
    SimNetwork network = ParseNetworkDescription(json, ExampleFolder).network;
    return *network.node(1);
}

std::uint32_t Number(const QByteArray& bytes)
{
    std::uint32_t value = 0;
    for (qsizetype i = bytes.size() - 1; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[i]);
    return value;
}

QString ShortString(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.mid(1, bytes.isEmpty() ? 0 : static_cast<std::uint8_t>(bytes[0])));
}

TEST(EdsNode, EveryExampleFileAnswersWithItsIdentityAndParameterCount)
{
    struct Case {
        const char* file;
        std::uint16_t vendor, type, code;
        std::uint8_t major, minor;
        const char* name;
        std::uint16_t parameters;  // 0: no Parameter object
        std::uint16_t groups;
        bool scanner;
    };
    const Case cases[] = {
        {"example_ac_drive.eds", 1313, 2, 202, 3, 1, "Example AD-075 Drive", 10, 3, false},
        {"example_io_block.eds", 1313, 7, 101, 1, 2, "Example IO-88 Block", 6, 3, false},
        {"example_sensor_no_params.eds", 1313, 6, 305, 1, 1, "Example PS-1 Sensor", 0, 0, false},
        {"Velmora_DNS100_Scanner.eds", 1313, 12, 100, 1, 2, "DNS100 DeviceNet Scanner", 2, 0, true},
        {"Velmora_DNS200_Scanner.eds", 1313, 12, 200, 2, 1, "DNS200 DeviceNet Scanner", 3, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        SimNode node = NodeFrom(c.file);
        const auto get = [&node](std::uint16_t classId, std::uint16_t instance, std::uint8_t attribute) {
            return node.handle(Request(0x0E, classId, instance, attribute));
        };
        EXPECT_EQ(Number(get(1, 1, 1).data), c.vendor);
        EXPECT_EQ(Number(get(1, 1, 2).data), c.type);
        EXPECT_EQ(Number(get(1, 1, 3).data), c.code);
        EXPECT_EQ(Number(get(1, 1, 4).data), c.major | c.minor << 8u);
        EXPECT_EQ(ShortString(get(1, 1, 7).data), QLatin1String(c.name));
        if (c.parameters == 0) {
            EXPECT_EQ(get(0x0F, 0, 2).generalStatus(), cip::PathDestinationUnknown);
        } else {
            EXPECT_EQ(Number(get(0x0F, 0, 2).data), c.parameters);
            EXPECT_EQ(get(0x0F, c.parameters, 1).generalStatus(), 0);
            if (c.groups > 0) {
                EXPECT_EQ(Number(get(0x10, 0, 2).data), c.groups);
            }
        }
        EXPECT_EQ(node.scanner.has_value(), c.scanner);
        EXPECT_EQ(get(0x91, 1, 1).generalStatus() != cip::PathDestinationUnknown, c.scanner);
    }
}

TEST(EdsNode, DriveServesTheParametersOfItsFile)
{
    struct Case {
        const char* what;
        CipRequest request;
        const char* reply;
    };
    const Case cases[] = {
        {"class descriptor", Request(0x0E, 0x0F, 0, 8), "03 00"},
        {"value is the default", Request(0x0E, 0x0F, 3, 1), "64 00"},
        {"link path size", Request(0x0E, 0x0F, 1, 2), "06"},
        {"link path", Request(0x0E, 0x0F, 1, 3), "20 2A 24 01 30 07"},
        {"descriptor as written", Request(0x0E, 0x0F, 9, 4), "54 00"},
        {"BOOL has enumeration strings", Request(0x0E, 0x0F, 7, 4), "02 00"},
        {"type and size", Request(0x0E, 0x0F, 4, 5), "C8"},
        {"name without the display number", Request(0x0E, 0x0F, 1, 7), "10 4F 75 74 70 75 74 20 66 72 65 71 75 65 6E 63 79"},
        {"units", Request(0x0E, 0x0F, 1, 8), "02 48 7A"},
        {"help as written", Request(0x0E, 0x0F, 6, 9), "1D 41 20 6E 61 6D 65 20 6F 66 20 75 70 20 74 6F 20 31 36 20 63 68 61 72 61 63 74 65 72 73"},
        {"signed minimum", Request(0x0E, 0x0F, 2, 10), "48 F4"},
        {"signed maximum", Request(0x0E, 0x0F, 2, 11), "B8 0B"},
        {"UDINT maximum fills 32 bits", Request(0x0E, 0x0F, 4, 11), "FF FF FF FF"},
        {"REAL maximum", Request(0x0E, 0x0F, 5, 11), "00 80 3B 45"},
        {"text default with its count", Request(0x0E, 0x0F, 6, 12), "07 44 72 69 76 65 20 31"},
        {"text value", Request(0x0E, 0x0F, 6, 1), "07 44 72 69 76 65 20 31"},
        {"divisor", Request(0x0E, 0x0F, 3, 14), "0A 00"},
        {"negative offset", Request(0x0E, 0x0F, 9, 16), "70 FE"},
        {"precision", Request(0x0E, 0x0F, 9, 21), "01"},
        {"no scaling without the descriptor bit", Request(0x0E, 0x0F, 10, 14), "01 00"},
        {"enumeration string", Request(0x4B, 0x0F, 10, std::nullopt, "01"), "11 53 65 6E 73 6F 72 6C 65 73 73 20 76 65 63 74 6F 72"},
        {"group name", Request(0x0E, 0x10, 2, 1), "05 53 65 74 75 70"},
        {"group members", Request(0x01, 0x10, 3, std::nullopt), "0E 49 64 65 6E 74 69 66 69 63 61 74 69 6F 6E 01 00 06 00"},
    };
    SimNode node = NodeFrom("example_ac_drive.eds");
    for (const Case& c : cases) {
        const CipReply reply = node.handle(c.request);
        EXPECT_EQ(reply.generalStatus(), 0) << c.what;
        EXPECT_EQ(reply.data.toHex(' '), Hex(c.reply).toHex(' ')) << c.what;
    }
    const Case sets[] = {
        {"read-only in its descriptor", Request(0x10, 0x0F, 1, 1, "01 00"), "0E"},
        {"below the file's minimum", Request(0x10, 0x0F, 3, 1, "00 00"), "09"},
        {"text of 16 characters", Request(0x10, 0x0F, 6, 1, "10 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41"), "00"},
        {"text above its maximum length", Request(0x10, 0x0F, 6, 1, "11 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41"), "09"},
        {"text shorter than its count", Request(0x10, 0x0F, 6, 1, "05 50 75 6D 70"), "13"},
        {"text longer than its count", Request(0x10, 0x0F, 6, 1, "03 50 75 6D 70"), "15"},
        {"text without a count", Request(0x10, 0x0F, 6, 1), "13"},
        {"a short text", Request(0x10, 0x0F, 6, 1, "04 50 75 6D 70"), "00"},
    };
    for (const Case& c : sets)
        EXPECT_EQ(node.handle(c.request).generalStatus(), Hex(c.reply)[0]) << c.what;
    EXPECT_EQ(node.handle(Request(0x0E, 0x0F, 6, 1)).data, Hex("04 50 75 6D 70")) << "the text set last";
}

TEST(EdsNode, ObjectsTheParametersLinkToServeTheirValues)
{
    SimNode node = NodeFrom("example_ac_drive.eds");
    // Parameter 3 (acceleration time, writable) lives in the drive object, attribute 0x12;
    // parameter 1 (output frequency, read-only) at attribute 7.
    EXPECT_EQ(node.handle(Request(0x0E, 0x2A, 1, 0x12)).data, node.handle(Request(0x0E, 0x0F, 3, 1)).data);
    const CipReply set = node.handle(Request(0x10, 0x2A, 1, 0x12, "C8 00"));
    EXPECT_EQ(set.generalStatus(), 0);
    EXPECT_EQ(set.service, 0x90);
    EXPECT_EQ(node.handle(Request(0x0E, 0x0F, 3, 1)).data, Hex("C8 00")) << "one value, two paths";
    const struct {
        const char* what;
        CipRequest request;
        std::uint8_t status;
    } refused[] = {
        {"read-only through its link too", Request(0x10, 0x2A, 1, 0x07, "01 00"), 0x0E},
        {"outside the limits", Request(0x10, 0x2A, 1, 0x12, "00 00"), 0x09},
        {"an attribute no parameter links to", Request(0x0E, 0x2A, 1, 0x08), 0x05},
        {"another instance", Request(0x0E, 0x2A, 2, 0x07), 0x05},
        {"a whole-object service", Request(0x01, 0x2A, 1, std::nullopt), 0x05},
    };
    for (const auto& c : refused)
        EXPECT_EQ(node.handle(c.request).generalStatus(), c.status) << c.what;
}

TEST(EdsNode, InitialValuesAreRawTextsWithinTheLimits)
{
    struct Case {
        const char* values;
        std::uint16_t instance;
        const char* bytes;      // expected value; nullptr: rejected
        const char* messagePart;
    };
    const Case cases[] = {
        {R"({"3": "250"})", 3, "FA 00", nullptr},
        {R"({"3": 250})", 3, "FA 00", nullptr},
        {R"({"2": "-1"})", 2, "FF FF", nullptr},
        {R"({"5": "-12.5"})", 5, "00 00 48 C1", nullptr},
        {R"({"6": "Pump"})", 6, "04 50 75 6D 70", nullptr},
        {R"({"3": "0"})", 3, nullptr, "outside"},
        {R"({"10": "3"})", 10, nullptr, "outside"},
        {R"({"3": "fast"})", 3, nullptr, "values.3"},
        {R"({"3": true})", 3, nullptr, "expected a raw value"},
        {R"({"11": "1"})", 11, nullptr, "defines no parameter 11"},
        {R"({"x": "1"})", 1, nullptr, "defines no parameter x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.values);
        const QByteArray extra = QByteArray(R"(,"values":)") + c.values;
        if (c.bytes) {
            SimNode node = NodeFrom("example_ac_drive.eds", extra.constData());
            EXPECT_EQ(node.handle(Request(0x0E, 0x0F, c.instance, 1)).data.toHex(' '), Hex(c.bytes).toHex(' '));
            continue;
        }
        try {
            NodeFrom("example_ac_drive.eds", extra.constData());
            ADD_FAILURE() << "accepted";
        } catch (const ConversionError& error) {
            EXPECT_TRUE(error.message().contains(QLatin1String(c.messagePart))) << error.message().toStdString();
        }
    }
}

TEST(EdsNode, InitialValuesUseADecimalPointInEveryLocale)
{
    const QLocale kept;
    QLocale::setDefault(QLocale(QLocale::German));
    SimNode node = NodeFrom("example_ac_drive.eds", R"(,"values":{"5": -12.5})");
    QLocale::setDefault(kept);
    EXPECT_EQ(node.handle(Request(0x0E, 0x0F, 5, 1)).data.toHex(' '), Hex("00 00 48 C1").toHex(' '));
}

TEST(EdsNode, BadEdsEntriesGiveAClearError)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto write = [&folder](const char* name, const QByteArray& text) {
        QFile file(folder.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    write("garbage.eds", "\x01\x02 not an EDS file [[[ \"");
    write("badparam.eds", "[Device]\r\nVendCode=5;ProdType=1;ProdCode=2;MajRev=1;ProdName=\"X\";\r\n"
                          "[ParamClass]\r\nMaxInst=1;\r\n[Params]\r\nParam1=0,,,0,0xC6,1,\"P\",\"\",\"\",0,3,9;\r\n");
    write("noports.eds", "[Device]\r\nVendCode=5;ProdType=12;ProdCode=2;MajRev=1;ProdName=\"B\";\r\n");
    write("badport.eds", "[Device]\r\nVendCode=5;ProdType=12;ProdCode=2;MajRev=1;ProdName=\"B\";\r\n"
                         "[Port]\r\nPort1=TCP,\"E\",\"20 F5 24\",1;\r\n");
    QDir(folder.path()).mkdir(QStringLiteral("folder.eds"));
    struct Case {
        const char* json;
        const char* messagePart;
    };
    const Case cases[] = {
        {R"({"nodes":[{"macId":1,"eds":"missing.eds"}]})", "nodes[0].eds: EDS file missing.eds not found"},
        {R"({"nodes":[{"macId":1,"eds":""}]})", "nodes[0].eds"},
        {R"({"nodes":[{"macId":1,"eds":7}]})", "nodes[0].eds"},
        {R"({"nodes":[{"macId":1,"eds":"folder.eds"}]})", "not found"},
        {R"({"nodes":[{"macId":1,"eds":"/dev/zero"}]})", "not found"},  // would never end
        {R"({"nodes":[{"macId":1,"eds":"garbage.eds"}]})", "garbage.eds: no device identity"},
        {R"({"nodes":[{"macId":1,"eds":"badparam.eds"}]})", "badparam.eds: Illegal entry in parameter definition of Parameter 1"},
        {R"({"nodes":[{"macId":1,"eds":"noports.eds","scanner":{}}]})", "noports.eds describes no scanner"},
        {R"({"nodes":[{"macId":1,"eds":"noports.eds","identity":{"vendorId":1}}]})", "\"vendorId\" comes from the EDS file"},
        {R"({"nodes":[{"macId":1,"identity":{"vendorId":1,"deviceType":1,"productCode":1},"values":{}}]})", "need an \"eds\" file"},
        {R"({"bridge":{"eds":"noports.eds"}})", "bridge.eds: the file has no [Port] entries"},
        {R"({"bridge":{"eds":"badport.eds"}})", "Port1: the port's object path has 4 bytes"},
        {R"({"bridge":{"eds":"missing.eds"}})", "bridge.eds: EDS file missing.eds not found"},
        {R"({"bridge":{"eds":"noports.eds","ports":[]}})", "bridge.ports"},
        {R"({"bridge":{"eds":"noports.eds","identity":{"productName":"B"}}})", "bridge.identity.productName"},
    };
    for (const Case& c : cases) {
        try {
            ParseNetworkDescription(c.json, folder.path());
            ADD_FAILURE() << "accepted: " << c.json;
        } catch (const ConversionError& error) {
            EXPECT_TRUE(error.message().contains(QLatin1String(c.messagePart)))
                << error.message().toStdString() << " / expected " << c.messagePart;
        }
    }
}

TEST(BridgeEds, PortsAreReadFromTheNormalisedPortEntries)
{
    struct Case {
        const char* text;
        int ports;                 // -1: rejected
        const char* messagePart;
    };
    const Case cases[] = {
        {"[Device]\r\nVendCode=1;\r\n", 0, nullptr},
        {"[Port]\r\nPort1=TCP,\"E\",\"20 F5 24 01\",1;\r\nPort3=DeviceNet,\"D\",\"20 F4 24 02\",2;\r\n", 1, nullptr},
        {"[Port]\r\nPort1=TCP,\"E\",\"20 F5 24 01\";\r\n", -1, "Port1: expected"},
        {"[Port]\r\nPort1=TCP,\"E\",\"20 F5 24 0G\",1;\r\n", -1, "Port1"},
        {"[Port]\r\nPort1=TCP,\"E\",\"20 F5 24 01\",1;\r\nPort2=DeviceNet,\"D\",\"20 F4 24 02\",300;\r\n", -1,
         "Port2: the port number"},
        {"[Port]\r\nPort1=TCP,\"E;\r\n", -1, "Port1: expected"},  // a quote never closed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            EXPECT_EQ(ReadEdsPorts(c.text).size(), c.ports);
        } catch (const ConversionError& error) {
            EXPECT_EQ(c.ports, -1);
            EXPECT_TRUE(c.messagePart && error.message().contains(QLatin1String(c.messagePart)))
                << error.message().toStdString();
        }
    }
}

TEST(BridgeEds, DemoBridgeTakesIdentityAndPortsFromItsFile)
{
    const BridgeConfig bridge =
        LoadNetworkDescription(QStringLiteral(CORVIX_SOURCE_DIR "/data/sim/demo.json")).bridge;
    EXPECT_EQ(bridge.identity.vendorId, 1313);
    EXPECT_EQ(bridge.identity.deviceType, 12);
    EXPECT_EQ(bridge.identity.productCode, 1100);
    EXPECT_EQ(bridge.identity.majorRevision, 1);
    EXPECT_EQ(bridge.identity.minorRevision, 3);
    EXPECT_EQ(bridge.identity.serialNumber, 12648430u);
    EXPECT_EQ(bridge.identity.productName, QStringLiteral("ENB100 EtherNet/IP to DeviceNet Bridge"));
    ASSERT_EQ(bridge.ports.size(), 2);
    EXPECT_EQ(bridge.ports[0].type, QStringLiteral("TCP"));
    EXPECT_EQ(bridge.ports[0].name, QStringLiteral("EtherNet/IP"));
    EXPECT_EQ(bridge.ports[1].type, QStringLiteral("DeviceNet"));
    EXPECT_EQ(bridge.ports[1].number, 2);
    EXPECT_EQ(bridge.ports[1].objectPath, Hex("20 F4 24 02"));

    // Installed, the file must keep the exact entries a bridge driver searches for: type up to
    // the comma, name and path quoted, then the number.
    QFile file(ExampleFolder + QStringLiteral("/Velmora_ENB100_Bridge.eds"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = NormaliseEdsText(file.readAll());
    QString report;
    EXPECT_TRUE(CheckEdsKeywords(text, report)) << report.toStdString();
    EXPECT_TRUE(text.contains("[Port]\r\nPort1=TCP,\"EtherNet/IP\",\"20 F5 24 01\",1;\r\n"
                              "Port2=DeviceNet,\"DeviceNet\",\"20 F4 24 02\",2;"))
        << text.toStdString();
}

}  // namespace
