// The serial driver library end to end against the simulated adapter on a pseudo-terminal.
#include "SerialDriverHost.h"

#include "core/PtyFrontEnd.h"
#include "support/WaitFor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

using namespace corvix;
using namespace corvix::sim;
using corvix::test::SerialDriverLibrary;
using corvix::test::SerialHost;
using corvix::test::WaitFor;

namespace {

SimNode Node(std::uint8_t macId, std::uint16_t vendor, std::uint16_t product)
{
    SimNode node;
    node.macId = macId;
    node.identity = {vendor, 0x0002, product, 2, 3, 0, 0x12345678u + macId, QStringLiteral("N")};
    SimParameter speed;
    speed.instance = 1;
    speed.name = QStringLiteral("Speed");
    speed.dataType = 0xC3;
    speed.dataSize = 2;
    speed.value = QByteArray("\x0A\x00", 2);
    node.parameters.parameters = {speed};
    return node;
}

// The simulated network behind the adapter and the driver session on it.
class SerialDriverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(driver.library.isLoaded()) << driver.library.errorString().toStdString();
        network.addNode(Node(5, 0x0001, 0x0011));
        network.addNode(Node(12, 0x0123, 0x0456));
        pty.emplace(network, false);
    }
    void TearDown() override
    {
        if (handle != 0) {
            EXPECT_EQ(driver.close(handle), 0);
        }
    }
    void goOnline()
    {
        handle = driver.open(pty->slavePath().toLocal8Bit() + ",63,2", host.status.address());
        ASSERT_NE(handle, 0u);
        ASSERT_TRUE(WaitFor([&] { return host.statuses.contains(CORVIX_NET_ONLINE); }));
    }
    void get(uint32_t tag, uint8_t mac, const char* path)
    {
        driver.request(handle, tag, mac, path, CORVIX_SERVICE_GET_ATTRIBUTE_SINGLE, 0, nullptr,
                       host.reply.address());
    }

    SerialDriverLibrary driver;
    SerialHost host;
    SimNetwork network;
    std::optional<PtyFrontEnd> pty;
    CorvixDriverHandle handle = 0;
};

TEST_F(SerialDriverTest, BrowseReportsEveryMacIdWithItsIdentity)
{
    goOnline();
    driver.who(handle, host.browse.address());
    ASSERT_TRUE(WaitFor([&] { return host.records.size() == CORVIX_MAC_ID_COUNT; }));
    for (int mac = 0; mac < CORVIX_MAC_ID_COUNT; ++mac) {
        EXPECT_EQ(uint8_t(host.records[mac][CORVIX_BROWSE_MAC_ID]), mac);
        EXPECT_EQ(host.records[mac].size(), mac == 5 || mac == 12 ? CORVIX_BROWSE_RECORD_PRESENT
                                                                  : CORVIX_BROWSE_RECORD_ABSENT)
            << mac;
    }
    EXPECT_EQ(host.records[5].mid(CORVIX_BROWSE_VENDOR_ID, 2), QByteArray("\x01\x00", 2));
    EXPECT_EQ(host.records[12].mid(CORVIX_BROWSE_VENDOR_ID, 2), QByteArray("\x23\x01", 2));
    EXPECT_EQ(host.records[12].mid(CORVIX_BROWSE_PRODUCT_CODE, 2), QByteArray("\x56\x04", 2));
    EXPECT_EQ(host.records[12].mid(CORVIX_BROWSE_SERIAL_NUMBER), QByteArray("\x84\x56\x34\x12"));
}

TEST_F(SerialDriverTest, RequestsAndTheirReplies)
{
    goOnline();
    network.nodeFaults[12].errorStatus = 0x08;
    struct Case {
        const char* name;
        uint8_t mac;
        const char* path;
        uint8_t service;
        QByteArray data;
        uint8_t transfer;
        uint8_t replyService;
        QByteArray replyData;
    };
    const Case cases[] = {
        {"read a parameter", 5, "20 0F 24 01 30 01", 0x0E, {}, 1, 0x8E, QByteArray("\x0A\x00", 2)},
        {"write it", 5, "20 0F 24 01 30 01", 0x10, QByteArray("\x07\x00", 2), 1, 0x90, {}},
        {"read it back", 5, "20 0F 24 01 30 01", 0x0E, {}, 1, 0x8E, QByteArray("\x07\x00", 2)},
        {"unsupported attribute", 5, "20 01 24 01 30 63", 0x0E, {}, 1, 0x94, "\x14"},
        {"node answering with an error", 12, "20 01 24 01 30 01", 0x0E, {}, 1, 0x94, "\x08"},
        {"no node at the MAC ID", 40, "20 01 24 01 30 01", 0x0E, {}, 15, 0x00, {}},
    };
    uint32_t tag = 100;
    for (const Case& c : cases) {
        const qsizetype before = host.replies.size();
        EXPECT_EQ(driver.request(handle, ++tag, c.mac, c.path, c.service, uint32_t(c.data.size()),
                                 reinterpret_cast<const uint8_t*>(c.data.constData()),
                                 host.reply.address()),
                  0);
        ASSERT_TRUE(WaitFor([&] { return host.replies.size() > before; })) << c.name;
        const SerialHost::Reply& reply = host.replies.last();
        EXPECT_EQ(reply.tag, tag) << c.name;
        EXPECT_EQ(reply.transfer, c.transfer) << c.name;
        if (c.transfer == 1) {
            EXPECT_EQ(reply.service, c.replyService) << c.name;
            EXPECT_EQ(reply.data.left(c.replyData.size()), c.replyData) << c.name;
        }
    }
}

