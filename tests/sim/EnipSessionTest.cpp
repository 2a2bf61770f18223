#include "SimFixtures.h"

#include "core/EnipSession.h"

#include <gtest/gtest.h>

using namespace corvix::sim;
using namespace corvix::sim::test;

namespace {

// Encapsulation header with the given command, session and data; context 11 22 33 44 05 00 00 00.
QByteArray Packet(std::uint16_t command, std::uint32_t session, const QByteArray& data)
{
    QByteArray p;
    AppendUint16(p, command);
    AppendUint16(p, static_cast<std::uint16_t>(data.size()));
    AppendUint32(p, session);
    AppendUint32(p, 0);
    p.append(Hex("11 22 33 44 05 00 00 00"));
    AppendUint32(p, 0);
    return p + data;
}

// SendRRData with one message router request in its unconnected data item.
QByteArray RRData(std::uint32_t session, const QByteArray& mr)
{
    QByteArray d = Hex("00 00 00 00 0E 00 02 00 00 00 00 00 B2 00");
    AppendUint16(d, static_cast<std::uint16_t>(mr.size()));
    return Packet(0x6F, session, d + mr);
}

// Unconnected Send of the embedded message through the given route.
QByteArray Routed(const char* embedded, const char* route)
{
    const QByteArray message = Hex(embedded);
    const QByteArray path = Hex(route);
    QByteArray mr = Hex("52 02 20 06 24 01 05 9B");
    AppendUint16(mr, static_cast<std::uint16_t>(message.size()));
    mr.append(message);
    if (message.size() % 2)
        mr.append('\0');
    mr.append(static_cast<char>(path.size() / 2));
    mr.append('\0');
    return mr + path;
}

class EnipSessionTest : public ::testing::Test {
protected:
    EnipSessionTest()
    {
        network.addNode(SmallNode(5));
        config.modules = {BridgeModule{3, {1, 0x0C, 0x0200, 2, 1, 0, 7, QStringLiteral("Module")}, 2}};
        config.ports.append(BridgePort{1, QStringLiteral("Backplane"), QStringLiteral("Backplane"),
                                       Hex("20 66 24 01")});
        config.ports[0].number = 3;  // move the TCP port out of the way of the backplane
    }

    // Sends a packet and returns the message router reply of the SendRRData answer.
    QByteArray Ask(const QByteArray& mr)
    {
        session.receive(RRData(Handle, mr), 0);
        const QByteArray out = session.takeDue(0);
        if (out.size() < 40)
            return out.isEmpty() ? QByteArray("none") : out;
        EXPECT_EQ(out.mid(12, 8), Hex("11 22 33 44 05 00 00 00")) << "context returned";
        return out.mid(40);
    }

    void Register()
    {
        session.receive(Packet(0x65, 0, Hex("01 00 00 00")), 0);
        ASSERT_EQ(session.takeDue(0).mid(4, 8), Hex("01 01 01 00 00 00 00 00"));
    }

