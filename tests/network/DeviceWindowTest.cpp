// The device window as the network window opens it offline: its pages, the device data file
// buttons, help by page and what happens when its device goes away.
#include <QApplication>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QAction>
#include <QKeyEvent>
#include <QTextBrowser>

#include "NetworkFixtures.h"
#include "app/ScriptedPrompt.h"
#include "device/DeviceNetDevice.h"
#include "device/ui/DeviceNetDeviceGuiform.h"
#include "device/ui/EdsForm.h"
#include "network/ui/BusView.h"
#include "network/ui/DeviceNetWorkWindow.h"
#include "support/WaitFor.h"

using namespace corvix;
using namespace corvix::test;

namespace {

constexpr int IoBlockMac = 3;
constexpr int SensorMac = 4;
constexpr int ScannerMac = 0;

class DeviceWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UserPrompt::setCurrent(&prompt);
        auto network = std::make_unique<TDeviceNetWork>(library.path());
        network->AddDevice(IoBlockMac, 1313, 7, 101, 1, QStringLiteral("Belt"));
        network->AddDevice(SensorMac, 1313, 6, 305, 1, QString());
        network->AddDevice(ScannerMac, 1313, 12, 100, 1, QString());
        network->SavedFlag = true;
        networkWindow = std::make_unique<TDeviceNetWorkWindow>(std::move(network));
        networkWindow->show();
    }
    void TearDown() override { UserPrompt::setCurrent(nullptr); }

    TDeviceNetWork& network() const { return networkWindow->Network(); }

    static QStringList tabCaptions(const TDeviceNetDeviceGuiform& window)
    {
        QStringList captions;
        for (int i = 0; i < window.PageControl().count(); ++i) {
            captions.append(window.PageControl().tabText(i));
        }
        return captions;
    }

    // What the window's F1 key runs.
    static void pressF1(QWidget& window)
    {
        for (QAction* action : window.actions()) {
            if (action->shortcut() == QKeySequence(Qt::Key_F1)) {
                action->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no F1 key";
    }

    ExampleLibrary library;
    ScriptedPrompt prompt;
    std::unique_ptr<TDeviceNetWorkWindow> networkWindow;
    QTemporaryDir folder;
};

}  // namespace

TEST_F(DeviceWindowTest, OpensOncePerDeviceWithThePagesItHas)
{
    const struct {
        int macId;
        QStringList captions;
    } cases[] = {
        {IoBlockMac, {"&Parameter", "&EDS"}},
        {SensorMac, {"&EDS"}},  // no parameters, offline: the EDS page alone
        {ScannerMac, {"&Parameter", "&Scanlist", "&Input", "&Output", "&EDS"}},
    };
    for (const auto& c : cases) {
        TDeviceNetDeviceGuiform* window = networkWindow->OpenDeviceWindow(c.macId);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(tabCaptions(*window), c.captions) << c.macId;
        EXPECT_EQ(networkWindow->OpenDeviceWindow(c.macId), window) << "a second window opened";
        const TDeviceNetDevice& device = *network().DeviceAt(c.macId);
        auto* eds = qobject_cast<TEDSForm*>(window->PageControl().widget(window->PageIndex(DevicePage::Eds)));
        ASSERT_NE(eds, nullptr);
        EXPECT_EQ(eds->EdsIdInfo().toPlainText(), device.EdsInfo.join(u'\n'));
        EXPECT_TRUE(eds->EdsIdInfo().isReadOnly());
    }
    EXPECT_EQ(networkWindow->OpenDeviceWindow(IoBlockMac)->windowTitle(),
              QStringLiteral("Node 3 ") + network().DeviceAt(IoBlockMac)->ProductName +
                  QStringLiteral("   Belt"));
    EXPECT_EQ(networkWindow->OpenDeviceWindow(63), nullptr);  // no device there
}

TEST_F(DeviceWindowTest, EnterOpensTheSelectedDevice)
{
    networkWindow->BusView().SelectMacId(SensorMac);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(networkWindow.get(), &enter);
    const auto windows = networkWindow->findChildren<TDeviceNetDeviceGuiform*>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows.first()->Device(), network().DeviceAt(SensorMac));
    EXPECT_TRUE(windows.first()->isVisible());
}

