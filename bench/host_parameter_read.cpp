// Reading all 100 parameters of one device the way the parameter window does: one parameter
// object after the other, each through the network's driver binding and the parameter's own
// reply thunk, the next request once the reply has been handled. The serial driver talks to the
// simulated adapter emulating the 38400 bit/s line. The "ratio" counter compares the time with
// the least the line allows: the line time of every request and reply frame plus the driver's
// 10 ms pause after each request.

#include "app/ScriptedPrompt.h"
#include "app/SharedLibrary.h"
#include "core/PtyFrontEnd.h"
#include "support/HundredParameterNode.h"
#include "device/DevParameterClass.h"
#include "device/DeviceNetDevice.h"
#include "network/DeviceNetWork.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace corvix;
using namespace corvix::sim;

namespace {

constexpr int ParameterCount = corvix::bench::HundredParameters;
constexpr uint8_t MacId = 5;

// A UINT parameter addressed with an 8-bit instance segment, as many EDS files give it.
std::unique_ptr<TDevParameterClass> Parameter(int number)
{
    const QByteArray path = QStringLiteral("20 0F 24 %1 30 01")
                                .arg(number, 2, 16, QLatin1Char('0'))
                                .toUpper()
                                .toLatin1();
    const QByteArrayList fields = {"0", "6", path, "0x0000", "0xC7",  "2",
                                   "P", "",  "",   "0",      "65535", "0"};
    return std::make_unique<TDevParameterClass>(fields, QByteArrayList(), number);
}

bool WaitUntil(const std::function<bool()>& done, int limitMs)
{
    QDeadlineTimer limit(limitMs);
    while (!done()) {
        if (limit.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

void HostReadParameters(benchmark::State& state)
{
    ScriptedPrompt prompt;
    prompt.queueButton(PromptButton::Cancel);  // no browse after going online
    UserPrompt::setCurrent(&prompt);
    SimNetwork simulated = corvix::bench::HundredParameterNetwork(MacId);
    PtyFrontEnd pty(simulated, true);
    QTemporaryDir library;
    TDeviceNetWork network(library.path());
    network.ReleasePauseMs = 0;
    network.DriverFile = QStringLiteral(CORVIX_BIN_DIR "/Drivers/SerialAdapterDriver") +
                         SharedLibrary::fileMask().mid(1);
    network.DriverConfig = pty.slavePath() + QStringLiteral(",63,2");
    network.GoOnline([](const QList<DriverListEntry>&) { return 0; });
    if (!WaitUntil([&] { return network.IsOnline(); }, 5000)) {
        state.SkipWithError("the network did not come online");
        UserPrompt::setCurrent(nullptr);
        return;
    }
    TDeviceNetDevice* device = network.AddDevice(MacId, 1, 0, 0, 1, QString());
    std::vector<std::unique_ptr<TDevParameterClass>> parameters;
    for (int number = 1; number <= ParameterCount; ++number) {
        parameters.push_back(Parameter(number));
        parameters.back()->SetDevice(device);
    }

    double lineAndPauseMs = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        for (auto& parameter : parameters) {
            parameter->ReadFromDevice(nullptr, &network);
            if (!WaitUntil([&] { return parameter->GetStateColour() != StateColour::Gray; },
                           5000)) {
                state.SkipWithError("a parameter got no reply");
                break;
            }
        }
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        // Request frames: STX, LEN, command and eight header bytes, the attribute. Replies:
        // STX, LEN, six header bytes and the two value bytes.
        const qsizetype lineBytes = ParameterCount * (12 + 2 + 6 + 2);
        lineAndPauseMs = lineBytes * SerialAdapter::ByteTimeUs / 1000.0 + ParameterCount * 10.0;
        state.counters["ratio"] = clock.nsecsElapsed() / 1e6 / lineAndPauseMs;
    }
    state.counters["line_and_pause_ms"] = lineAndPauseMs;
    network.ReleaseDriver();
    UserPrompt::setCurrent(nullptr);
}
BENCHMARK(HostReadParameters)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
