// Round trip of one Get_Attribute_Single through each front end of the simulator, measured from
// the client's side: the serial adapter on its pseudo-terminal (with and without line-rate
// emulation) and the EtherNet/IP bridge over a loopback TCP connection.

#include "core/EnipFrontEnd.h"
#include "core/PtyFrontEnd.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using namespace corvix::sim;

namespace {

SimNetwork OneNode()
{
    SimNetwork network;
    SimNode node;
    node.macId = 5;
    node.identity.vendorId = 1;
    network.addNode(node);
    return network;
}

// Handles events until `size` bytes were read from the terminal.
QByteArray ReadPty(int fd, qsizetype size)
{
    QByteArray got;
    char chunk[256];
    while (got.size() < size) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n > 0)
            got.append(chunk, n);
    }
    return got;
}

void SerialRoundTrip(benchmark::State& state)
{
    const bool lineRate = state.range(0) != 0;
    SimNetwork network = OneNode();
    PtyFrontEnd pty(network, lineRate);
    const int fd = ::open(pty.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios raw{};
    tcgetattr(fd, &raw);
    cfmakeraw(&raw);
    tcsetattr(fd, TCSANOW, &raw);
    const QByteArray online = QByteArray::fromHex("0203073F02");
    [[maybe_unused]] auto w = ::write(fd, online.constData(), online.size());
    ReadPty(fd, 10);

    const QByteArray frame = QByteArray::fromHex("020A04010105 0E01000100 01");
    for (auto _ : state) {
        w = ::write(fd, frame.constData(), frame.size());
        benchmark::DoNotOptimize(ReadPty(fd, 10));
    }
    // The line time of the 12 request and 10 reply bytes at 38400 bit/s, 11 bits a byte.
    state.counters["line_ms"] = (frame.size() + 10) * SerialAdapter::ByteTimeUs / 1000.0;
    ::close(fd);
}
BENCHMARK(SerialRoundTrip)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void EnipRoundTrip(benchmark::State& state)
{
    SimNetwork network = OneNode();
    const QHostAddress loopback(QStringLiteral("127.0.0.1"));
    EnipFrontEnd bridge(network, BridgeConfig::standard(), loopback, 0);
    QTcpSocket tcp;
    tcp.connectToHost(loopback, bridge.port());
    while (tcp.state() != QAbstractSocket::ConnectedState)
        QCoreApplication::processEvents();
    const auto readBytes = [&](qsizetype size) {
        QByteArray got;
        while (got.size() < size) {
            QCoreApplication::processEvents();
            got += tcp.read(size - got.size());
        }
        return got;
    };
    tcp.write(QByteArray::fromHex("650004000000000000000000000000000000000000000000" "01000000"));
    const QByteArray handle = readBytes(28).mid(4, 4);
    const QByteArray request =
        QByteArray::fromHex("6F002600") + handle
        + QByteArray::fromHex("00000000010000000500000000000000" "000000000E00020000000000B2001600"
                              "52022006240105 9B08000E03200124013001 01000205");
    for (auto _ : state) {
        tcp.write(request);
        benchmark::DoNotOptimize(readBytes(46));
    }
}
BENCHMARK(EnipRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
