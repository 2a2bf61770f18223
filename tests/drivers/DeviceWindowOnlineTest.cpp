// The device window of an online network, end to end through the real serial driver and the
// simulated adapter: the pages that only exist online, the online state reaching the active
// page, and the offer to write edited values when the window closes.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>

#include "app/ScriptedPrompt.h"
#include "core/EdsNode.h"
#include "core/PtyFrontEnd.h"
#include "drivers/SimulatedSerialLine.h"
#include "device/DeviceNetDevice.h"
#include "device/ParameterFormFixture.h"
#include "device/ui/AdvancedForm.h"
#include "device/ui/ClassInstanceEditorForm.h"
#include "device/ui/DeviceNetDeviceGuiform.h"
#include "device/ui/ParameterForm.h"
#include "network/NetworkFixtures.h"
#include "network/ui/DeviceNetWorkWindow.h"
#include "support/WaitFor.h"

using namespace corvix;
using namespace corvix::sim;
using namespace corvix::test;

namespace {

constexpr int ScannerMac = 0;
constexpr int DriveMac = 5;

SimNode NodeFromEds(const char* edsFile, int macId)
{
    SimNode node;
    node.macId = std::uint8_t(macId);
    FillNodeFromEds(node,
                    ReadEdsSource(QStringLiteral(CORVIX_SOURCE_DIR "/data/eds/") +
                                  QLatin1String(edsFile)),
                    {}, QLatin1String(edsFile));
    return node;
}

class DeviceWindowOnlineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UserPrompt::setCurrent(&prompt);
        simulated.addNode(NodeFromEds("Velmora_DNS100_Scanner.eds", ScannerMac));
        simulated.addNode(NodeFromEds("example_ac_drive.eds", DriveMac));
        pty.emplace(simulated, false);
        // Every request the nodes see, as "service/instance": "10/3" sets parameter 3.
        pty->adapter().log = [this](const QString& line) {
            requests.append(ServiceAndInstance(line));
        };
        auto document = std::make_unique<TDeviceNetWork>(library.path());
        document->AddDevice(ScannerMac, 1313, 12, 100, 1, QString());
        document->AddDevice(DriveMac, 1313, 2, 202, 3, QString());
        networkWindow = std::make_unique<TDeviceNetWorkWindow>(std::move(document));
        TDeviceNetWork& network = networkWindow->Network();
        QObject::connect(&network, &TDeviceNetWork::connectionStateChanged,
                         networkWindow.get(), [&network, this] {
                             networkWindow->onConnectionStateChanged(
                                 network.IsOnline(), int(network.NetworkStatus));
                         });
        networkWindow->show();
        ASSERT_TRUE(GoOnlineThroughSerialDriver(network, *pty));
        requests.clear();
    }
    void TearDown() override
    {
        networkWindow.reset();
        UserPrompt::setCurrent(nullptr);
    }

    TDeviceNetWork& network() const { return networkWindow->Network(); }

    // Opens the device's window and answers the question it asks on entering.
    TDeviceNetDeviceGuiform* open(int macId, PromptButton uploadAnswer)
    {
        prompt.queueButton(uploadAnswer);
        TDeviceNetDeviceGuiform* window = networkWindow->OpenDeviceWindow(macId);
        EXPECT_TRUE(WaitFor([&] { return prompt.texts().contains(UploadQuestion); }));
        return window;
    }

    static QStringList tabCaptions(const TDeviceNetDeviceGuiform& window)
    {
        QStringList captions;
        for (int i = 0; i < window.PageControl().count(); ++i) {
            captions.append(window.PageControl().tabText(i));
        }
        return captions;
    }

    ExampleLibrary library;
    ScriptedPrompt prompt;
    SimNetwork simulated;
    std::optional<PtyFrontEnd> pty;
    std::unique_ptr<TDeviceNetWorkWindow> networkWindow;
    QStringList requests;
};

}  // namespace

TEST_F(DeviceWindowOnlineTest, OnlinePagesAndTheQuestionOnEntering)
{
    TDeviceNetDeviceGuiform* drive = open(DriveMac, PromptButton::No);
    EXPECT_EQ(tabCaptions(*drive), QStringList({"&Parameter", "Advan&ced", "&EDS"}));
    EXPECT_TRUE(requests.isEmpty()) << "No must not upload";
    prompt.queueButton(PromptButton::No);  // nothing to write back
    drive->close();

    TDeviceNetDeviceGuiform* scanner = open(ScannerMac, PromptButton::Yes);
    EXPECT_EQ(tabCaptions(*scanner),
              QStringList({"&Parameter", "&Scanlist", "&Input", "&Output", "&Diagnostics",
                           "Advan&ced", "&EDS"}));
    // Yes reads every parameter of the scanner once.
    const int parameters = scanner->Device()->ParameterCount(0);
    ASSERT_GT(parameters, 0);
    EXPECT_TRUE(WaitFor([&] { return scanner->ParameterPage()->Idle() &&
                                     requests.filter(QRegularExpression("^0E/")).size() == parameters; }))
        << requests.join(u' ').toStdString();
}

TEST_F(DeviceWindowOnlineTest, GoingOfflineReachesTheActivePage)
{
    TDeviceNetDeviceGuiform* drive = open(DriveMac, PromptButton::No);
    drive->PageControl().setCurrentIndex(drive->PageIndex(DevicePage::Advanced));
    QPushButton* send = drive->AdvancedPage()->Editor().controls().Button1;
    EXPECT_TRUE(send->isEnabled());

    network().ReleaseDriver();
    EXPECT_TRUE(WaitFor([&] { return !send->isEnabled(); }));
    // The pages that exist only online stay until the window is opened again.
    EXPECT_NE(drive->PageIndex(DevicePage::Advanced), -1);
    drive->close();  // offline: nothing is asked
    EXPECT_EQ(tabCaptions(*networkWindow->OpenDeviceWindow(DriveMac)),
              QStringList({"&Parameter", "&EDS"}));
}

TEST_F(DeviceWindowOnlineTest, ClosingOffersToWriteEditedValues)
{
    TDeviceNetDeviceGuiform* drive = open(DriveMac, PromptButton::No);
    TDevParameterClass* writable = nullptr;
    for (const auto& parameter : drive->Device()->Parameters()) {
        if (!parameter->IsReadOnly() && !writable) {
            writable = parameter.get();
        }
    }
    ASSERT_NE(writable, nullptr);
    writable->SetFromUserText(writable->EnumStrings().isEmpty() ? QStringLiteral("1")
                                                                : writable->EnumStrings().last());
    QPointer<TDeviceNetDeviceGuiform> window = drive;
    prompt.queueButton(PromptButton::Yes);
    drive->close();
    EXPECT_TRUE(prompt.texts().contains(DownloadQuestion));
    EXPECT_TRUE(prompt.scriptUsedUp());
    // Every writable parameter was written (Set_Attribute_Single, to wherever its path points).
    int writableCount = 0;
    for (const auto& parameter : drive->Device()->Parameters()) {
        writableCount += parameter->IsReadOnly() ? 0 : 1;
    }
    EXPECT_EQ(requests.filter(QRegularExpression("^10/")).size(), writableCount)
        << requests.join(u' ').toStdString();
    EXPECT_TRUE(WaitFor([&] { return window.isNull(); }));
}
