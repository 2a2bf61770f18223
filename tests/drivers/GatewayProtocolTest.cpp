// The gateway driver's wire formats and its receive buffer, without sockets.
#include "gateway/BridgeDiscovery.h"
#include "gateway/EnipReceiver.h"
#include "gateway/GatewaySettings.h"

#include <gtest/gtest.h>

using namespace corvix::gateway;

namespace {

QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

TEST(GatewayProtocol, PathTextsBecomePaddedPaths)
{
    struct Case {
        const char* text;
        const char* padded;  // nullptr: refused
    };
    const Case cases[] = {
        {"20 0F 24 00 30 02", "20 0F 24 00 30 02"},
        {"20 0F 25 2C 01 30 01", "20 0F 25 00 2C 01 30 01"},
        {"21 34 12 25 2C 01", "21 00 34 12 25 00 2C 01"},
        {"20 90 24 01", "20 90 24 01"},
        {"20 90 24 01 ", "20 90 24 01"},  // the trailing blank of a request without attribute
        {"20 0F 24 01 30", nullptr},      // attribute segment without its value
        {"20 0F 25 2C", nullptr},         // 16-bit instance cut short
        {"20 0F 24 01 31 02", nullptr},
        {"20 0F 24 01 30 01 30", nullptr},
        {"20", nullptr},
        {"", nullptr},
        {" 20 0F 24 01", nullptr},
        {"20  0F 24 01", nullptr},
        {"20 0G 24 01", nullptr},
        {"120 0F 24 01", nullptr},
        {"20 0F 25 2C 01 30 01 00", nullptr},  // eight numbers
    };
    for (const Case& c : cases) {
        const auto bytes = PathBytesFromText(c.text);
        const auto padded = bytes ? PaddedPath(*bytes) : std::nullopt;
        if (c.padded == nullptr) {
            EXPECT_FALSE(padded.has_value()) << c.text;
        } else {
            ASSERT_TRUE(padded.has_value()) << c.text;
            EXPECT_EQ(padded->toHex(' ').toUpper(), QByteArray(c.padded)) << c.text;
        }
    }
    EXPECT_FALSE(PathBytesFromText(nullptr).has_value());
}

TEST(GatewayProtocol, RoutedRequestsCarryPadByteAndRoute)
{
    struct Case {
        std::uint8_t service;
        const char* path;
        const char* data;
        const char* item;
    };
    const Case cases[] = {
        // Odd embedded message (9 bytes): the size says 9 and a pad byte follows.
        {0x10, "20 0F 24 01 30 01", "07",
         "52 02 20 06 24 01 05 9B 09 00 10 03 20 0F 24 01 30 01 07 00 01 00 02 05"},
        // Even embedded message: no pad byte; padded 16-bit instance, path size 4 words.
        {0x0E, "20 0F 25 2C 01 30 01", "",
         "52 02 20 06 24 01 05 9B 0A 00 0E 04 20 0F 25 00 2C 01 30 01 01 00 02 05"},
    };
    for (const Case& c : cases) {
        const auto item = UnconnectedSendRequest(c.service, *PathBytesFromText(c.path), Hex(c.data),
                                                 Hex("02 05"));
        ASSERT_TRUE(item.has_value()) << c.path;
        EXPECT_EQ(*item, Hex(c.item)) << c.path;
    }
    EXPECT_FALSE(UnconnectedSendRequest(0x0E, Hex("20 01 24 01"), {}, Hex("01 03 02")));
    EXPECT_FALSE(UnconnectedSendRequest(0x0E, Hex("20 01 24 01"), {}, {}));

    const QByteArray packet =
        SendRRDataPacket(0x11223344, {0x00ABCDEF, 5}, Hex("0E 02 20 01 24 01"));
    EXPECT_EQ(packet, Hex("6F 00 16 00 44 33 22 11 00 00 00 00 EF CD AB 00 05 00 00 00 00 00 00 00"
                          "00 00 00 00 0E 00 02 00 00 00 00 00 B2 00 06 00 0E 02 20 01 24 01"));
    EXPECT_EQ(RegisterSessionPacket(), Hex("65 00 04 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
                                           "00 00 00 00 00 00 01 00 00 00"));
    EXPECT_EQ(ListIdentityPacket(), QByteArray(24, '\0').replace(0, 1, "\x63"));
}

// A SendRRData reply with sender context (tag 7, MAC ID 5) and the given item.
QByteArray Reply(const QByteArray& item)
{
    QByteArray data = Hex("00 00 00 00 00 00 02 00 00 00 00 00 B2 00");
    data.append(char(item.size()));
    data.append('\0');
    data.append(item);
    QByteArray packet =
        Hex("6F 00 00 00 01 00 00 00 00 00 00 00 07 00 00 00 05 00 00 00 00 00 00 00");
    packet[2] = char(data.size());
    return packet + data;
}

TEST(GatewayProtocol, ReceiverKeepsOnlyWholeSoundPackets)
{
    const QByteArray good = Reply(Hex("8E 00 00 00 01 00"));
    QByteArray shortItem = Reply(Hex("8E 00 00 00 01 00"));
    shortItem[38] = char(0x40);  // item length beyond the packet
    QByteArray truncatedRr =
        Hex("6F 00 04 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    QByteArray wrongItem = Reply(Hex("8E 00 00 00"));
    wrongItem[36] = char(0xB1);
    QByteArray refused =
        Hex("65 00 04 00 01 00 00 00 69 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01 00 00 00");
    struct Case {
        const char* name;
        QList<QByteArray> chunks;
        int events;
        bool broken;
    };
    const Case cases[] = {
        {"split in two", {good.left(30), good.mid(30)}, 1, false},
        {"two in one", {good + good}, 2, false},
        {"length beyond the data waits", {good.left(good.size() - 1)}, 0, false},
        {"length beyond the buffer", {Hex("6F 00 FF FF") + QByteArray(40, '\0')}, 0, true},
        {"SendRRData too short, then good", {truncatedRr + good}, 1, false},
        {"item beyond the packet, then good", {shortItem + good}, 1, false},
        {"second item not unconnected data", {wrongItem}, 0, false},
        {"unknown command, then good",
         {Hex("70 00 02 00") + QByteArray(22, '\0') + good},
         1,
         false},
        {"refused registration", {refused}, 0, false},
        {"more than the buffer holds", {QByteArray(40000, '\0')}, 0, false},
    };
    for (const Case& c : cases) {
        EnipReceiver receiver;
        int events = 0;
        for (const QByteArray& chunk : c.chunks)
            events += int(receiver.receive(chunk).size());
        EXPECT_EQ(events, c.events) << c.name;
        EXPECT_EQ(receiver.broken(), c.broken) << c.name;
    }

    EnipReceiver receiver;
    const auto events = receiver.receive(good);
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(events[0].context.tag, 7u);
    EXPECT_EQ(events[0].context.macId, 5);
    EXPECT_EQ(events[0].item, Hex("8E 00 00 00 01 00"));
}

TEST(GatewayProtocol, SettingsTextRoundTripsAndRefusesForeignTexts)
{
    const auto settings = GatewaySettings::parse("EtherNet/IP,127.0.0.1,4000,01 03 02 00,250");
    ASSERT_TRUE(settings.has_value());
    EXPECT_EQ(settings->route, Hex("01 03 02 00"));
    EXPECT_EQ(settings->tcpPort, 4000);
    EXPECT_EQ(settings->timeoutMs, 250);
    EXPECT_EQ(settings->text(), QByteArray("EtherNet/IP,127.0.0.1,4000,01 03 02 00,250"));
    for (const char* text : {"", "COM1,63,2", "EtherNet/IP,127.0.0.1,4000,02 00",
                             "EtherNet/IP,host,4000,02 00,250", "EtherNet/IP,127.0.0.1,0,02 00,250",
                             "EtherNet/IP,127.0.0.1,70000,02 00,250",
                             "EtherNet/IP,127.0.0.1,4000,02,250", "EtherNet/IP,127.0.0.1,4000,,250",
                             "EtherNet/IP,127.0.0.1,4000,02 00,0"})
        EXPECT_FALSE(GatewaySettings::parse(text).has_value()) << text;
}

TEST(GatewayProtocol, BridgeEdsPortsAreReadUntilTheFirstGap)
{
    struct Case {
        const char* text;
        const char* ports;  // "number type name path" of each port, joined by "|"
    };
    const Case cases[] = {
        {"[Port]\r\nPort1=TCP,\"Ethernet\",\"20 F5 24 01\",1;\r\n"
         "Port2=DeviceNet,\"DeviceNet\",\"20 F4 24 02\",2;\r\n",
         "1 TCP Ethernet 20f52401|2 DeviceNet DeviceNet 20f42402"},
        {"[Port]\r\nPort1=TCP,\"Ethernet\",\"20 F5 24 01\",1;\r\nPort3=DeviceNet,\"D\",\"20 F4 24 "
         "02\",3;",
         "1 TCP Ethernet 20f52401"},                                     // Port2 missing
        {"[Port]\r\nPort1=TCP,\"Ethernet\",\"20 F5 24\",1;", ""},        // short path
        {"[Port]\r\nPort1=TCP,\"Ethernet\",\"20 F5 24 01 02\",1;", ""},  // long path
        {"[Port]\r\nPort1=TCP,\"Ethernet", ""},                          // cut off
        {"Port1=TCP,\"Ethernet\",\"20 F5 24 01\",1;", ""},               // no [Port]
    };
    for (const Case& c : cases) {
        QList<QByteArray> ports;
        for (const BridgePortRecord& port : ParseBridgeEds(c.text).ports)
            ports.append(QByteArray::number(port.number) + ' ' + port.type + ' ' + port.name + ' '
                         + port.objectPath.toHex());
        EXPECT_EQ(ports.join('|'), QByteArray(c.ports)) << c.text;
    }
    const BridgeEds eds = ParseBridgeEds("VendCode=1;ProdType=12;ProdCode=256;MajRev=3;"
                                         "ProdName=\"Bridge\";");
    EXPECT_TRUE(eds.matches(1, 12, 256, 3));
    EXPECT_EQ(eds.productName, "Bridge");
}

TEST(GatewayProtocol, ListIdentityRepliesAreCheckedBeforeUse)
{
    QByteArray reply(63, '\0');
    reply[0] = 0x63;
    reply.replace(36, 4, Hex("7F 00 00 02"));
    reply.replace(48, 8, Hex("01 00 0C 00 00 01 02 03"));
    reply.replace(58, 4, Hex("78 56 34 12"));
    reply[62] = 6;
    reply.append("Bridge");
    const auto identity = ParseListIdentity(reply);
    ASSERT_TRUE(identity.has_value());
    EXPECT_EQ(identity->ipAddress, 0x7F000002u);
    EXPECT_EQ(identity->edsFileName(), QStringLiteral("1_12_256_2.eds"));
    EXPECT_EQ(identity->serialNumber, 0x12345678u);
    EXPECT_EQ(identity->productName, "Bridge");
    EXPECT_FALSE(ParseListIdentity(reply.left(68)));  // name shorter than its length byte
    EXPECT_FALSE(ParseListIdentity(reply.left(40)));
    EXPECT_FALSE(ParseListIdentity(QByteArray(reply).replace(0, 1, "\x64")));
}

}  // namespace
