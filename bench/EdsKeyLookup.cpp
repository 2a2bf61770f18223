// Looking up every parameter of a device EDS as the device reader does: for each instance number
// "ProxyParamN=", "ProxiedParamN=", the definition "ParamN=" and its enumeration (the next
// "ParamN=" after the definition), once with plain FindText scans and once through EdsKeyIndex
// (the time to build the index included).

#include "app/EdsValueReaders.h"
#include "app/TextSearch.h"
#include "library/EdsKeyIndex.h"
#include "support/GeneratedEds.h"

#include <benchmark/benchmark.h>

namespace {

using corvix::EdsKeyIndex;

QByteArrayList keys(const char* prefix, int parameters)
{
    QByteArrayList list;
    for (int i = 1; i <= parameters; ++i) {
        list << prefix + QByteArray::number(i) + "=";
    }
    return list;
}

template <typename Lookup>
void readAllParameters(benchmark::State& state, Lookup&& lookup)
{
    const int parameters = int(state.range(0));
    const QByteArray text = corvix::bench::GeneratedDeviceEds(parameters);
    const QByteArrayList proxy = keys("ProxyParam", parameters);
    const QByteArrayList proxied = keys("ProxiedParam", parameters);
    const QByteArrayList param = keys("Param", parameters);
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookup(text, proxy, proxied, param));
    }
    state.counters["bytes"] = double(text.size());
}

void BM_ReadParametersFindText(benchmark::State& state)
{
    readAllParameters(state, [](const QByteArray& text, const QByteArrayList& proxy,
                                const QByteArrayList& proxied, const QByteArrayList& param) {
        int64_t sum = 0;
        const int64_t size = text.size();
        for (qsizetype i = 0; i < param.size(); ++i) {
            sum += corvix::FindText(text, proxy[i], 0, size);
            sum += corvix::FindText(text, proxied[i], 0, size);
            int64_t end = -1;
            sum += corvix::ReadValueFields(text, param[i], 0, size, end).size();
            sum += corvix::ReadValueFields(text, param[i], end, size, end).size();
        }
        return sum;
    });
}

void BM_ReadParametersIndex(benchmark::State& state)
{
    readAllParameters(state, [](const QByteArray& text, const QByteArrayList& proxy,
                                const QByteArrayList& proxied, const QByteArrayList& param) {
        const EdsKeyIndex index(text);
        int64_t sum = 0;
        const int64_t size = text.size();
        for (qsizetype i = 0; i < param.size(); ++i) {
            sum += index.Find(proxy[i], 0, size);
            sum += index.Find(proxied[i], 0, size);
            int64_t end = -1;
            sum += corvix::ReadValueFields(index, param[i], 0, size, end).size();
            sum += corvix::ReadValueFields(index, param[i], end, size, end).size();
        }
        return sum;
    });
}

void BM_BuildIndex(benchmark::State& state)
{
    const QByteArray text = corvix::bench::GeneratedDeviceEds(int(state.range(0)));
    for (auto _ : state) {
        EdsKeyIndex index(text);
        benchmark::DoNotOptimize(index);
    }
}

}  // namespace

BENCHMARK(BM_ReadParametersFindText)->Arg(250)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadParametersIndex)->Arg(250)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildIndex)->Arg(250)->Arg(1000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
