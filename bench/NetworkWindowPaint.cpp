// The windows a user waits for: the library panel filled with 2000 devices (target: under 1 s)
// and the bus view of a full network of 64 devices painted (target: under 50 ms).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTreeView>

#include "library/LibraryFolder.h"
#include "library/ui/LibraryTreeWindow.h"
#include "network/DeviceNetWork.h"
#include "network/ui/BusView.h"
#include "network/ui/DeviceNetWorkWindow.h"

namespace {

constexpr int deviceCount = 2000;

// A library whose index lists deviceCount devices of a few dozen vendors and profiles. Filling
// the tree reads only the index files, so no EDS file is written.
QString makeLibrary(QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("lib/"));
    QDir().mkpath(path);
    QFile index(path + QStringLiteral("Library.inf"));
    if (!index.open(QIODevice::WriteOnly)) {
        return {};
    }
    for (int i = 0; i < deviceCount; ++i) {
        index.write("eds\\" + QByteArray::number(1 + i % 37) + "_" + QByteArray::number(i % 13) +
                    "_" + QByteArray::number(i) + "_1.eds Device " + QByteArray::number(i) +
                    " Rev: 1." + QByteArray::number(i % 9) + "\r\n");
    }
    return path;
}

void FillLibraryPanelOf2000Devices(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = makeLibrary(dir);
    corvix::TLibraryTreeWindow window(nullptr, path);
    window.resize(300, 600);
    window.show();
    for (auto _ : state) {
        window.Refill();
        window.TreeView().expandAll();
        QApplication::processEvents();
    }
}
BENCHMARK(FillLibraryPanelOf2000Devices)->Unit(benchmark::kMillisecond);

void PaintBusViewOf64Devices(benchmark::State& state)
{
    QTemporaryDir dir;
    auto network = std::make_unique<corvix::TDeviceNetWork>(dir.filePath(QStringLiteral("lib/")));
    for (int mac = 0; mac < corvix::TDeviceNetWork::MaxDevices; ++mac) {
        network->AddDevice(mac, 1313, 7, 101, 1,
                           QStringLiteral("Conveyor belt drive number %1").arg(mac));
    }
    corvix::TDeviceNetWorkWindow window(std::move(network));
    // Tall enough that every device is visible, so every one is painted.
    window.resize(1000, 2400);
    window.show();
    QApplication::processEvents();
    QWidget& viewport = *window.BusView().viewport();
    QImage image(viewport.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        viewport.render(&image);
    }
}
BENCHMARK(PaintBusViewOf64Devices)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    corvix::SetLibrarySeedFolder(QStringLiteral(CORVIX_BIN_DIR "/data"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
