// The serial driver against hand-made adapter bytes on a raw pseudo-terminal: what a real
// adapter may send that the simulator never does.
#include "SerialDriverHost.h"

#include "support/WaitFor.h"

#include <QApplication>
#include <QMessageBox>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

using namespace corvix;
using corvix::test::SerialDriverLibrary;
using corvix::test::SerialHost;
using corvix::test::WaitFor;

namespace {

QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// The adapter's end of a pseudo-terminal; the driver opens the other end.
class HandMadeAdapter {
public:
    HandMadeAdapter() : master_(posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK))
    {
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
            return;
        termios raw{};
        tcgetattr(master_, &raw);
        cfmakeraw(&raw);
        tcsetattr(master_, TCSANOW, &raw);
        path_ = QByteArray(ptsname(master_));
    }
    ~HandMadeAdapter()
    {
        if (master_ >= 0)
            ::close(master_);
    }
    const QByteArray& path() const { return path_; }
    void send(const QByteArray& bytes)
    {
        ASSERT_EQ(::write(master_, bytes.constData(), size_t(bytes.size())), bytes.size());
    }
    // Waits until `count` bytes came from the driver.
    QByteArray take(qsizetype count)
    {
        WaitFor([&] {
            char chunk[512];
            ssize_t n;
            while ((n = ::read(master_, chunk, sizeof chunk)) > 0)
                received_.append(chunk, n);
            return received_.size() >= count;
        });
        const QByteArray got = received_.left(count);
        received_.remove(0, got.size());
        return got;
    }

private:
    int master_;
    QByteArray path_;
    QByteArray received_;
};

QMessageBox* FindDriverMessage()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget);
            box != nullptr && box->objectName() == QStringLiteral("SerialDriverMessage") &&
            box->isVisible())
            return box;
    }
    return nullptr;
}

class SerialRawLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(driver.library.isLoaded());
        ASSERT_FALSE(adapter.path().isEmpty());
        handle = driver.open(adapter.path() + ",10,1", host.status.address());
        ASSERT_NE(handle, 0u);
        ASSERT_EQ(adapter.take(5), Hex("02 03 07 0A 01"));
    }
    void TearDown() override
    {
        driver.close(handle);
        EXPECT_EQ(adapter.take(4), Hex("02 02 03 00")) << "offline command on close";
        while (QMessageBox* box = FindDriverMessage())
            delete box;
    }
    void request(uint32_t tag)
    {
        driver.request(handle, tag, 5, "20 0F 24 01 30 01", 0x0E, 0, nullptr,
                       host.reply.address());
        ASSERT_EQ(adapter.take(12), Hex("02 0A 04 01 01 05 0E 0F 00 01 00 01"));
    }

    SerialDriverLibrary driver;
    SerialHost host;
    HandMadeAdapter adapter;
    CorvixDriverHandle handle = 0;
};

TEST_F(SerialRawLineTest, MessagesAsTheAdapterSendsThem)
{
    driver.who(handle, host.browse.address());
    ASSERT_EQ(adapter.take(4), Hex("02 02 06 01"));
    adapter.send(Hex("55 02 04 00 00 04 00"));          // noise, then status online
    adapter.send(Hex("02 03 00 00 08"));                 // three bytes: not a status
    adapter.send(Hex("02 05 00 00 34 12 00"));           // five bytes: not a status
    adapter.send(Hex("02 04 00 00 34 12"));              // a word the contract does not name
    adapter.send(Hex("02 02 64 05"));                    // absent node
    adapter.send(Hex("02 0E 64 06 01 00 02 00 03 00 04 05 78 56 34"));
    adapter.send(Hex("12"));                             // a present node, split anywhere
    adapter.send(Hex("02 01 64"));                       // an empty record
    adapter.send(Hex("02 03 64 07 07"));                 // a record of no known size
    adapter.send(Hex("02 03 65 AA BB"));                 // a browse report, passed on whole
    adapter.send(Hex("02 02 99 01"));                    // unknown message type
    ASSERT_TRUE(WaitFor([&] { return host.records.size() == 3; }));
    EXPECT_EQ(host.statuses, QList<uint32_t>({4, 0x1234}));
    EXPECT_EQ(host.records[0], Hex("05"));
    EXPECT_EQ(host.records[1], Hex("06 01 00 02 00 03 00 04 05 78 56 34 12"));
    EXPECT_EQ(host.records[2], Hex("65 AA BB"));
}

TEST_F(SerialRawLineTest, RepliesBySlot)
{
    request(1);
    adapter.send(Hex("02 05 82 01 01 00 00"));  // cut before the reply service: ignored
    adapter.send(Hex("02 07 82 01 02 00 00 8E 01"));  // a slot the driver never uses: ignored
    adapter.send(Hex("02 09 82 01 01 00 00 94 08 FF FF"));
    ASSERT_TRUE(WaitFor([&] { return host.replies.size() == 1; }));
    EXPECT_EQ(host.replies[0].tag, 1u);
    EXPECT_EQ(host.replies[0].service, CORVIX_SERVICE_ERROR_REPLY);
    EXPECT_EQ(host.replies[0].data, Hex("08 FF FF")) << "extra status bytes are passed on";

    // A reply naming slot 0 reaches nobody and tells the user.
    adapter.send(Hex("02 08 82 01 00 00 00 8E 2A 00"));
    ASSERT_TRUE(WaitFor([] { return FindDriverMessage() != nullptr; }));
    EXPECT_EQ(FindDriverMessage()->text(), QStringLiteral("MessageHandler Error"));
    EXPECT_EQ(host.replies.size(), 1);

    // The request slot was freed by the first reply: the next request goes out at once.
    request(2);
    adapter.send(Hex("02 07 82 04 01 00 00 8E 00"));
    ASSERT_TRUE(WaitFor([&] { return host.replies.size() == 2; }));
    EXPECT_EQ(host.replies[1].transfer, 4);
}

}  // namespace