TEST_F(SerialDriverTest, ASecondRequestWaitsForTheFirstReply)
{
    goOnline();
    network.nodeFaults[5].delayMs = 300;
    QElapsedTimer clock;
    clock.start();
    get(1, 5, "20 0F 24 01 30 01");
    get(2, 5, "20 0F 24 01 30 01");
    // The second call returned: the first reply has been delivered by then.
    ASSERT_EQ(host.replies.size(), 1);
    EXPECT_EQ(host.replies[0].tag, 1u);
    EXPECT_GE(clock.elapsed(), 250);
    ASSERT_TRUE(WaitFor([&] { return host.replies.size() == 2; }));
}

TEST_F(SerialDriverTest, ARequestSentFromTheReplyCallbackIsNotLost)
{
    goOnline();
    host.onReply = [&](const SerialHost::Reply& reply) {
        if (reply.tag < 3)
            get(reply.tag + 1, 5, "20 0F 24 01 30 01");
    };
    get(1, 5, "20 0F 24 01 30 01");
    ASSERT_TRUE(WaitFor([&] { return host.replies.size() == 3; }, 3000));
    EXPECT_EQ(host.replies[2].tag, 3u);
    EXPECT_EQ(host.replies[2].service, 0x8E);
}

TEST_F(SerialDriverTest, AHostWaitingInsideAReplyCallbackStillHearsTheAdapter)
{
    pty.emplace(network, true);  // frames come one by one, as on a real line
    goOnline();
    // A host asking the user about a reply waits inside the callback; meanwhile the adapter's
    // status messages must still come in, or the watchdog would take the network offline while
    // the question is open.
    bool heardMeanwhile = false;
    host.onReply = [&](const SerialHost::Reply&) {
        const qsizetype statuses = host.statuses.size();
        heardMeanwhile = WaitFor([&] { return host.statuses.size() > statuses; });
    };
    get(1, 5, "20 0F 24 01 30 01");
    ASSERT_TRUE(WaitFor([&] { return host.replies.size() == 1; }));
    EXPECT_TRUE(heardMeanwhile);
    EXPECT_FALSE(host.statuses.contains(CORVIX_NET_INTERFACE_TIMEOUT));
}

TEST_F(SerialDriverTest, RequestsTheLineCannotCarryAreNotSent)
{
    goOnline();
    const QByteArray tooLong(246, '\0');
    driver.request(handle, 7, 5, "20 0F 24 01 30 01", 0x10, uint32_t(tooLong.size()),
                   reinterpret_cast<const uint8_t*>(tooLong.constData()), host.reply.address());
    ASSERT_EQ(host.replies.size(), 1);
    EXPECT_EQ(host.replies[0].transfer, CORVIX_TRANSFER_TOO_MUCH_DATA);
    // A path the driver cannot read is not sent; the line stays usable.
    get(8, 5, "20 0F");
    get(9, 5, "20 0F 24 01 30 01");
    ASSERT_TRUE(WaitFor([&] { return host.replies.size() == 2; }));
    EXPECT_EQ(host.replies[1].tag, 9u);
}

TEST_F(SerialDriverTest, SilentAdapterIsReportedOnce)
{
    goOnline();
    QElapsedTimer clock;
    clock.start();
    network.silentAdapter = true;
    ASSERT_TRUE(WaitFor([&] { return host.statuses.contains(CORVIX_NET_INTERFACE_TIMEOUT); },
                        8000));
    EXPECT_GE(clock.elapsed(), 2000);  // status messages already on the line count as heard
    WaitFor([] { return false; }, 3500);  // a second silent spell, unreported
    EXPECT_EQ(host.statuses.count(CORVIX_NET_INTERFACE_TIMEOUT), 1);
}

