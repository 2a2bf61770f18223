// The gateway driver library end to end: loaded like the host loads it, talking to the
// simulator's bridge on a loopback address.
#include "app/CallbackThunk.h"
#include "app/SharedLibrary.h"
#include "core/EnipFrontEnd.h"
#include "sim/SimFixtures.h"
#include "support/DriverHost.h"
#include "support/WaitFor.h"

#include <CorvixDriverContract.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

using namespace corvix;
using corvix::sim::test::Hex;
using corvix::test::WaitFor;

namespace {

const QHostAddress Loopback(QStringLiteral("127.0.0.1"));
constexpr int TimeoutMs = 300;

struct Driver : corvix::test::DriverLibrary {
    Driver() : DriverLibrary(QStringLiteral(CORVIX_BIN_DIR "/Drivers/GatewayDriver")) {}
};

using Host = corvix::test::RecordingHost;

QByteArray SettingsFor(quint16 port, const char* route = "02 00")
{
    return QByteArray("EtherNet/IP,127.0.0.1,") + QByteArray::number(port) + ',' + route + ','
           + QByteArray::number(TimeoutMs);
}

// The simulated network with nodes at MAC IDs 2 and 5 behind a bridge, and the driver online
// through it.
struct Online {
    sim::SimNetwork network;
    sim::EnipFrontEnd bridge{network, sim::BridgeConfig::standard(), Loopback, 0};
    Driver driver;
    Host host;
    int owner = 0;  // its address is the owner window
    CorvixDriverHandle handle = 0;
    QByteArray settings;

    Online()
    {
        network.addNode(sim::test::SmallNode(2));
        network.addNode(sim::test::SmallNode(5));
    }

    bool connect(const QByteArray& text)
    {
        settings = text;
        int32_t length = int32_t(settings.size());
        const char* pointer = settings.constData();
        handle = driver.setUp(&owner, host.status.address(), &length, &pointer);
        settings = QByteArray(pointer, length);
        return handle != 0 && WaitFor([&] { return !host.statuses.isEmpty(); });
    }

    void send(uint32_t tag, uint8_t mac, const char* path, uint8_t service,
              const QByteArray& data = {})
    {
        driver.request(handle, tag, mac, path, service, uint32_t(data.size()),
                       reinterpret_cast<const uint8_t*>(data.constData()), host.reply.address());
    }

