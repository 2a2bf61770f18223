#include "SimFixtures.h"

#include "core/SerialAdapter.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace corvix::sim;
using namespace corvix::sim::test;

namespace {

// Splits the adapter's output into frames, checking the framing on the way.
QList<QByteArray> Payloads(const QByteArray& bytes)
{
    QList<QByteArray> payloads;
    for (qsizetype i = 0; i < bytes.size();) {
        EXPECT_EQ(bytes[i], '\x02');
        const int length = static_cast<std::uint8_t>(bytes[i + 1]);
        payloads.append(bytes.mid(i + 2, length));
        i += 2 + length;
    }
    return payloads;
}

class SerialAdapterTest : public ::testing::Test {
protected:
    SerialAdapterTest()
    {
        network.addNode(SmallNode(5));
        network.addNode(SmallScanner(0));
    }

    // Sends bytes at time t (µs) and returns the payloads the adapter answers at once.
    QList<QByteArray> Send(const char* hex, std::int64_t t = 0)
    {
        adapter.receive(Hex(hex), t);
        return Payloads(adapter.takeDue(t));
    }

    void GoOnline() { ASSERT_EQ(Send("02 03 07 3F 02").size(), 2); }

    SimNetwork network;
    SerialAdapter adapter{network};
};

TEST_F(SerialAdapterTest, GoOnlineAcknowledgesAndReportsStatusEverySecond)
{
    EXPECT_EQ(Send("02 03 07 3F 02"), (QList<QByteArray>{Hex("37 07"), Hex("00 00 04 00")}));
    adapter.tick(999'999);
    EXPECT_TRUE(adapter.takeDue(999'999).isEmpty());
    adapter.tick(1'000'000);
    EXPECT_EQ(Payloads(adapter.takeDue(1'000'000)), QList<QByteArray>{Hex("00 00 04 00")});
    EXPECT_EQ(Send("02 02 03 00", 1'200'000), QList<QByteArray>{Hex("37 03")});
    adapter.tick(5'000'000);
    EXPECT_TRUE(adapter.takeDue(5'000'000).isEmpty()) << "no status while offline";
}

TEST_F(SerialAdapterTest, StatusWordFollowsTheNetwork)
{
    struct Case {
        const char* online;
        std::optional<std::uint16_t> override;
        bool silent;
        QList<QByteArray> expected;
    };
    const Case cases[] = {
        {"02 03 07 3F 02", status::BusOff, false, {Hex("37 07"), Hex("00 00 08 00")}},
        {"02 03 07 3F 02", status::NoPower, false, {Hex("37 07"), Hex("00 00 40 00")}},
        {"02 03 07 05 02", std::nullopt, false, {Hex("37 07"), Hex("00 00 10 00")}},  // node 5 is there
        {"02 03 07 3F 02", std::nullopt, true, {Hex("37 07")}},
        {"02 03 07 40 02", std::nullopt, false, {}},  // MAC ID 64 does not exist
        {"02 03 07 3F 04", std::nullopt, false, {}},  // no such data rate
    };
    for (const Case& c : cases) {
        SimNetwork net;
        net.addNode(SmallNode(5));
        net.statusOverride = c.override;
        net.silentAdapter = c.silent;
        SerialAdapter a(net);
        a.receive(Hex(c.online), 0);
        EXPECT_EQ(Payloads(a.takeDue(0)), c.expected) << c.online;
    }
}

TEST_F(SerialAdapterTest, BrowseReportsAll64MacIds)
{
    EXPECT_TRUE(Send("02 02 06 01").isEmpty()) << "no browse while offline";
    GoOnline();
    const QList<QByteArray> reports = Send("02 02 06 01");
    ASSERT_EQ(reports.size(), 64);
    EXPECT_EQ(reports[5], Hex("64 05 01 00 02 00 11 00 02 03 78 56 34 12"));
    EXPECT_EQ(reports[6], Hex("64 06"));
    EXPECT_EQ(reports[63], Hex("64 3F"));
}

TEST_F(SerialAdapterTest, ExplicitRequests)
{
    EXPECT_EQ(Send("02 0A 04 01 01 05 0E 01 00 01 00 07"), QList<QByteArray>{Hex("82 05 01 00 00 00")})
        << "the adapter is not online yet";
    GoOnline();
    struct Case {
        const char* frame;
        const char* reply;
    };
    const Case cases[] = {
        // Get_Attribute_Single of the product name, class 1 instance 1 attribute 7
        {"02 0A 04 01 01 05 0E 01 00 01 00 07", "82 01 01 00 00 8E 05 44 72 69 76 65"},
        // Set_Attribute_Single of parameter 1 with two data bytes
        {"02 0C 04 01 03 05 10 0F 00 01 00 01 F6 FF", "82 01 01 00 00 90"},
        {"02 0A 04 01 01 05 0E 0F 00 01 00 01", "82 01 01 00 00 8E F6 FF"},
        // 16-bit instance 0x012C does not exist
        {"02 0A 04 01 01 05 0E 0F 00 2C 01 01", "82 01 01 00 00 94 16"},
        // Get_Attributes_All without an attribute byte
        {"02 09 04 01 00 00 01 90 00 01 00", "82 01 01 00 00 81 00 00 00 00 00 00 00 00 00 00 00 00"},
        // Save with attribute 0xFF on the parameter class
        {"02 0A 04 01 01 05 16 0F 00 00 00 FF", "82 01 01 00 00 96"},
        // nobody at MAC ID 9: the adapter's time-out
        {"02 0A 04 01 01 09 0E 01 00 01 00 01", "82 0F 01 00 00 00"},
        // the data length disagrees with the frame
        {"02 0A 04 01 02 05 0E 01 00 01 00 07", "82 14 01 00 00 00"},
        {"02 05 04 01 01 05 0E", "82 14 01 00 00 00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Send(c.frame), QList<QByteArray>{Hex(c.reply)}) << c.frame;
}

TEST_F(SerialAdapterTest, ScanListRecordFitsTheFrame)
{
    GoOnline();
    QByteArray frame = Hex("02 6E 04 01 65 00 02 91 00 05 00") + QByteArray(101, '\x11');
    adapter.receive(frame, 0);
    EXPECT_EQ(Payloads(adapter.takeDue(0)), QList<QByteArray>{Hex("82 01 01 00 00 82")});
    const QList<QByteArray> read = Send("02 09 04 01 00 00 01 91 00 05 00");
    ASSERT_EQ(read.size(), 1);
    EXPECT_EQ(read[0], Hex("82 01 01 00 00 81") + QByteArray(100, '\x11'));
}

TEST_F(SerialAdapterTest, ReplyTooLongForAFrameIsReportedNotCut)
{
    GoOnline();
    network.node(5)->parameters.parameters[0].help = QString(250, QLatin1Char('h'));
    EXPECT_EQ(Send("02 09 04 01 00 05 01 0F 00 01 00"), QList<QByteArray>{Hex("82 0C 01 00 00 81")});
}

TEST_F(SerialAdapterTest, FramingSurvivesGarbageAndSplits)
{
    GoOnline();
    // Noise, an empty frame, an unknown command, then one request split in three pieces.
    EXPECT_TRUE(Send("FF 00 13 02 00").isEmpty());
    EXPECT_TRUE(Send("02 02 55 55").isEmpty());
    EXPECT_TRUE(Send("02 0A 04 01").isEmpty());
    EXPECT_TRUE(Send("01 05 0E 01 00").isEmpty());
    EXPECT_EQ(Send("01 00 07"), QList<QByteArray>{Hex("82 01 01 00 00 8E 05 44 72 69 76 65")});
    // The diagnostic command is answered
    const QList<QByteArray> diag = Send("02 02 A0 A0");
    ASSERT_EQ(diag.size(), 1);
    EXPECT_EQ(diag[0][0], '\xA2');
}

TEST_F(SerialAdapterTest, FaultsOnReplies)
{
    GoOnline();
    network.nodeFaults[5].dropReplies = true;
    EXPECT_TRUE(Send("02 0A 04 01 01 05 0E 01 00 01 00 01").isEmpty());
    network.nodeFaults[5] = NodeFaults{false, 0, 0x08};
    EXPECT_EQ(Send("02 0A 04 01 01 05 0E 01 00 01 00 01"), QList<QByteArray>{Hex("82 01 01 00 00 94 08")});

    // A delayed reply keeps the slot busy: a second request meanwhile is refused.
    network.nodeFaults[5] = NodeFaults{false, 50, std::nullopt};
    EXPECT_TRUE(Send("02 0A 04 01 01 05 0E 01 00 01 00 01", 0).isEmpty());
    EXPECT_EQ(Send("02 0A 04 01 01 05 0E 01 00 01 00 02", 1'000), QList<QByteArray>{Hex("82 02 01 00 00 00")});
    EXPECT_TRUE(Payloads(adapter.takeDue(49'999)).isEmpty());
    EXPECT_EQ(Payloads(adapter.takeDue(50'000)), QList<QByteArray>{Hex("82 01 01 00 00 8E 01 00")});
    network.nodeFaults.clear();
    EXPECT_EQ(Send("02 0A 04 01 01 05 0E 01 00 01 00 02", 60'000).size(), 1);
}

TEST_F(SerialAdapterTest, MacIdChangeMovesTheNode)
{
    GoOnline();
    EXPECT_EQ(Send("02 0B 04 01 02 05 10 03 00 01 00 01 0A"), QList<QByteArray>{Hex("82 01 01 00 00 90")});
    EXPECT_EQ(Send("02 0A 04 01 01 05 0E 01 00 01 00 01"), QList<QByteArray>{Hex("82 0F 01 00 00 00")});
    EXPECT_EQ(Send("02 0A 04 01 01 0A 0E 03 00 01 00 01"), QList<QByteArray>{Hex("82 01 01 00 00 8E 0A")});
    // The scanner's address is taken: the node keeps its own.
    EXPECT_EQ(Send("02 0B 04 01 02 0A 10 03 00 01 00 01 00"), QList<QByteArray>{Hex("82 01 01 00 00 94 10")});
}

TEST_F(SerialAdapterTest, LineRateDelaysByTheLineTimeOfTheBytes)
{
    adapter.setLineRateEmulation(true);
    adapter.receive(Hex("02 03 07 3F 02"), 0);
    const std::int64_t start = 10'000'000;
    adapter.takeDue(start);  // the online answers
    const QByteArray request = Hex("02 0A 04 01 01 05 0E 01 00 01 00 01");
    adapter.receive(request, start);
    const int replyBytes = 2 + 8;  // 82 01 01 00 00 8E 01 00
    const double lineUs = (request.size() + replyBytes) * SerialAdapter::ByteTimeUs;
    const auto due = start + static_cast<std::int64_t>(std::ceil(lineUs));
    EXPECT_TRUE(adapter.takeDue(due - 1).isEmpty());
    EXPECT_EQ(Payloads(adapter.takeDue(due)), QList<QByteArray>{Hex("82 01 01 00 00 8E 01 00")});
}

}  // namespace
