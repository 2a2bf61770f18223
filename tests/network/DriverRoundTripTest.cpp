// Host code against a real driver library: dlopen, exports by name, callbacks through thunks.
#include "app/CallbackThunk.h"
#include "app/SharedLibrary.h"
#include "support/DriverHost.h"
#include "support/WaitFor.h"

#include <CorvixDriverContract.h>

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace corvix;
using corvix::test::WaitFor;

namespace {

const char* const script =
    "node|5|1|12|34|2|3|0x12345678\n"
    "reply|5|0x0E|20 01 24 01 30 01|1|0x8E|0100\n"
    "reply|5|0x0E|20 01 24 01 30 09|1|0x94|14\n"
    "reply|5|0x10|20 0F 24 01 30 01|1|0x90|\n";

struct Driver : corvix::test::DriverLibrary {
    Driver() : DriverLibrary(QStringLiteral(CORVIX_TEST_DRIVER_DIR "/ScriptedTestDriver")) {}
};

using Host = corvix::test::RecordingHost;

}  // namespace

TEST(DriverRoundTrip, OnlineBrowseAndRequestsThroughThunks)
{
    Driver driver;
    ASSERT_TRUE(driver.library.isLoaded()) << driver.library.errorString().toStdString();
    auto name = driver.library.function<CorvixDriverNameFn>(CORVIX_EXPORT_DRIVER_NAME);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name(), "Scripted Test Driver");
    ASSERT_TRUE(driver.setUp && driver.who && driver.request && driver.close);

    Host host;
    int32_t length = int32_t(qstrlen(script));
    const char* settings = script;
    const CorvixDriverHandle handle = driver.setUp(nullptr, host.status.address(), &length,
                                                   &settings);
    ASSERT_NE(handle, 0u);
    EXPECT_NE(settings, script);  // the driver hands back its own copy of the settings
    ASSERT_TRUE(WaitFor([&] { return !host.statuses.isEmpty(); }));
    EXPECT_EQ(host.statuses.first(), uint32_t(CORVIX_NET_ONLINE));

    driver.who(handle, host.browse.address());
    ASSERT_TRUE(WaitFor([&] { return host.records.size() == CORVIX_MAC_ID_COUNT; }));
    for (int mac = 0; mac < CORVIX_MAC_ID_COUNT; ++mac) {
        EXPECT_EQ(uint8_t(host.records[mac][CORVIX_BROWSE_MAC_ID]), mac);
        EXPECT_EQ(host.records[mac].size(),
                  mac == 5 ? CORVIX_BROWSE_RECORD_PRESENT : CORVIX_BROWSE_RECORD_ABSENT);
    }
    EXPECT_EQ(host.records[5].mid(CORVIX_BROWSE_SERIAL_NUMBER), QByteArray("\x78\x56\x34\x12"));

    EXPECT_EQ(driver.request(handle, 7, 5, "20 01 24 01 30 01", 0x0E, 0, nullptr,
                             host.reply.address()),
              0);
    const uint8_t value[] = {1, 0};
    driver.request(handle, 8, 5, "20 0F 24 01 30 01", 0x10, 2, value, host.reply.address());
    driver.request(handle, 9, 5, "20 01 24 01 30 09", 0x0E, 0, nullptr, host.reply.address());
    ASSERT_TRUE(WaitFor([&] { return host.replies.size() == 3; }));
    EXPECT_EQ(host.replies[0].tag, 7u);
    EXPECT_EQ(host.replies[0].service, 0x8E);
    EXPECT_EQ(host.replies[0].data, QByteArray("\x01\x00", 2));
    EXPECT_EQ(host.replies[1].service, 0x90);
    EXPECT_TRUE(host.replies[1].data.isEmpty());
    EXPECT_EQ(host.replies[2].service, CORVIX_SERVICE_ERROR_REPLY);
    EXPECT_EQ(host.replies[2].data, QByteArray("\x14"));

    EXPECT_EQ(driver.close(handle), 0);
}

TEST(DriverRoundTrip, UnknownHandlesAndClosedSessionsDoNothing)
{
    Driver driver;
    ASSERT_TRUE(driver.library.isLoaded());
    Host host;
    int32_t length = int32_t(qstrlen(script));
    const char* settings = script;
    const CorvixDriverHandle handle = driver.setUp(nullptr, host.status.address(), &length,
                                                   &settings);
    driver.request(handle, 1, 5, "20 01 24 01 30 01", 0x0E, 0, nullptr, host.reply.address());
    driver.close(handle);  // before the queued reply was delivered
    driver.who(0, host.browse.address());
    driver.who(handle, host.browse.address());
    driver.request(0xBADu, 1, 5, "20 01 24 01 30 01", 0x0E, 0, nullptr, host.reply.address());
    EXPECT_EQ(driver.close(0xBADu), 0);
    // Nothing may arrive any more: the driver's queued work runs within a few loop rounds.
    for (int round = 0; round < 5; ++round) {
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(host.statuses.isEmpty());
    EXPECT_TRUE(host.records.isEmpty());
    EXPECT_TRUE(host.replies.isEmpty());
}