TEST_F(DeviceWindowTest, SavesAndLoadsTheDeviceDataFile)
{
    TDeviceNetDevice& device = *network().DeviceAt(IoBlockMac);
    TDeviceNetDeviceGuiform* window = networkWindow->OpenDeviceWindow(IoBlockMac);
    const QString path = folder.filePath("belt.dev");
    prompt.queueFiles({path});
    window->SaveToFile();
    ASSERT_EQ(prompt.fileRequests().size(), 1);
    EXPECT_EQ(prompt.fileRequests().first().filter, "Saved device data files (*.dev)");
    EXPECT_EQ(prompt.fileRequests().first().defaultSuffix, "dev");
    EXPECT_EQ(prompt.fileRequests().first().fileName, "Belt.dev");
    ASSERT_TRUE(QFile::exists(path));

    network().RenameDevice(IoBlockMac, QStringLiteral("Other"));
    network().SavedFlag = true;
    prompt.queueFiles({path});
    window->LoadFromFile();
    EXPECT_EQ(device.Name, "Belt");
    EXPECT_FALSE(network().IsSaved());
    EXPECT_TRUE(window->windowTitle().endsWith("   Belt"));

    // A file of another kind of device, a damaged file and a cancelled dialog change nothing;
    // the first two say why.
    TDeviceNetDeviceGuiform* sensorWindow = networkWindow->OpenDeviceWindow(SensorMac);
    const QString damaged = folder.filePath("damaged.dev");
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("$Device Begin\r\nnot a number\r\n$Device End\r\n");
    file.close();
    prompt.queueFiles({path});
    prompt.queueFiles({damaged});
    prompt.queueFiles({});
    const qsizetype asked = prompt.questions().size();
    sensorWindow->LoadFromFile();
    sensorWindow->LoadFromFile();
    sensorWindow->LoadFromFile();
    ASSERT_EQ(prompt.questions().size(), asked + 2);
    EXPECT_EQ(prompt.questions()[asked].text,
              "belt.dev holds the data of another kind of device; nothing was loaded.");
    EXPECT_EQ(prompt.questions()[asked + 1].icon, PromptIcon::Error);
    EXPECT_TRUE(network().DeviceAt(SensorMac)->Name.isEmpty());

    prompt.queueFiles({folder.filePath("no/such/folder/x.dev")});
    window->SaveToFile();
    EXPECT_EQ(prompt.questions().last().icon, PromptIcon::Error);
}

TEST_F(DeviceWindowTest, HelpFollowsTheActivePage)
{
    TDeviceNetDeviceGuiform* window = networkWindow->OpenDeviceWindow(ScannerMac);
    const struct {
        DevicePage page;
        const char* topic;
    } cases[] = {{DevicePage::Parameter, "editindeviceproperties.htm"},
                 {DevicePage::InputMapping, "scanlisttableiomapping.htm"},
                 {DevicePage::Eds, "welcometopic.htm"}};
    for (const auto& c : cases) {
        window->PageControl().setCurrentIndex(window->PageIndex(c.page));
        pressF1(*window);
        QTextBrowser* browser = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->isVisible() && top->windowTitle() == "Velmora Corvix Help") {
                browser = top->findChild<QTextBrowser*>();
            }
        }
        ASSERT_NE(browser, nullptr) << c.topic;
        // The test binaries have no help folder beside them: the page names the missing topic.
        EXPECT_TRUE(browser->source().fileName() == QLatin1String(c.topic) ||
                    browser->toPlainText().contains(QLatin1String(c.topic)))
            << c.topic;
        browser->window()->close();
    }
}

TEST_F(DeviceWindowTest, ClosesWhenItsDeviceIsDeleted)
{
    QPointer<TDeviceNetDeviceGuiform> window = networkWindow->OpenDeviceWindow(SensorMac);
    QPointer<TDeviceNetDeviceGuiform> other = networkWindow->OpenDeviceWindow(IoBlockMac);
    network().DeleteDevice(SensorMac);
    EXPECT_TRUE(WaitFor([&] { return window.isNull(); }));
    EXPECT_FALSE(other.isNull());
    EXPECT_TRUE(other->isVisible());
    // Closed by the user, it goes away too, and the next open makes a new window.
    other->close();
    EXPECT_TRUE(WaitFor([&] { return other.isNull(); }));
    EXPECT_NE(networkWindow->OpenDeviceWindow(IoBlockMac), nullptr);
}
