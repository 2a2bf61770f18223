// Opening and saving a full network: 64 devices whose EDS files have 500 parameters each, two of
// them scanners. The data is generated here.
#include "device/DeviceNetDevice.h"
#include "library/EdsNormaliser.h"
#include "network/DeviceNetWork.h"
#include "network/FileLines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QByteArray DeviceEds(int productCode)
{
    QByteArray eds = "[File]\nDescText=\"bench\";\n[Device]\nVendCode=1313;\nProdType=7;\n"
                     "ProdCode=" + QByteArray::number(productCode) +
                     ";\nMajRev=1;\nMinRev=1;\nProdName=\"Bench device\";\n[ParamClass]\n"
                     "MaxInst=500;\nDescriptor=0x0E;\n[Params]\n";
    for (int i = 1; i <= 500; ++i) {
        eds += "Param" + QByteArray::number(i) + "=0,6,\"20 0F 24 " +
               QByteArray::number(i % 256, 16).rightJustified(2, '0').toUpper() +
               " 30 01\",0x0000,0xC7,2,\"Parameter " + QByteArray::number(i) +
               "\",\"\",\"\",0,1000,5,1,1,1,0,0,0,0,0;\n";
    }
    return eds;
}

struct BenchNetwork {
    QTemporaryDir folder;
    QString path;
    BenchNetwork()
    {
        QDir(folder.path()).mkpath(QStringLiteral("eds"));
        auto store = [&](const QString& key, const QByteArray& text) {
            QFile file(folder.filePath(QStringLiteral("eds/") + key + QStringLiteral(".eds")));
            file.open(QIODevice::WriteOnly);
            file.write(corvix::NormaliseEdsText(text));
        };
        for (int code = 1; code <= 62; ++code) {
            store(QStringLiteral("1313_7_%1_1").arg(code), DeviceEds(code));
        }
        for (const char* name : {"Velmora_DNS100_Scanner.eds", "Velmora_DNS200_Scanner.eds"}) {
            QFile in(QFileInfo(QStringLiteral(__FILE__)).absolutePath() +
                     QStringLiteral("/../data/eds/") + QLatin1String(name));
            in.open(QIODevice::ReadOnly);
            store(QLatin1String(name).contains(QLatin1String("100")) ? "1313_12_100_1"
                                                                     : "1313_12_200_2",
                  in.readAll());
        }
        corvix::TDeviceNetWork network(folder.path());
        network.AddDevice(0, 1313, 12, 100, 1, QString());
        network.AddDevice(1, 1313, 12, 200, 2, QString());
        for (int code = 1; code <= 62; ++code) {
            network.AddDevice(code + 1, 1313, 7, code, 1, QString());
        }
        path = folder.filePath(QStringLiteral("bench.net"));
        corvix::WriteLinesToFile(path, network.SaveToLines());
    }
};

BenchNetwork& Network()
{
    static BenchNetwork network;
    return network;
}

void OpenNetwork(benchmark::State& state)
{
    for (auto _ : state) {
        corvix::TDeviceNetWork network(Network().folder.path());
        if (!network.LoadFromFile(Network().path) || network.Devices().size() != 64 ||
            network.Devices().back()->Parameters().size() != 500 ||
            !network.Devices().front()->ScannerConfig) {
            state.SkipWithError("network did not load");
        }
    }
}
BENCHMARK(OpenNetwork)->Unit(benchmark::kMillisecond);

void SaveNetwork(benchmark::State& state)
{
    corvix::TDeviceNetWork network(Network().folder.path());
    network.LoadFromFile(Network().path);
    const QString path = Network().folder.filePath(QStringLiteral("saved.net"));
    for (auto _ : state) {
        corvix::WriteLinesToFile(path, network.SaveToLines());
    }
}
BENCHMARK(SaveNetwork)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
