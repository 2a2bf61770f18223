// Reading 100 parameters of one device through the real serial driver library, with the
// simulated adapter emulating the 38400 bit/s line on a pseudo-terminal. The "ratio" counter
// compares the time taken with the least the line allows: the line time of every request and
// reply frame plus the driver's 10 ms pause after each request.

#include "app/CallbackThunk.h"
#include "app/SharedLibrary.h"
#include "core/PtyFrontEnd.h"
#include "support/HundredParameterNode.h"

#include <CorvixDriverContract.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

using namespace corvix;
using namespace corvix::sim;

namespace {

constexpr int ParameterCount = corvix::bench::HundredParameters;

void SerialReadParameters(benchmark::State& state)
{
    SimNetwork network = corvix::bench::HundredParameterNetwork(5);
    PtyFrontEnd pty(network, true);
    SharedLibrary library(QStringLiteral(CORVIX_BIN_DIR "/Drivers/SerialAdapterDriver") +
                          SharedLibrary::fileMask().mid(1));
    auto setUp = library.function<CorvixSetUpAndGoOnlineFn>(CORVIX_EXPORT_SET_UP_AND_GO_ONLINE);
    auto request = library.function<CorvixNetWorkRequestFn>(CORVIX_EXPORT_NETWORK_REQUEST);
    auto close = library.function<CorvixCloseDriverFn>(CORVIX_EXPORT_CLOSE_DRIVER);
    if (!setUp || !request || !close) {
        state.SkipWithError("driver library not found");
        return;
    }
    bool online = false;
    int replies = 0;
    qsizetype replyBytes = 0;
    CallbackThunk<CorvixStatusCallback> status{[&](uint32_t code) { online |= code == 4; }};
    CallbackThunk<CorvixReplyCallback> reply{
        [&](uint32_t, uint8_t, uint8_t, uint32_t length, const uint8_t*) {
            ++replies;
            replyBytes += 2 + 6 + qsizetype(length);  // STX, LEN, reply header, data
        }};
    const QByteArray settings = pty.slavePath().toLocal8Bit() + ",63,2";
    int32_t length = int32_t(settings.size());
    const char* text = settings.constData();
    const CorvixDriverHandle handle = setUp(nullptr, status.address(), &length, &text);
    while (!online)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

    double lineAndPauseMs = 0;
    for (auto _ : state) {
        replies = 0;
        replyBytes = 0;
        QElapsedTimer clock;
        clock.start();
        for (int instance = 1; instance <= ParameterCount; ++instance) {
            const QByteArray path = QStringLiteral("20 0F 24 %1 30 01")
                                        .arg(instance, 2, 16, QLatin1Char('0'))
                                        .toUpper()
                                        .toLatin1();
            request(handle, instance, 5, path.constData(), 0x0E, 0, nullptr, reply.address());
        }
        while (replies < ParameterCount)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        // Request frames: STX, LEN, command and eight header bytes, the attribute.
        const qsizetype lineBytes = ParameterCount * 12 + replyBytes;
        lineAndPauseMs = lineBytes * SerialAdapter::ByteTimeUs / 1000.0 + ParameterCount * 10.0;
        state.counters["ratio"] = clock.nsecsElapsed() / 1e6 / lineAndPauseMs;
    }
    state.counters["line_and_pause_ms"] = lineAndPauseMs;
    close(handle);
}
BENCHMARK(SerialReadParameters)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
