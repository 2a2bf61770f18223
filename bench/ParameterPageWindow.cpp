// The device window of a device with 1000 parameters, online: built with all its pages and
// shown until the parameter page's grid has been painted (target: under 300 ms), then switching between the
// group of all parameters and a group of ten, and scrolling a page down, each with the grid
// painted again (target: well within a frame, 16 ms).
//
// Online here is the network's state alone: opening the page sends nothing, and the question
// it asks on entering is answered No, so no driver is needed for what is measured.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

#include "app/ScriptedPrompt.h"
#include "device/DeviceNetDevice.h"
#include "device/ui/DeviceNetDeviceGuiform.h"
#include "device/ui/ParameterForm.h"
#include "network/DeviceNetWork.h"
#include "support/GeneratedEds.h"

using namespace corvix;

namespace {

constexpr int ParameterCount = 1000;

// Notes that a widget is being painted.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            painted = true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// A network counted as online, the device and the prompt that answers the page's question.
struct Load {
    Load()
    {
        UserPrompt::setCurrent(&prompt);
        network.NetworkStatus = CORVIX_NET_ONLINE;
    }
    ~Load() { UserPrompt::setCurrent(nullptr); }

    QTemporaryDir library;
    TDeviceNetWork network{library.path()};
    std::unique_ptr<TDeviceNetDevice> device = TDeviceNetDevice::CreateFromEds(
        nullptr, QStringLiteral("generated.eds"), bench::GeneratedDeviceEds(ParameterCount), 5);
    ScriptedPrompt prompt;
};

// Opens the device window (all its pages, the parameter page first) and shows it; returns it
// once the grid has been painted (nullptr when that did not happen within a second).
std::unique_ptr<TDeviceNetDeviceGuiform> ShowWindow(Load& load)
{
    load.prompt.queueButton(PromptButton::No);
    auto window = std::make_unique<TDeviceNetDeviceGuiform>(&load.network, load.device.get(),
                                                            QIcon(), nullptr);
    TParameterForm& form = *window->ParameterPage();
    PaintWatch watch;
    form.Grid().viewport()->installEventFilter(&watch);
    window->show();
    const QDeadlineTimer limit(1000);
    while (!watch.painted && !limit.hasExpired()) {
        QApplication::processEvents();
    }
    form.Grid().viewport()->removeEventFilter(&watch);
    return watch.painted ? std::move(window) : nullptr;
}

void OpenDeviceWindowOf1000ParametersOnline(benchmark::State& state)
{
    Load load;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const auto window = ShowWindow(load);
        if (!window) {
            state.SkipWithError("the grid was not painted");
            break;
        }
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        QApplication::processEvents();  // the question on entering
    }
}
BENCHMARK(OpenDeviceWindowOf1000ParametersOnline)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10);

// The steps a user takes on the shown page, each followed by a full repaint of the grid.
void OnThePage(benchmark::State& state, const std::function<void(TParameterForm&, int)>& step)
{
    Load load;
    const auto window = ShowWindow(load);
    if (!window) {
        state.SkipWithError("the grid was not painted");
        return;
    }
    QApplication::processEvents();
    TParameterForm& form = *window->ParameterPage();
    int i = 0;
    for (auto _ : state) {
        step(form, i++);
        form.Grid().viewport()->repaint();
    }
}

void SwitchGroupOf1000ParametersAndBack(benchmark::State& state)
{
    OnThePage(state, [](TParameterForm& form, int i) {
        form.GroupCombo().setCurrentIndex(i % 2 ? 0 : 37);
    });
}
BENCHMARK(SwitchGroupOf1000ParametersAndBack)->Unit(benchmark::kMillisecond);

void ScrollAPageOf1000Parameters(benchmark::State& state)
{
    OnThePage(state, [](TParameterForm& form, int) {
        QScrollBar& bar = *form.Grid().verticalScrollBar();
        bar.setValue(bar.value() >= bar.maximum() ? 0 : bar.value() + bar.pageStep());
    });
}
BENCHMARK(ScrollAPageOf1000Parameters)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
