// Rebuilding the index of a library of 2000 installed EDS files (target: well under 3 s), and
// turning that index into the tree.
#include "library/LibraryTreeModel.h"
#include "library/TDeviceNetLib.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int deviceCount = 2000;

// A library folder with deviceCount normalised EDS files of a few dozen vendors and profiles,
// each with a padding of parameter entries so files have a realistic size (~6 KB).
QString makeLibrary(QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("lib/"));
    QDir().mkpath(path + QStringLiteral("eds"));
    QByteArray parameters;
    for (int i = 1; i <= 60; ++i) {
        parameters += "Param" + QByteArray::number(i) +
                      "=0,6,\"20 0F 24 01 30 01\",0x0000,0xC7,2,\"Speed\",\"rpm\",\"\",0,3000,"
                      "100,1,1,1,0,0,0,0,0;\r\n";
    }
    for (int i = 0; i < deviceCount; ++i) {
        const QByteArray vendor = QByteArray::number(1 + i % 37);
        const QByteArray type = QByteArray::number(i % 13);
        const QByteArray code = QByteArray::number(i);
        const QByteArray text = "[File]\r\nDescText=\"bench\";\r\nCreateDate=01-01-2024;\r\n"
                                "[Device]\r\nVendCode=" + vendor + ";\r\nProdType=" + type +
                                ";\r\nProdCode=" + code + ";\r\nMajRev=1;\r\nMinRev=" +
                                QByteArray::number(i % 9) + ";\r\nProdName=\"Device " + code +
                                "\";\r\n[Params]\r\n" + parameters;
        QFile file(path + "eds/" + vendor + "_" + type + "_" + code + "_1.eds");
        if (!file.open(QIODevice::WriteOnly)) {
            return {};
        }
        file.write(text);
    }
    return path;
}

void RebuildLibraryOf2000Files(benchmark::State& state)
{
    QTemporaryDir dir;
    corvix::TDeviceNetLib library(nullptr, nullptr, makeLibrary(dir));
    for (auto _ : state) {
        library.RebuildLibrary();
    }
}
BENCHMARK(RebuildLibraryOf2000Files)->Unit(benchmark::kMillisecond);

void FillTreeOf2000Devices(benchmark::State& state)
{
    QTemporaryDir dir;
    corvix::TDeviceNetLib library(nullptr, nullptr, makeLibrary(dir));
    library.RebuildLibrary();
    corvix::LibraryTreeModel model;
    for (auto _ : state) {
        library.FillLibraryTree(model);
    }
}
BENCHMARK(FillTreeOf2000Devices)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
