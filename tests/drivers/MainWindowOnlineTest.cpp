// The main window end to end: a new network goes online through the real serial driver on the
// simulated adapter, the browse fills the bus view's document, and the network goes offline.
#include "app/ScriptedPrompt.h"
#include "app/SharedLibrary.h"
#include "app/ui/MainForm.h"
#include "core/PtyFrontEnd.h"
#include "device/DeviceNetDevice.h"
#include "network/DeviceNetWork.h"
#include "network/ui/DeviceNetWorkWindow.h"
#include "support/WaitFor.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace corvix;
using namespace corvix::sim;
using corvix::test::WaitFor;

namespace {

SimNode IdentityOnlyNode(std::uint8_t macId, std::uint16_t productCode)
{
    SimNode node;
    node.macId = macId;
    node.identity = {1313, 0x0007, productCode, 1, 1, 0, 0x2000u + macId, QStringLiteral("Node")};
    return node;
}

}  // namespace

TEST(MainWindowOnline, NewNetworkGoesOnlineBrowsesAndGoesOffline)
{
    ScriptedPrompt prompt;  // answers the "press OK to update network" question with OK
    UserPrompt::setCurrent(&prompt);
    const QString savedCurrent = QDir::currentPath();
    SimNetwork simulated;
    simulated.addNode(IdentityOnlyNode(5, 21));
    simulated.addNode(IdentityOnlyNode(9, 22));
    PtyFrontEnd pty(simulated, false);
    QTemporaryDir appFolder;
    {
        Tcontform form(appFolder.path());
        form.resize(1000, 700);
        form.show();
        form.Startup({});
        form.commands().newNetwork->trigger();
        ASSERT_FALSE(form.NetworkWindows().isEmpty());
        TDeviceNetWork& network = form.NetworkWindows().last()->Network();
        network.ReleasePauseMs = 0;
        network.DriverFile = QStringLiteral(CORVIX_BIN_DIR "/Drivers/SerialAdapterDriver") +
                             SharedLibrary::fileMask().mid(1);
        network.DriverConfig = pty.slavePath() + QStringLiteral(",63,2");

        const QString offlineCaption = form.commands().goOnline->text();
        form.commands().goOnline->trigger();
        ASSERT_TRUE(WaitFor([&] { return network.IsOnline() && network.WhoAnswers == 64; }, 15000))
            << prompt.texts().join(u'|').toStdString();
        ASSERT_TRUE(WaitFor([&] { return network.DeviceAt(5) && network.DeviceAt(9); }));
        EXPECT_TRUE(network.DeviceAt(5)->WithoutEds);  // no library file for these identities
        EXPECT_EQ(network.DeviceAt(7), nullptr);
        EXPECT_NE(form.commands().goOnline->text(), offlineCaption);
        EXPECT_TRUE(form.commands().update->isEnabled());
        EXPECT_EQ(form.NetworkWindows().last()->ConnectionStateText(), "Network Online");

        form.commands().goOnline->trigger();
        ASSERT_TRUE(WaitFor([&] { return !network.IsOnline(); }));
        EXPECT_EQ(form.commands().goOnline->text(), offlineCaption);
        EXPECT_EQ(form.NetworkWindows().last()->ConnectionStateText(), "Network Offline");
        EXPECT_NE(network.DeviceAt(5), nullptr);  // the browsed devices stay in the document
    }
    UserPrompt::setCurrent(nullptr);
    QDir::setCurrent(savedCurrent);
}