TEST_F(SerialDriverTest, UnpluggedAdapterIsReportedAndNothingBreaks)
{
    goOnline();
    pty.reset();  // the terminal hangs up, as a USB adapter that is pulled out
    ASSERT_TRUE(WaitFor([&] { return host.statuses.contains(CORVIX_NET_INTERFACE_TIMEOUT); }));
    get(1, 5, "20 0F 24 01 30 01");
    driver.who(handle, host.browse.address());
    for (int round = 0; round < 20; ++round)
        QCoreApplication::processEvents();
    EXPECT_TRUE(host.replies.isEmpty());
    EXPECT_EQ(host.statuses.count(CORVIX_NET_INTERFACE_TIMEOUT), 1);
}

TEST_F(SerialDriverTest, ClosingFromInsideAReplyStopsEverything)
{
    goOnline();
    host.onReply = [&](const SerialHost::Reply&) {
        driver.close(handle);
        handle = 0;
    };
    get(1, 5, "20 0F 24 01 30 01");
    ASSERT_TRUE(WaitFor([&] { return handle == 0; }));
    const qsizetype statuses = host.statuses.size();
    WaitFor([] { return false; }, 1200);  // a status message would have come by now
    EXPECT_EQ(host.statuses.size(), statuses);
    EXPECT_FALSE(pty->adapter().isOnline()) << "the driver takes the adapter offline";
}

TEST_F(SerialDriverTest, ClosingEndsTheWaitOfAQueuedRequest)
{
    goOnline();
    network.nodeFaults[12].dropReplies = true;
    get(1, 12, "20 0F 24 01 30 01");
    QTimer::singleShot(200, [&] {
        driver.close(handle);
        handle = 0;
    });
    QElapsedTimer clock;
    clock.start();
    get(2, 5, "20 0F 24 01 30 01");  // waits for the first until the session is closed
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(handle, 0u);
    WaitFor([] { return false; }, 100);
    EXPECT_TRUE(host.replies.isEmpty());
}

TEST_F(SerialDriverTest, UnansweredRequestIsReleasedWithoutACallback)
{
    goOnline();
    network.nodeFaults[12].dropReplies = true;
    QElapsedTimer clock;
    clock.start();
    get(1, 12, "20 0F 24 01 30 01");
    get(2, 5, "20 0F 24 01 30 01");  // waits for the release of the first
    const qint64 waited = clock.elapsed();
    EXPECT_GE(waited, 10'900);
    EXPECT_LE(waited, 16'000);
    ASSERT_TRUE(WaitFor([&] { return !host.replies.isEmpty(); }));
    EXPECT_EQ(host.replies.size(), 1);
    EXPECT_EQ(host.replies[0].tag, 2u);
}

TEST(SerialDriver, SettingsTextsAndHandles)
{
    SerialDriverLibrary driver;
    ASSERT_TRUE(driver.library.isLoaded());
    SerialHost host;
    for (const char* bad : {"COM1", "COM1,x,2", "COM1,64,2", "COM1,63,9"})
        EXPECT_EQ(driver.open(bad, host.status.address()), 0u) << bad;

    // A port that is not there: the user is told, the session exists and reports nothing.
    const CorvixDriverHandle handle =
        driver.open("/nonexistent/serial-port,63,2", host.status.address());
    ASSERT_NE(handle, 0u);
    driver.who(handle, host.browse.address());
    driver.request(handle, 1, 5, "20 01 24 01 30 01", 0x0E, 0, nullptr, host.reply.address());
    WaitFor([] { return false; }, 200);
    EXPECT_TRUE(host.statuses.isEmpty());
    EXPECT_EQ(driver.close(handle), 0);
    EXPECT_EQ(driver.close(handle), 0) << "a closed handle is unknown";

    driver.who(0, host.browse.address());
    driver.who(0xBAD, host.browse.address());
    EXPECT_EQ(driver.request(0xBAD, 1, 5, "20 01 24 01 30 01", 0x0E, 0, nullptr,
                             host.reply.address()),
              0);
    EXPECT_EQ(driver.close(0), 0);
    EXPECT_TRUE(host.records.isEmpty());
    EXPECT_TRUE(host.replies.isEmpty());
}

TEST(SerialDriver, NamesAndHelpText)
{
    SerialDriverLibrary driver;
    ASSERT_TRUE(driver.library.isLoaded());
    auto name = driver.library.function<CorvixDriverNameFn>(CORVIX_EXPORT_DRIVER_NAME);
    auto help = driver.library.function<CorvixGetHelpTextFn>(CORVIX_EXPORT_HELP_TEXT);
    ASSERT_TRUE(name && help);
    EXPECT_STREQ(name(), "Velmora Corvix DeviceNet RS232 Interface - Ver:1.5");
    const QByteArray text(help());
    EXPECT_TRUE(text.endsWith("as \x93serial to DeviceNet adapter\x94)\x94")) << text.constData();
}

}  // namespace
