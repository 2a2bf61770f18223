#include "core/PtyFrontEnd.h"

#include "app/CorvixError.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace corvix::sim {

namespace {

QString SystemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

}  // namespace

PtyFrontEnd::PtyFrontEnd(SimNetwork& network, bool lineRate, const QString& linkPath)
    : adapter_(network), linkPath_(linkPath)
{
    adapter_.setLineRateEmulation(lineRate);
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0)
        throw CorvixError(SystemError("posix_openpt"));
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
        const QString message = SystemError("grantpt/unlockpt");
        ::close(master_);
        throw CorvixError(message);
    }
    slavePath_ = QString::fromLocal8Bit(ptsname(master_));
    slave_ = ::open(ptsname(master_), O_RDWR | O_NOCTTY);
    termios raw{};
    if (slave_ >= 0 && tcgetattr(slave_, &raw) == 0) {
        // Raw bytes both ways: no echo, no line editing, no CR/LF translation.
        cfmakeraw(&raw);
        tcsetattr(slave_, TCSANOW, &raw);
    }
    if (!linkPath_.isEmpty()) {
        if (QFileInfo(linkPath_).isSymLink())
            QFile::remove(linkPath_);
        if (!QFile::link(slavePath_, linkPath_))
            linkPath_.clear();
    }
    clock_.start();
    notifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &PtyFrontEnd::readMaster);
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &PtyFrontEnd::service);
}

PtyFrontEnd::~PtyFrontEnd()
{
    if (!linkPath_.isEmpty())
        QFile::remove(linkPath_);
    if (slave_ >= 0)
        ::close(slave_);
    ::close(master_);
}

void PtyFrontEnd::readMaster()
{
    char chunk[512];
    for (;;) {
        const ssize_t n = ::read(master_, chunk, sizeof chunk);
        if (n <= 0)
            break;
        adapter_.receive(QByteArray(chunk, static_cast<qsizetype>(n)), nowUs());
    }
    service();
}

void PtyFrontEnd::service()
{
    const std::int64_t now = nowUs();
    adapter_.tick(now);
    const QByteArray out = adapter_.takeDue(now);
    for (qsizetype written = 0; written < out.size();) {
        const ssize_t n = ::write(master_, out.constData() + written,
                                  static_cast<size_t>(out.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;  // nobody reads the terminal and its buffer is full: the bytes are lost
        written += n;
    }
    if (const auto wake = adapter_.nextWakeUs()) {
        // Timers count whole milliseconds: wake at the millisecond before and poll the rest, so
        // an emulated line time is not stretched by up to a millisecond per frame.
        const std::int64_t waitUs = std::max<std::int64_t>(0, *wake - nowUs());
        timer_.start(static_cast<int>(waitUs / 1000));
    }
}

}  // namespace corvix::sim