    ~Online()
    {
        if (handle)
            driver.close(handle);
    }
};

TEST(GatewayDriver, GoesOnlineFromSettingsTextAndBrowses)
{
    Online online;
    ASSERT_TRUE(online.driver.library.isLoaded())
        << online.driver.library.errorString().toStdString();
    ASSERT_TRUE(online.connect(SettingsFor(online.bridge.port())));
    EXPECT_EQ(online.host.statuses, QList<uint32_t>{CORVIX_NET_ONLINE});
    EXPECT_EQ(online.settings, SettingsFor(online.bridge.port()));

    online.driver.who(online.handle, online.host.browse.address());
    ASSERT_TRUE(WaitFor([&] { return online.host.records.size() >= CORVIX_MAC_ID_COUNT; }));
    QList<int> seen(CORVIX_MAC_ID_COUNT, 0);
    for (const QByteArray& record : online.host.records) {
        const int mac = uint8_t(record[CORVIX_BROWSE_MAC_ID]);
        ++seen[mac];
        EXPECT_EQ(record.size(), mac == 2 || mac == 5 ? CORVIX_BROWSE_RECORD_PRESENT
                                                      : CORVIX_BROWSE_RECORD_ABSENT);
        if (mac == 5) {
            EXPECT_EQ(record, Hex("05 01 00 02 00 11 00 02 03 78 56 34 12"));
        }
    }
    EXPECT_EQ(seen, QList<int>(CORVIX_MAC_ID_COUNT, 1));
    EXPECT_EQ(online.host.statuses.size(), 1);
}

TEST(GatewayDriver, RequestsAndTheirReplies)
{
    Online online;
    ASSERT_TRUE(online.connect(SettingsFor(online.bridge.port())));
    struct Case {
        uint8_t mac;
        const char* path;
        uint8_t service;
        const char* data;
        uint8_t transfer;
        uint8_t replyService;
        const char* replyData;
    };
    const Case cases[] = {
        {5, "20 01 24 01 30 01", 0x0E, "", 1, 0x8E, "01 00"},
        {5, "20 0F 25 01 00 30 01", 0x0E, "", 1, 0x8E, "0A 00"},   // 16-bit instance, padded
        {5, "20 0F 24 01 30 01", 0x10, "05 00", 1, 0x90, ""},
        {5, "20 0F 24 02 30 01", 0x10, "01", 1, 0x94, "0E"},      // read-only parameter
        {5, "20 01 24 01 30 63", 0x0E, "", 1, 0x94, "14"},        // unsupported attribute
        {7, "20 01 24 01 30 01", 0x0E, "", 4, 0xD2, nullptr},     // no node at 7
        {5, "20 01 24", 0x0E, "", 1, 0x94, "04"},                 // never sent: bad path
    };
    uint32_t tag = 100;
    for (const Case& c : cases) {
        online.host.replies.clear();
        online.send(++tag, c.mac, c.path, c.service, Hex(c.data));
        ASSERT_TRUE(WaitFor([&] { return !online.host.replies.isEmpty(); })) << c.path;
        const Host::Reply& reply = online.host.replies.first();
        EXPECT_EQ(reply.tag, tag);
        EXPECT_EQ(reply.transfer, c.transfer) << c.path;
        EXPECT_EQ(reply.service, c.replyService) << c.path;
        if (c.replyData) {
            EXPECT_EQ(reply.data, Hex(c.replyData)) << c.path;
        }
    }
}

TEST(GatewayDriver, SecondRequestToOneMacIdFollowsTheFirst)
{
    Online online;
    online.network.nodeFaults[5].delayMs = 50;
    ASSERT_TRUE(online.connect(SettingsFor(online.bridge.port())));
    online.send(1, 5, "20 0F 24 01 30 01", 0x10, Hex("07 00"));
    online.send(2, 5, "20 0F 24 01 30 01", 0x0E);
    ASSERT_TRUE(WaitFor([&] { return online.host.replies.size() == 2; }));
    EXPECT_EQ(online.host.replies[0].tag, 1u);
    EXPECT_EQ(online.host.replies[1].tag, 2u);
    EXPECT_EQ(online.host.replies[1].data, Hex("07 00"));  // read after the write
}

TEST(GatewayDriver, BusyBridgeIsAskedAgainUntilItAnswersOrTimesOut)
{
    Online online;
    ASSERT_TRUE(online.connect(SettingsFor(online.bridge.port())));
    online.network.bridgeResourceUnavailable = true;
    QTimer::singleShot(150, [&] { online.network.bridgeResourceUnavailable = false; });
    online.send(1, 5, "20 01 24 01 30 01", 0x0E);
    ASSERT_TRUE(WaitFor([&] { return !online.host.replies.isEmpty(); }));
    EXPECT_EQ(online.host.replies[0].service, 0x8E);

    online.network.bridgeResourceUnavailable = true;
    online.send(2, 5, "20 01 24 01 30 01", 0x0E);
    ASSERT_TRUE(WaitFor([&] { return online.host.statuses.size() == 2; }));
    EXPECT_EQ(online.host.statuses.last(), uint32_t(CORVIX_NET_INTERFACE_TIMEOUT));
    EXPECT_EQ(online.host.replies.size(), 1);
}

TEST(GatewayDriver, SilentNodeEndsInInterfaceTimeout)
{
    Online online;
    online.network.nodeFaults[5].dropReplies = true;
    ASSERT_TRUE(online.connect(SettingsFor(online.bridge.port())));
    QElapsedTimer clock;
    clock.start();
    online.send(1, 5, "20 01 24 01 30 01", 0x0E);
    ASSERT_TRUE(WaitFor([&] { return online.host.statuses.size() == 2; }));
    EXPECT_EQ(online.host.statuses.last(), uint32_t(CORVIX_NET_INTERFACE_TIMEOUT));
    EXPECT_GE(clock.elapsed(), 2 * TimeoutMs);  // one resend before giving up
    EXPECT_TRUE(online.host.replies.isEmpty());
}

TEST(GatewayDriver, UnknownAndClosedHandlesDoNothing)
{
    Online online;
    ASSERT_TRUE(online.connect(SettingsFor(online.bridge.port())));
    Driver& driver = online.driver;
    Host& host = online.host;
    driver.request(online.handle, 1, 5, "20 01 24 01 30 01", 0x0E, 0, nullptr,
                   host.reply.address());
    EXPECT_EQ(driver.close(online.handle), 0);  // before the reply arrived
    driver.who(online.handle, host.browse.address());
    driver.who(0, host.browse.address());
    driver.request(0xBAD, 1, 5, "20 01 24 01 30 01", 0x0E, 0, nullptr, host.reply.address());
    EXPECT_EQ(driver.close(0xBAD), 0);
    EXPECT_EQ(driver.close(online.handle), 0);
    EXPECT_FALSE(WaitFor([&] { return !host.replies.isEmpty() || !host.records.isEmpty(); }, 200));
    online.handle = 0;
}

// A peer that answers the registration and then sends whatever a test hands it.
struct HostileBridge {
    QTcpServer server;
    QTcpSocket* peer = nullptr;

