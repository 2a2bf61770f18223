// Building a device from the normalised EDS text of a generated device with 250 and 1000
// parameters (an enumeration for every other one, groups of ten), as placing it on a network does.

#include "device/DeviceNetDevice.h"
#include "support/GeneratedEds.h"

#include <benchmark/benchmark.h>

namespace {

void CreateFromEds(benchmark::State& state)
{
    const QByteArray text = corvix::bench::GeneratedDeviceEds(int(state.range(0)));
    for (auto _ : state) {
        auto device = corvix::TDeviceNetDevice::CreateFromEds(nullptr, "bench.eds", text, 1);
        benchmark::DoNotOptimize(device);
        if (device->Parameters().size() != size_t(state.range(0))) {
            state.SkipWithError("not every parameter was read");
        }
    }
}
BENCHMARK(CreateFromEds)->Arg(250)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
