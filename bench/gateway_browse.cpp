// A browse through the gateway driver against the simulated bridge, next to five single
// request round trips, both with a DeviceNet delay of 2 ms per explicit request. The identity
// reads of all MAC IDs run in parallel, so a browse of ten present nodes should take about as
// long as the five reads of one node.

#include "app/CallbackThunk.h"
#include "app/SharedLibrary.h"
#include "core/EnipFrontEnd.h"

#include <CorvixDriverContract.h>

#include <QCoreApplication>
#include <QEventLoop>

#include <benchmark/benchmark.h>

using namespace corvix;
using namespace corvix::sim;

namespace {

constexpr int PresentNodes = 10;
constexpr int DelayMs = 2;

void Spin(const std::function<bool()>& done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

struct Fixture {
    SimNetwork network;
    std::unique_ptr<EnipFrontEnd> bridge;
    SharedLibrary library{QStringLiteral(CORVIX_BIN_DIR "/Drivers/GatewayDriver") +
                          SharedLibrary::fileMask().mid(1)};
    CorvixNetWorkWhoFn who = library.function<CorvixNetWorkWhoFn>(CORVIX_EXPORT_NETWORK_WHO);
    CorvixNetWorkRequestFn request =
        library.function<CorvixNetWorkRequestFn>(CORVIX_EXPORT_NETWORK_REQUEST);
    CorvixCloseDriverFn close = library.function<CorvixCloseDriverFn>(CORVIX_EXPORT_CLOSE_DRIVER);
    int statuses = 0;
    CallbackThunk<CorvixStatusCallback> status{[this](uint32_t) { ++statuses; }};
    int owner = 0;
    CorvixDriverHandle handle = 0;

    Fixture()
    {
        for (int i = 0; i < PresentNodes; ++i) {
            SimNode node;
            node.macId = std::uint8_t(3 + i * 6);
            node.identity = {1, 12, 100, 1, 1, 0, std::uint32_t(i), QStringLiteral("Node")};
            network.addNode(node);
        }
        network.networkFaults.delayMs = DelayMs;
        bridge = std::make_unique<EnipFrontEnd>(network, BridgeConfig::standard(),
                                                QHostAddress(QStringLiteral("127.0.0.1")), 0);
        const QByteArray settings = "EtherNet/IP,127.0.0.1," + QByteArray::number(bridge->port())
                                    + ",02 00,7000";
        int32_t length = int32_t(settings.size());
        const char* text = settings.constData();
        auto setUp = library.function<CorvixSetUpAndGoOnlineFn>(CORVIX_EXPORT_SET_UP_AND_GO_ONLINE);
        handle = setUp(&owner, status.address(), &length, &text);
        Spin([this] { return statuses > 0; });
    }
    ~Fixture() { close(handle); }
};

void FiveRoundTrips(benchmark::State& state)
{
    Fixture f;
    int replies = 0;
    CallbackThunk<CorvixReplyCallback> reply{
        [&](uint32_t, uint8_t, uint8_t, uint32_t, const uint8_t*) { ++replies; }};
    for (auto _ : state) {
        for (int i = 0; i < 5; ++i) {
            const int before = replies;
            f.request(f.handle, 1, 3, "20 01 24 01 30 01", 0x0E, 0, nullptr, reply.address());
            Spin([&] { return replies > before; });
        }
    }
}
BENCHMARK(FiveRoundTrips)->Unit(benchmark::kMillisecond)->UseRealTime();

void BrowseTenNodes(benchmark::State& state)
{
    Fixture f;
    int records = 0;
    CallbackThunk<CorvixBrowseCallback> browse{[&](int32_t, const uint8_t*) { ++records; }};
    for (auto _ : state) {
        records = 0;
        f.who(f.handle, browse.address());
        Spin([&] { return records == CORVIX_MAC_ID_COUNT; });
    }
}
BENCHMARK(BrowseTenNodes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
