// Reading all 100 parameters of one device the way the parameter window does, one parameter
// after the other through the network's driver binding and the parameter's own reply thunk, the
// next request once the reply has been handled: first driven by hand (the least a host can
// add), then by the group transfer that the parameter page's "Upload" runs. The serial driver
// talks to the simulated adapter emulating the 38400 bit/s line. The "ratio" counter compares
// the time with the least the line allows: the line time of every request and reply frame plus
// the driver's 10 ms pause after each request.

#include "app/ScriptedPrompt.h"
#include "app/SharedLibrary.h"
#include "core/PtyFrontEnd.h"
#include "support/HundredParameterNode.h"
#include "device/DevParameterClass.h"
#include "device/DeviceNetDevice.h"
#include "device/ParameterGroupTransfer.h"
#include "library/EdsNormaliser.h"
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

// The request path of parameter number with an 8-bit instance segment, as many EDS files give
// it.
QByteArray PathOf(int number)
{
    return QStringLiteral("20 0F 24 %1 30 01")
        .arg(number, 2, 16, QLatin1Char('0'))
        .toUpper()
        .toLatin1();
}

// A UINT parameter of the simulated node.
std::unique_ptr<TDevParameterClass> Parameter(int number)
{
    const QByteArrayList fields = {"0", "6", PathOf(number), "0x0000", "0xC7", "2", "P", "",
                                   "",  "0", "65535",        "0"};
    return std::make_unique<TDevParameterClass>(fields, QByteArrayList(), number);
}

// The device as an EDS file describes the simulated node, with its parameters in group 0.
std::unique_ptr<TDeviceNetDevice> HundredParameterDevice(TDeviceNetWork* network)
{
    QByteArray eds = "[ParamClass]\nMaxInst = 100;\nDescriptor = 0;\n[Params]\n";
    for (int number = 1; number <= ParameterCount; ++number) {
        eds += "Param" + QByteArray::number(number) + " = 0, 6, \"" + PathOf(number) +
               "\", 0x0000, 0xC7, 2, \"P\", \"\", \"\", 0, 65535, 0;\n";
    }
    return TDeviceNetDevice::CreateFromEds(network, QStringLiteral("bench.eds"),
                                           NormaliseEdsText(eds), MacId);
}

// The least time reading every parameter can take on the line.
double LineAndPauseMs()
{
    // Request frames: STX, LEN, command and eight header bytes, the attribute. Replies:
    // STX, LEN, six header bytes and the two value bytes.
    const qsizetype lineBytes = ParameterCount * (12 + 2 + 6 + 2);
    return lineBytes * SerialAdapter::ByteTimeUs / 1000.0 + ParameterCount * 10.0;
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

// The network online through the serial driver, the simulated node of 100 parameters behind
// the adapter at line rate.
struct OnlineNetwork {
    OnlineNetwork()
    {
        prompt.queueButton(PromptButton::Cancel);  // no browse after going online
        UserPrompt::setCurrent(&prompt);
        network.ReleasePauseMs = 0;
        network.DriverFile = QStringLiteral(CORVIX_BIN_DIR "/Drivers/SerialAdapterDriver") +
                             SharedLibrary::fileMask().mid(1);
        network.DriverConfig = pty.slavePath() + QStringLiteral(",63,2");
        network.GoOnline([](const QList<DriverListEntry>&) { return 0; });
        online = WaitUntil([&] { return network.IsOnline(); }, 5000);
    }
    ~OnlineNetwork()
    {
        network.ReleaseDriver();
        UserPrompt::setCurrent(nullptr);
    }

    ScriptedPrompt prompt;
    SimNetwork simulated = corvix::bench::HundredParameterNetwork(MacId);
    PtyFrontEnd pty{simulated, true};
    QTemporaryDir library;
    TDeviceNetWork network{library.path()};
    bool online = false;
};

void HostReadParameters(benchmark::State& state)
{
    OnlineNetwork line;
    if (!line.online) {
        state.SkipWithError("the network did not come online");
        return;
    }
    TDeviceNetDevice* device = line.network.AddDevice(MacId, 1, 0, 0, 1, QString());
    std::vector<std::unique_ptr<TDevParameterClass>> parameters;
    for (int number = 1; number <= ParameterCount; ++number) {
        parameters.push_back(Parameter(number));
        parameters.back()->SetDevice(device);
    }

    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        for (auto& parameter : parameters) {
            parameter->ReadFromDevice(nullptr, &line.network);
            if (!WaitUntil([&] { return parameter->GetStateColour() != StateColour::Gray; },
                           5000)) {
                state.SkipWithError("a parameter got no reply");
                break;
            }
        }
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        state.counters["ratio"] = clock.nsecsElapsed() / 1e6 / LineAndPauseMs();
    }
    state.counters["line_and_pause_ms"] = LineAndPauseMs();
}
BENCHMARK(HostReadParameters)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void GroupUploadAll(benchmark::State& state)
{
    OnlineNetwork line;
    if (!line.online) {
        state.SkipWithError("the network did not come online");
        return;
    }
    const std::unique_ptr<TDeviceNetDevice> device = HundredParameterDevice(&line.network);
    TParameterGroupTransfer transfer(device.get(), &line.network);
    bool completed = false;
    QObject::connect(&transfer, &TParameterGroupTransfer::finished,
                     [&](bool done) { completed = done; });

    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        transfer.UploadAll(0);
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        if (!completed) {
            state.SkipWithError("the upload did not run through");
            break;
        }
        state.counters["ratio"] = clock.nsecsElapsed() / 1e6 / LineAndPauseMs();
    }
    state.counters["line_and_pause_ms"] = LineAndPauseMs();
}
BENCHMARK(GroupUploadAll)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
