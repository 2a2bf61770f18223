#include "app/CallbackThunk.h"

#include <CorvixDriverContract.h>

#include <QByteArray>
#include <QFile>

#include <gtest/gtest.h>

using namespace corvix;

namespace {

// An object that hands its own callback addresses to a "driver", as parameters and devices do.
struct Receiver {
    QList<uint32_t> codes;
    QByteArray lastRecord;
    QList<QList<uint32_t>> replies;
    QByteArray lastReplyData;

    CallbackThunk<CorvixStatusCallback> status{[this](uint32_t code) { codes.append(code); }};
    CallbackThunk<CorvixBrowseCallback> browse{[this](int32_t length, const uint8_t* data) {
        lastRecord = QByteArray(reinterpret_cast<const char*>(data), length);
    }};
    CallbackThunk<CorvixReplyCallback> reply{[this](uint32_t tag, uint8_t transfer,
                                                    uint8_t service, uint32_t length,
                                                    const uint8_t* data) {
        replies.append({tag, transfer, service, length});
        lastReplyData = QByteArray(reinterpret_cast<const char*>(data), int(length));
    }};
};

}  // namespace

TEST(CallbackThunk, EachAddressReachesItsOwnObjectWithAllArguments)
{
    Receiver first, second;
    // A driver only ever sees plain function pointers.
    CorvixStatusCallback firstStatus = first.status.address();
    CorvixStatusCallback secondStatus = second.status.address();
    EXPECT_NE(firstStatus, secondStatus);
    firstStatus(4);
    secondStatus(512);
    firstStatus(0xFFFFFFFFu);
    EXPECT_EQ(first.codes, (QList<uint32_t>{4, 0xFFFFFFFFu}));
    EXPECT_EQ(second.codes, (QList<uint32_t>{512}));

    const uint8_t record[13] = {5, 1, 0, 12, 0, 34, 0, 2, 3, 0x78, 0x56, 0x34, 0x12};
    second.browse.address()(13, record);
    EXPECT_EQ(second.lastRecord, QByteArray(reinterpret_cast<const char*>(record), 13));
    EXPECT_TRUE(first.lastRecord.isEmpty());

    const uint8_t data[] = {0x14};
    first.reply.address()(0xDEADBEEF, 1, 0x94, 1, data);
    ASSERT_EQ(first.replies.size(), 1);
    EXPECT_EQ(first.replies[0], (QList<uint32_t>{0xDEADBEEF, 1, 0x94, 1}));
    EXPECT_EQ(first.lastReplyData, QByteArray("\x14"));
}

namespace {

void cycleReceivers(int count)
{
    for (int i = 0; i < count; ++i) {
        Receiver receiver;
        receiver.status.address()(uint32_t(i));
        ASSERT_EQ(receiver.codes.value(0), uint32_t(i));
    }
}

// Kilobytes of executable mappings of this process (Linux); -1 where that cannot be read.
long executableKilobytes()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) {
        return -1;
    }
    long total = 0;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() > 1 && fields[1].contains('x')) {
            const QList<QByteArray> range = fields[0].split('-');
            total += long((range[1].toULongLong(nullptr, 16) - range[0].toULongLong(nullptr, 16)) /
                          1024);
        }
    }
    return total;
}

}  // namespace

TEST(CallbackThunk, ManyCreateDestroyCyclesLeakNoExecutableMemory)
{
    const long closuresBefore = thunk_detail::ClosureBase::liveCount();
    cycleReceivers(5000);  // lets the closure allocator reach its working size
    const long executableBefore = executableKilobytes();
    cycleReceivers(50000);
    EXPECT_EQ(thunk_detail::ClosureBase::liveCount(), closuresBefore);
    EXPECT_EQ(executableKilobytes(), executableBefore);
}
