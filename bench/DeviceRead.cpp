// Building a device from the normalised EDS text of a generated device with 250 and 1000
// parameters (an enumeration for every other one, groups of ten), as placing it on a network does.

#include "device/DeviceNetDevice.h"
#include "library/EdsNormaliser.h"

#include <benchmark/benchmark.h>

namespace {

QByteArray deviceText(int parameters)
{
    QByteArray raw = "[File]\nDescText = \"Generated device\";\n[Device]\nVendCode = 1313;\n"
                     "ProdType = 2; ProdCode = 9; MajRev = 1; ProdName = \"Generated\";\n"
                     "[IO_Info]\nDefault = 1;\nPollInfo = 1, 1, 1;\nInput1 = 4, 0;\n"
                     "Output1 = 2, 0;\n[ParamClass]\nMaxInst = " +
                     QByteArray::number(parameters) + ";\nDescriptor = 0x0003;\n[Params]\n";
    for (int i = 1; i <= parameters; ++i) {
        const QByteArray n = QByteArray::number(i);
        raw += "    Param" + n + " =\n        0, 6, \"20 0F 24 01 30 01\", 0x0004, 0xC7, 2,\n" +
               "        \"Parameter " + n + "\", \"rpm\", \"Help text, with a comma\",\n" +
               "        0, 3, 1, 1, 10, 1, 0, , , , , 1;  $ comment\n";
    }
    raw += "[EnumPar]\n";
    for (int i = 1; i <= parameters; i += 2) {
        raw += "    Param" + QByteArray::number(i) + " = \"Off\", \"Slow\", \"Fast\", \"Max\";\n";
    }
    raw += "[Groups]\n";
    for (int g = 0; g < parameters / 10; ++g) {
        raw += "    Group" + QByteArray::number(g + 1) + " = \"Group\", 10";
        for (int i = 1; i <= 10; ++i) {
            raw += ", " + QByteArray::number(g * 10 + i);
        }
        raw += ";\n";
    }
    return corvix::NormaliseEdsText(raw);
}

void CreateFromEds(benchmark::State& state)
{
    const QByteArray text = deviceText(int(state.range(0)));
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