    static constexpr std::uint32_t Handle = 0x00010101;
    SimNetwork network;
    BridgeConfig config = BridgeConfig::standard();
    EnipSession session{config, network, Handle};
};

TEST_F(EnipSessionTest, RoutedAndLocalRequests)
{
    Register();
    struct Case {
        const char* name;
        QByteArray request;
        const char* reply;
    };
    const Case cases[] = {
        {"get vendor of node 5", Routed("0E 03 20 01 24 01 30 01", "02 05"), "8E 00 00 00 01 00"},
        {"set read-only parameter", Routed("10 03 20 0F 24 02 30 01 01", "02 05"), "90 00 0E 00"},
        {"padded 16-bit instance", Routed("0E 04 20 0F 25 00 01 00 30 01", "02 05"), "8E 00 00 00 0A 00"},
        {"absent node", Routed("0E 03 20 01 24 01 30 01", "02 09"), "D2 00 01 01 04 02"},
        {"unknown port", Routed("0E 03 20 01 24 01 30 01", "07 05"), "D2 00 01 01 11 03"},
        {"through the module", Routed("0E 03 20 01 24 01 30 01", "01 03 02 05"), "8E 00 00 00 01 00"},
        {"module identity", Routed("0E 03 20 01 24 01 30 03", "01 03"), "8E 00 00 00 00 02"},
        {"empty slot", Routed("0E 03 20 01 24 01 30 03", "01 04"), "D2 00 01 01 04 02"},
        {"bad embedded path", Routed("0E 02 20 01 30 01", "02 05"), "8E 00 04 00"},
        {"backplane port object", Hex("01 02 20 66 24 01"),
         "81 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 04 00 00 00 00 00"},
        {"bridge identity", Hex("0E 03 20 01 24 01 30 01"), "8E 00 00 00 01 00"},
        {"no such object", Hex("01 02 20 42 24 01"), "81 00 05 00"},
        {"short unconnected send", Hex("52 02 20 06 24 01 05"), "D2 00 13 00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Ask(c.request).toHex(' '), Hex(c.reply).toHex(' ')) << c.name;
}

TEST_F(EnipSessionTest, EncapsulationErrors)
{
    struct Case {
        const char* name;
        QByteArray packet;
        const char* status;
    };
    const Case cases[] = {
        {"before registering", RRData(Handle, Hex("0E 03 20 01 24 01 30 01")), "64 00 00 00"},
        {"register bad length", Packet(0x65, 0, Hex("01 00")), "65 00 00 00"},
        {"register version 2", Packet(0x65, 0, Hex("02 00 00 00")), "69 00 00 00"},
        {"unknown command", Packet(0x99, 0, {}), "01 00 00 00"},
    };
    for (const Case& c : cases) {
        session.receive(c.packet, 0);
        const QByteArray out = session.takeDue(0);
        ASSERT_GE(out.size(), 24) << c.name;
        EXPECT_EQ(out.mid(8, 4), Hex(c.status)) << c.name;
    }
    Register();
    session.receive(RRData(0x1234, Hex("0E 03 20 01 24 01 30 01")), 0);
    EXPECT_EQ(session.takeDue(0).mid(8, 4), Hex("64 00 00 00")) << "wrong session handle";
    session.receive(Packet(0x6F, Handle, Hex("00 00 00 00 0E 00 01 00")), 0);
    EXPECT_EQ(session.takeDue(0).mid(8, 4), Hex("03 00 00 00")) << "one item only";
    EXPECT_FALSE(session.wantsClose());
    // A length no request has: answered, then the connection closes.
    session.receive(Hex("6F 00 FF FF 01 01 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"), 0);
    EXPECT_EQ(session.takeDue(0).mid(8, 4), Hex("65 00 00 00"));
    EXPECT_TRUE(session.wantsClose());
}

TEST_F(EnipSessionTest, StreamSplitsAndFaults)
{
    Register();
    // Two requests in one read, the second split over two reads.
    const QByteArray a = RRData(Handle, Routed("0E 03 20 01 24 01 30 01", "02 05"));
    session.receive(a + a.left(10), 0);
    EXPECT_EQ(session.takeDue(0).size(), 24 + 16 + 6);  // one reply, the vendor ID
    session.receive(a.mid(10), 0);
    EXPECT_FALSE(session.takeDue(0).isEmpty());

    network.bridgeResourceUnavailable = true;
    EXPECT_EQ(Ask(Routed("0E 03 20 01 24 01 30 01", "02 05")), Hex("D2 00 02 00"));
    network.bridgeResourceUnavailable = false;
    network.nodeFaults[5].dropReplies = true;
    EXPECT_EQ(Ask(Routed("0E 03 20 01 24 01 30 01", "02 05")), QByteArray("none"));
    network.nodeFaults[5] = NodeFaults{false, 30, std::nullopt};
    session.receive(RRData(Handle, Routed("0E 03 20 01 24 01 30 01", "02 05")), 0);
    EXPECT_TRUE(session.takeDue(29'999).isEmpty());
    EXPECT_FALSE(session.takeDue(30'000).isEmpty());
}

TEST(EnipListIdentity, FieldsAtTheOffsetsDriversRead)
{
    BridgeConfig config = BridgeConfig::standard();
    config.ipAddress = 0x7F000002;
    const QByteArray reply = ListIdentityReply(config, Hex("63 00 00 00 00 00 00 00 00 00 00 00 "
                                                          "00 00 00 00 00 00 00 00 00 00 00 00"));
    EXPECT_EQ(reply.left(2), Hex("63 00"));
    EXPECT_EQ(reply.mid(36, 4), Hex("7F 00 00 02"));
    EXPECT_EQ(reply.mid(48, 8), Hex("01 00 0C 00 00 01 01 01"));
    EXPECT_EQ(reply.mid(58, 4), Hex("EE FF C0 00"));
    EXPECT_EQ(static_cast<int>(reply[62]), 26);
    EXPECT_EQ(reply.mid(63, 26), QByteArray("Simulated DeviceNet bridge"));
    const int length = static_cast<std::uint8_t>(reply[2]) | static_cast<std::uint8_t>(reply[3]) << 8;
    EXPECT_EQ(reply.size(), 24 + length);
}

}  // namespace
