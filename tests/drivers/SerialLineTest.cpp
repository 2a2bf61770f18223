// The adapter line without a port: framing of hand-made byte streams, commands, request paths,
// adapter messages, the settings text, and the request slot and watchdog on a stepped clock.
#include "line/RequestSlots.h"
#include "line/SerialLine.h"

#include <gtest/gtest.h>

using namespace corvix::serial;

namespace {

QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

QString HexOf(const QList<QByteArray>& payloads)
{
    QStringList parts;
    for (const QByteArray& payload : payloads)
        parts.append(QString::fromLatin1(payload.toHex(' ')));
    return parts.join(QLatin1Char('|'));
}

}  // namespace

TEST(SerialLine, FramingResynchronisesAndReassembles)
{
    struct Case {
        const char* name;
        QList<QByteArray> chunks;  // as the receive events hand them over
        QByteArray payloads;       // "|" between frames
    };
    const Case cases[] = {
        {"one frame", {Hex("02 04 00 00 04 00")}, "00 00 04 00"},
        {"noise before the first STX", {Hex("FF 13 00 02 02 37 07")}, "37 07"},
        {"split in every place",
         {Hex("02"), Hex("08"), Hex("82 01 01"), Hex("00 00 8E 2A"), Hex("00")},
         "82 01 01 00 00 8e 2a 00"},
        {"STX inside a payload is data", {Hex("02 03 64 02 02 02 01 37")}, "64 02 02|37"},
        {"two frames in one event", {Hex("02 02 64 05 02 02 64 06")}, "64 05|64 06"},
        {"noise between frames", {Hex("02 01 37 AA BB 02 01 37")}, "37|37"},
        {"a LEN of 0 makes the next byte the length", {Hex("02 00 01 37")}, "37"},
        {"an unfinished frame waits", {Hex("02 05 00 00")}, ""},
        {"only noise", {Hex("00 01 03 FF")}, ""},
        {"longest payload", {Hex("02 FF") + QByteArray(255, '\x11')},
         QByteArray(255, '\x11').toHex(' ')},
    };
    for (const Case& c : cases) {
        FrameReader reader;
        QList<QByteArray> payloads;
        for (const QByteArray& chunk : c.chunks)
            reader.feed(chunk, payloads);
        EXPECT_EQ(HexOf(payloads), QString::fromLatin1(c.payloads)) << c.name;
    }
}

TEST(SerialLine, ResetDropsAHalfReceivedFrame)
{
    FrameReader reader;
    QList<QByteArray> payloads;
    reader.feed(Hex("02 06 82 01"), payloads);
    reader.reset();
    reader.feed(Hex("01 00 02 01 37"), payloads);
    EXPECT_EQ(HexOf(payloads), QStringLiteral("37"));
}

TEST(SerialLine, CommandFrames)
{
    EXPECT_EQ(GoOnlineFrame(63, 2), Hex("02 03 07 3F 02"));
    EXPECT_EQ(GoOfflineFrame(), Hex("02 02 03 00"));
    EXPECT_EQ(BrowseFrame(), Hex("02 02 06 01"));

    ExplicitRequest get{1, 5, 0x0E, ParseRequestPath("20 01 24 01 30 07"), {}};
    EXPECT_EQ(ExplicitRequestFrame(get), Hex("02 0A 04 01 01 05 0E 01 00 01 00 07"));
    ExplicitRequest set{1, 9, 0x10, ParseRequestPath("20 0F 25 2C 01 30 01"), Hex("34 12")};
    EXPECT_EQ(ExplicitRequestFrame(set), Hex("02 0C 04 01 03 09 10 0F 00 2C 01 01 34 12"));
    ExplicitRequest all{1, 2, 0x01, ParseRequestPath("20 90 24 01 "), {}};
    EXPECT_EQ(ExplicitRequestFrame(all), Hex("02 09 04 01 00 02 01 90 00 01 00"));
}

TEST(SerialLine, RequestDataUpToOneFrame)
{
    for (const bool withAttribute : {true, false}) {
        ExplicitRequest request{1, 5, 0x10,
                                ParseRequestPath(withAttribute ? "20 0F 24 01 30 01"
                                                               : "20 0F 24 01"),
                                {}};
        request.data = QByteArray(withAttribute ? 245 : 246, '\x5A');
        const QByteArray frame = ExplicitRequestFrame(request);
        EXPECT_EQ(std::uint8_t(frame[1]), 255);
        EXPECT_EQ(frame.size(), 257);
        request.data.append('\x5A');
        EXPECT_THROW(ExplicitRequestFrame(request), LineError) << withAttribute;
    }
}

TEST(SerialLine, RequestPathTexts)
{
    struct Case {
        const char* text;
        int classId, instanceId, attributeId;
        bool noAttribute;
    };
    const Case good[] = {
        {"20 0F 24 00 30 02", 0x0F, 0, 2, false},
        {"20 0F 25 2C 01 30 01", 0x0F, 0x012C, 1, false},
        {"21 2C 01 24 05 30 03", 0x012C, 5, 3, false},
        {"20 01 24 01", 1, 1, 0, true},
        {"20 90 24 01 ", 0x90, 1, 0, true},   // trailing blank of the class/instance editor
        {"20 0f 24 01 30 0a", 0x0F, 1, 10, false},  // lower case digits
        {"20 01 24 01 31 07", 1, 1, 0, true},  // not an attribute segment: ignored
        {"20 01 24 01 30 01 99", 1, 1, 1, false},  // bytes after the path are ignored
    };
    for (const Case& c : good) {
        const RequestPath path = ParseRequestPath(c.text);
        EXPECT_EQ(path.classId, c.classId) << c.text;
        EXPECT_EQ(path.instanceId, c.instanceId) << c.text;
        EXPECT_EQ(path.attributeId, c.attributeId) << c.text;
        EXPECT_EQ(path.noAttribute, c.noAttribute) << c.text;
    }
    const char* const bad[] = {"", "zz", "20", "20 0F", "20 0F 25 2C", "21 0F", "0F 24 01",
                               "20 01 99 01", "hello world"};
    for (const char* text : bad)
        EXPECT_THROW(ParseRequestPath(text), LineError) << text;
    EXPECT_THROW(ParseRequestPath(nullptr), LineError);
}