    HostileBridge()
    {
        server.listen(Loopback, 0);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            peer = server.nextPendingConnection();
            QObject::connect(peer, &QTcpSocket::readyRead, [this] {
                const QByteArray request = peer->readAll();
                if (request.startsWith('\x65'))
                    peer->write(
                        Hex("65 00 04 00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                            "00 01 00 00 00"));
            });
        });
    }
};

QByteArray ReplyPacket(uint32_t tag, uint8_t mac, const QByteArray& item)
{
    QByteArray data = Hex("00 00 00 00 00 00 02 00 00 00 00 00 B2 00");
    data.append(char(item.size()));
    data.append('\0');
    data.append(item);
    QByteArray header =
        Hex("6F 00 00 00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    header[2] = char(data.size());
    header[12] = char(tag);
    header[16] = char(mac);
    return header + data;
}

TEST(GatewayDriver, HostileRepliesAreDroppedWithoutHarm)
{
    struct Case {
        const char* name;
        QByteArray garbage;
        bool connectionSurvives;
    };
    QByteArray shortItem = ReplyPacket(1, 5, Hex("8E 00 00 00 01 00"));
    shortItem[38] = char(0x7F);
    const Case cases[] = {
        {"unknown command", Hex("70 00 02 00") + QByteArray(22, '\x01'), true},
        {"short SendRRData", Hex("6F 00 02 00") + QByteArray(22, '\0'), true},
        {"item beyond the packet", shortItem, true},
        {"reply for MAC ID 200", ReplyPacket(1, 200, Hex("8E 00 00 00")), true},
        {"longer than the buffer", Hex("6F 00 F0 FF") + QByteArray(33000, '\x6F'), false},
    };
    for (const Case& c : cases) {
        HostileBridge bridge;
        Driver driver;
        Host host;
        int owner = 0;
        QByteArray settings = SettingsFor(bridge.server.serverPort());
        int32_t length = int32_t(settings.size());
        const char* text = settings.constData();
        const CorvixDriverHandle handle =
            driver.setUp(&owner, host.status.address(), &length, &text);
        ASSERT_TRUE(WaitFor([&] { return !host.statuses.isEmpty(); })) << c.name;
        driver.request(handle, 1, 5, "20 01 24 01 30 01", 0x0E, 0, nullptr, host.reply.address());
        bridge.peer->write(c.garbage);
        bridge.peer->write(ReplyPacket(1, 5, Hex("8E 00 00 00 01 00")));
        if (c.connectionSurvives) {
            ASSERT_TRUE(WaitFor([&] { return host.replies.size() == 1; })) << c.name;
            EXPECT_EQ(host.replies[0].data, Hex("01 00")) << c.name;
        } else {
            ASSERT_TRUE(WaitFor([&] { return host.statuses.size() == 2; })) << c.name;
            EXPECT_TRUE(host.replies.isEmpty()) << c.name;
        }
        driver.close(handle);
    }

    // The bridge drops the connection in the middle of a packet.
    HostileBridge bridge;
    Driver driver;
    Host host;
    int owner = 0;
    QByteArray settings = SettingsFor(bridge.server.serverPort());
    int32_t length = int32_t(settings.size());
    const char* text = settings.constData();
    const CorvixDriverHandle handle = driver.setUp(&owner, host.status.address(), &length, &text);
    ASSERT_TRUE(WaitFor([&] { return !host.statuses.isEmpty(); }));
    driver.request(handle, 1, 5, "20 01 24 01 30 01", 0x0E, 0, nullptr, host.reply.address());
    bridge.peer->write(ReplyPacket(1, 5, Hex("8E 00 00 00 01 00")).left(30));
    bridge.peer->flush();
    bridge.peer->abort();
    ASSERT_TRUE(WaitFor([&] { return host.statuses.size() == 2; }));
    EXPECT_EQ(host.statuses.last(), uint32_t(CORVIX_NET_INTERFACE_TIMEOUT));
    EXPECT_TRUE(host.replies.isEmpty());
    driver.close(handle);
}

}  // namespace
