// The gateway driver's request table on a clock of its own: mapping of replies, queueing per MAC
// ID, time-outs, paced resends and the identity reads of a browse.
#include "gateway/TransactionTable.h"

#include <QList>

#include <gtest/gtest.h>

#include <functional>

using namespace corvix::gateway;

namespace {

QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

struct Sent {
    std::uint32_t tag;
    std::uint8_t macId;
    QByteArray route;
};

struct Replied {
    std::uint32_t tag;
    std::uint8_t transfer;
    std::uint8_t service;
    QByteArray data;
};

struct RecordingSink : TransactionSink {
    QList<Sent> sent;
    QList<Replied> replies;
    QList<QByteArray> records;
    QList<std::uint32_t> statuses;
    std::function<void(const Request&)> onReply;

    void send(const Request& request, const QByteArray& route) override
    {
        sent.append({request.tag, request.macId, route});
    }
    void reply(const Request& request, std::uint8_t transfer, std::uint8_t service,
               const QByteArray& data) override
    {
        replies.append({request.tag, transfer, service, data});
        if (onReply)
            onReply(request);
    }
    void browseRecord(const QByteArray& record) override { records.append(record); }
    void status(std::uint32_t code) override { statuses.append(code); }
};

constexpr int TimeoutMs = 1000;

struct Fixture {
    RecordingSink sink;
    TransactionTable table{sink, Hex("01 03 02 00"), TimeoutMs};

