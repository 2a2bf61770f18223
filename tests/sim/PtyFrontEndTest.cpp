#include "SimFixtures.h"

#include "core/PtyFrontEnd.h"
#include "support/WaitFor.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using namespace corvix::sim;
using namespace corvix::sim::test;

namespace {

// The driver's end of the terminal, opened raw and non-blocking.
class DriverEnd {
public:
    explicit DriverEnd(const QString& path)
        : fd_(::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK))
    {
        termios raw{};
        if (fd_ >= 0 && tcgetattr(fd_, &raw) == 0) {
            cfmakeraw(&raw);
            tcsetattr(fd_, TCSANOW, &raw);
        }
    }
    ~DriverEnd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool isOpen() const { return fd_ >= 0; }
    void write(const QByteArray& bytes) { ASSERT_EQ(::write(fd_, bytes.constData(), bytes.size()), bytes.size()); }
    // Collects bytes until `count` of them arrived or the time limit passed.
    QByteArray read(qsizetype count, int timeoutMs = 3000)
    {
        QByteArray got;
        corvix::test::WaitFor(
            [&] {
                char chunk[256];
                ssize_t n;
                while ((n = ::read(fd_, chunk, sizeof chunk)) > 0)
                    got.append(chunk, n);
                return got.size() >= count;
            },
            timeoutMs);
        return got;
    }

private:
    int fd_;
};

TEST(PtyFrontEnd, AnswersOverTheTerminalAndKeepsTheLink)
{
    SimNetwork network;
    network.addNode(SmallNode(5));
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("adapter"));
    std::optional<PtyFrontEnd> pty(std::in_place, network, false, link);
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), pty->slavePath());

    DriverEnd driver(link);
    ASSERT_TRUE(driver.isOpen());
    driver.write(Hex("02 03 07 3F 02"));
    EXPECT_EQ(driver.read(10), Hex("02 02 37 07 02 04 00 00 04 00"));
    driver.write(Hex("02 0A 04 01 01 05 0E 01 00 01 00 01"));
    EXPECT_EQ(driver.read(10), Hex("02 08 82 01 01 00 00 8E 01 00"));
    // A status message follows about a second later without any request.
    EXPECT_EQ(driver.read(6), Hex("02 04 00 00 04 00"));

    pty.reset();
    EXPECT_FALSE(QFileInfo::exists(link)) << "the link goes with the simulator";
}

TEST(PtyFrontEnd, LineRateRoundTripTakesTheLineTime)
{
    SimNetwork network;
    network.addNode(SmallNode(5));
    PtyFrontEnd pty(network, true);
    DriverEnd driver(pty.slavePath());
    driver.write(Hex("02 03 07 3F 02"));
    ASSERT_EQ(driver.read(10).size(), 10);

    const QByteArray request = Hex("02 0A 04 01 01 05 0E 01 00 01 00 01");
    QElapsedTimer clock;
    clock.start();
    driver.write(request);
    ASSERT_EQ(driver.read(10), Hex("02 08 82 01 01 00 00 8E 01 00"));
    const double lineMs = (request.size() + 10) * SerialAdapter::ByteTimeUs / 1000.0;
    // Never faster than the line; slower only by the scheduling of a loaded machine.
    EXPECT_GE(clock.nsecsElapsed() / 1e6, lineMs * 0.9);
}

}  // namespace