TEST(SerialLine, AdapterMessages)
{
    EXPECT_EQ(StatusWord(Hex("00 00 04 00")), std::optional<std::uint16_t>(4));
    EXPECT_EQ(StatusWord(Hex("00 FF 00 02")), std::optional<std::uint16_t>(512));
    for (const char* wrong : {"00 00 04", "00 00 04 00 00", "37 00 04 00"})
        EXPECT_FALSE(StatusWord(Hex(wrong))) << wrong;

    const auto reply = ParseReply(Hex("82 01 01 00 00 8E 2A 00"));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->transferStatus, 1);
    EXPECT_EQ(reply->slot, 1);
    EXPECT_EQ(reply->service, 0x8E);
    EXPECT_EQ(reply->data, Hex("2A 00"));
    EXPECT_TRUE(ParseReply(Hex("82 01 01 00 00 90"))->data.isEmpty());
    EXPECT_FALSE(ParseReply(Hex("82 01 01 00 00"))) << "cut before the reply service";
}

TEST(SerialLine, SettingsTexts)
{
    const LineSettings settings = ParseSettingsText("COM2,10,1");
    EXPECT_EQ(settings.port, QStringLiteral("COM2"));
    EXPECT_EQ(settings.macId, 10);
    EXPECT_EQ(settings.rateIndex, 1);
    EXPECT_EQ(ParseSettingsText("/dev/pts/7,0,3").port, QStringLiteral("/dev/pts/7"));
    EXPECT_EQ(ComposeSettingsText({QStringLiteral("COM1"), 63, 2}), QByteArray("COM1,63,2"));
    EXPECT_EQ(ComposeSettingsText({QString(), 0, 0}), QByteArray(",0,0"));

    const char* const bad[] = {"COM1", "COM1,63", "COM1,x,2", "COM1,63,", "COM1,64,2",
                               "COM1,63,4", "COM1,-1,2", "COM1,63,2,9", "COM1, 63,2"};
    for (const char* text : bad)
        EXPECT_THROW(ParseSettingsText(text), LineError) << text;
}

TEST(SerialLine, SlotIsReleasedOnlyWhenOld)
{
    RequestSlotTable slots;
    ASSERT_EQ(slots.allocate(1000), 1);
    EXPECT_EQ(slots.allocate(1000), -1) << "one request at a time";
    EXPECT_EQ(slots.inProgress(), 1);
    slots.slot(1).macId = 5;

    EXPECT_FALSE(slots.releaseAged(1000 + 10'999));
    EXPECT_TRUE(slots.releaseAged(1000 + 11'000));
    EXPECT_EQ(slots.inProgress(), 0);
    EXPECT_FALSE(slots.slot(1).inUse);
    EXPECT_EQ(slots.slot(1).replyCallback, nullptr);

    // A request stuck for minutes is released as well (the age is not taken modulo a minute).
    ASSERT_EQ(slots.allocate(0), 1);
    EXPECT_TRUE(slots.releaseAged(61'000));

    // Freeing twice never drives the count below zero.
    ASSERT_EQ(slots.allocate(0), 1);
    slots.free(1);
    slots.free(1);
    EXPECT_EQ(slots.inProgress(), 0);
    EXPECT_EQ(slots.allocate(0), 1);
}

TEST(SerialLine, SlotsOfOtherMacsStay)
{
    RequestSlotTable slots;
    ASSERT_EQ(slots.allocate(0), 1);
    slots.slot(1).macId = 7;
    slots.freeOfMac(8);
    EXPECT_TRUE(slots.slot(1).inUse);
    slots.freeOfMac(7);
    EXPECT_FALSE(slots.slot(1).inUse);
}

TEST(SerialLine, WatchdogReportsOnceAfterThreeSilentSeconds)
{
    Watchdog watchdog;
    EXPECT_FALSE(watchdog.tick(true)) << "not armed";
    watchdog.arm();
    for (int tick = 1; tick <= Watchdog::SilentTicks; ++tick)
        ASSERT_FALSE(watchdog.tick(true)) << tick;
    EXPECT_TRUE(watchdog.tick(true));
    for (int tick = 0; tick < 1000; ++tick)
        ASSERT_FALSE(watchdog.tick(true)) << "quiet until armed again";

    watchdog.arm();
    for (int tick = 0; tick < 2 * Watchdog::SilentTicks; ++tick) {
        if (tick % 100 == 0)
            watchdog.heard();
        ASSERT_FALSE(watchdog.tick(true)) << "a talking adapter is never timed out";
    }

    // With nobody to tell, the watchdog keeps counting and reports once someone listens.
    watchdog.arm();
    for (int tick = 0; tick < 400; ++tick)
        ASSERT_FALSE(watchdog.tick(false));
    EXPECT_TRUE(watchdog.tick(true));
}