    void request(qint64 now, std::uint32_t tag, std::uint8_t mac, std::uint8_t service = 0x0E)
    {
        Request r;
        r.tag = tag;
        r.macId = mac;
        r.service = service;
        r.path = Hex("20 01 24 01 30 01");
        r.replyCallback = reinterpret_cast<CorvixReplyCallback>(1);  // only its presence counts
        table.start(now, r);
    }
};

TEST(GatewayTransaction, RepliesAreMappedForTheCaller)
{
    struct Case {
        std::uint8_t service;
        const char* item;
        int transfer;  // -1: no callback
        std::uint8_t replyService;
        const char* data;
    };
    const Case cases[] = {
        {0x0E, "8E 00 00 00 01 00", 1, 0x8E, "01 00"},
        {0x0E, "D2 00 00 00 05", 1, 0x8E, "05"},  // Unconnected Send reply: the caller's service
        {0x10, "90 00 00 00", 1, 0x90, ""},
        {0x10, "90 00 0E 00", 1, 0x94, "0E"},
        {0x0E, "8E 00 14 01 FF FF", 1, 0x94, "14"},  // one byte only
        {0x0E, "D2 00 01 01 04 02", 4, 0xD2, "04 02"},
        {0x0E, "0E 00 00 00", -1, 0, ""},  // not a reply
        {0x0E, "8E 00", -1, 0, ""},        // too short
    };
    for (const Case& c : cases) {
        Fixture f;
        f.request(0, 42, 5, c.service);
        ASSERT_EQ(f.sink.sent.size(), 1);
        EXPECT_EQ(f.sink.sent[0].route, Hex("01 03 02 05"));
        f.table.onReply(10, {42, 5}, Hex(c.item));
        if (c.transfer < 0) {
            EXPECT_TRUE(f.sink.replies.isEmpty()) << c.item;
            continue;
        }
        ASSERT_EQ(f.sink.replies.size(), 1) << c.item;
        EXPECT_EQ(f.sink.replies[0].transfer, c.transfer) << c.item;
        EXPECT_EQ(f.sink.replies[0].service, c.replyService) << c.item;
        EXPECT_EQ(f.sink.replies[0].data, Hex(c.data)) << c.item;
        EXPECT_TRUE(f.table.idle());
        // The same answer again, or one with a stranger's context, reaches no one.
        f.table.onReply(20, {42, 5}, Hex(c.item));
        f.table.onReply(20, {43, 5}, Hex(c.item));
        EXPECT_EQ(f.sink.replies.size(), 1) << c.item;
    }
}

TEST(GatewayTransaction, RequestToBusyMacIdWaitsItsTurn)
{
    Fixture f;
    f.request(0, 1, 10);
    f.request(0, 2, 10);
    f.request(0, 9, 11);  // another MAC ID goes out at once
    ASSERT_EQ(f.sink.sent.size(), 2);
    // The reply callback of the first starts another request to the same MAC ID; it queues
    // behind the one already waiting.
    f.sink.onReply = [&](const Request& r) {
        if (r.tag == 1)
            f.request(5, 3, 10);
    };
    f.table.onReply(5, {1, 10}, Hex("8E 00 00 00"));
    ASSERT_EQ(f.sink.sent.size(), 3);
    EXPECT_EQ(f.sink.sent[2].tag, 2u);
    f.table.onReply(6, {2, 10}, Hex("8E 00 00 00"));
    ASSERT_EQ(f.sink.sent.size(), 4);
    EXPECT_EQ(f.sink.sent[3].tag, 3u);
}

TEST(GatewayTransaction, SilentBridgeGetsOneResendThenTimeOut)
{
    Fixture f;
    f.request(0, 1, 10);
    f.request(0, 2, 10);
    f.table.check(TimeoutMs - 1);
    EXPECT_EQ(f.sink.sent.size(), 1);
    f.table.check(TimeoutMs);
    ASSERT_EQ(f.sink.sent.size(), 2);
    EXPECT_EQ(f.sink.sent[1].tag, 1u);
    f.table.check(2 * TimeoutMs - 1);
    EXPECT_TRUE(f.sink.statuses.isEmpty());
    f.table.check(2 * TimeoutMs);
    EXPECT_EQ(f.sink.statuses, QList<std::uint32_t>{CORVIX_NET_INTERFACE_TIMEOUT});
    EXPECT_TRUE(f.sink.replies.isEmpty());
    // The waiting request goes out now; a late answer to the abandoned one is dropped.
    ASSERT_EQ(f.sink.sent.size(), 3);
    EXPECT_EQ(f.sink.sent[2].tag, 2u);
    f.table.onReply(2 * TimeoutMs + 1, {1, 10}, Hex("8E 00 00 00"));
    EXPECT_TRUE(f.sink.replies.isEmpty());
}

TEST(GatewayTransaction, ResourceUnavailableIsResentWithGrowingPauses)
{
    Fixture f;
    f.request(0, 1, 10);
    f.table.onReply(10, {1, 10}, Hex("D2 00 02 00"));
    f.table.check(209);
    EXPECT_EQ(f.sink.sent.size(), 1);
    f.table.check(210);  // first pause: 1 x 100 + 100
    EXPECT_EQ(f.sink.sent.size(), 2);
    f.table.onReply(300, {1, 10}, Hex("D2 00 02 00"));
    f.table.check(599);
    EXPECT_EQ(f.sink.sent.size(), 2);
    f.table.check(600);  // second pause: 2 x 100 + 100
    EXPECT_EQ(f.sink.sent.size(), 3);
    f.table.onReply(700, {1, 10}, Hex("8E 00 00 00 07"));
    ASSERT_EQ(f.sink.replies.size(), 1);
    EXPECT_EQ(f.sink.replies[0].data, Hex("07"));

    Fixture late;
    late.request(0, 1, 10);
    late.table.onReply(TimeoutMs, {1, 10}, Hex("D2 00 02 00"));
    EXPECT_EQ(late.sink.statuses, QList<std::uint32_t>{CORVIX_NET_INTERFACE_TIMEOUT});
    EXPECT_TRUE(late.table.idle());
}

// Answers the identity reads as a bridge with nodes at MAC IDs 2 and 5 would.
void AnswerBrowse(Fixture& f, qsizetype& handled, const std::function<bool(const Sent&)>& drop = {})
{
    for (; handled < f.sink.sent.size(); ++handled) {
        const Sent s = f.sink.sent[handled];
        if (drop && drop(s))
            continue;
        if (s.macId != 2 && s.macId != 5) {
            f.table.onReply(0, {s.tag, s.macId}, Hex("D2 00 01 01 04 02"));
            continue;
        }
        switch (s.tag >> 16) {
        case 0xFF: f.table.onReply(0, {s.tag, s.macId}, Hex("8E 00 00 00 01 00")); break;
        case 0xFE: f.table.onReply(0, {s.tag, s.macId}, Hex("8E 00 00 00 0C 00")); break;
        case 0xFD: f.table.onReply(0, {s.tag, s.macId}, Hex("8E 00 00 00 11 00")); break;
        case 0xFC: f.table.onReply(0, {s.tag, s.macId}, Hex("8E 00 00 00 02 03")); break;
        case 0xFB: f.table.onReply(0, {s.tag, s.macId}, Hex("8E 00 00 00 78 56 34 12")); break;
        default: FAIL() << s.tag;
        }
    }
}

TEST(GatewayTransaction, BrowseGivesEveryMacIdOneRecord)
{
    Fixture f;
    f.request(0, 77, 5);  // a caller's request still open: the browse read of 5 waits for it
    f.table.browse(0);
    EXPECT_EQ(f.sink.sent.size(), 64);
    qsizetype handled = 1;
    AnswerBrowse(f, handled);
    f.table.onReply(0, {77, 5}, Hex("8E 00 00 00"));
    AnswerBrowse(f, handled);
    ASSERT_EQ(f.sink.records.size(), 64);
    QList<int> seen(64, 0);
    for (const QByteArray& record : f.sink.records) {
        const int mac = std::uint8_t(record[0]);
        ++seen[mac];
        EXPECT_EQ(record.size(), mac == 2 || mac == 5 ? 13 : 1) << mac;
    }
    EXPECT_EQ(seen, QList<int>(64, 1));
    EXPECT_TRUE(f.sink.records.contains(Hex("05 01 00 0C 00 11 00 02 03 78 56 34 12")));
    EXPECT_TRUE(f.table.idle());
}

TEST(GatewayTransaction, BrowseReadLostMidwayStillEndsWithARecord)
{
    Fixture f;
    f.table.browse(0);
    qsizetype handled = 0;
    const auto dropThirdRead = [](const Sent& s) { return s.macId == 5 && s.tag >> 16 == 0xFD; };
    AnswerBrowse(f, handled, dropThirdRead);
    EXPECT_EQ(f.sink.records.size(), 63);
    f.table.check(TimeoutMs);      // resend
    AnswerBrowse(f, handled, dropThirdRead);
    f.table.check(2 * TimeoutMs);  // given up
    ASSERT_EQ(f.sink.records.size(), 64);
    EXPECT_EQ(f.sink.records.last(), Hex("05"));
    EXPECT_EQ(f.sink.statuses, QList<std::uint32_t>{CORVIX_NET_INTERFACE_TIMEOUT});
}

}  // namespace
