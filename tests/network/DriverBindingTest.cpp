// The network's driver binding without a network behind it: the driver list, binding failures
// and the handling of every status a driver reports.
#include "app/ScriptedPrompt.h"
#include "app/SharedLibrary.h"
#include "device/DeviceNetDevice.h"
#include "network/DeviceNetWork.h"
#include "support/WaitFor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace corvix;
using corvix::test::WaitFor;

namespace {

const QString TestDriverFolder = QStringLiteral(CORVIX_TEST_DRIVER_DIR);

class DriverBindingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UserPrompt::setCurrent(&prompt);
        network.ReleasePauseMs = 0;
        QObject::connect(&network, &TDeviceNetWork::statusPanelChanged,
                         [this](int panel, const QString& text) {
                             if (panel == 0) panel0.append(text);
                         });
        QObject::connect(&network, &TDeviceNetWork::connectionStateChanged,
                         [this] { ++connectionChanges; });
    }
    void TearDown() override { UserPrompt::setCurrent(nullptr); }

    ScriptedPrompt prompt;
    TDeviceNetWork network;
    QStringList panel0;
    int connectionChanges = 0;
};

TEST_F(DriverBindingTest, EveryStatusAsTheNetworkShowsIt)
{
    const QString busOff = QStringLiteral("Master Online - Bus off error!");
    const QString timedOut =
        QStringLiteral("Connection to interface timed out, check cable and power!");
    struct Case {
        uint32_t status;
        QStringList panel;
        QStringList questions;  // without a driver, a browse after OK finds no library
        bool online;
        int connectionChanges;
    };
    const Case cases[] = {
        {4,
         {QStringLiteral("Network Online")},
         {QStringLiteral("Network connection established, press OK to update network!"),
          QStringLiteral("DLL not found...")},
         true,
         1},
        {8, {busOff}, {QStringLiteral("Bus off error!")}, false, 1},
        {16,
         {QStringLiteral("Master Online - Duplicate MAC-ID failure!")},
         {QStringLiteral("Duplicate MAC-ID failure!")},
         false,
         1},
        {32, {QStringLiteral("Network Offline")}, {}, false, 1},
        {64,
         {QStringLiteral("Master Online - No network power!")},
         {QStringLiteral("No network power!"), QStringLiteral("DLL not found...")},
         true,
         1},
        {256,
         {QStringLiteral("Master Online - Unknown network error!")},
         {QStringLiteral("Unknown network error!")},
         false,
         1},
        {512, {timedOut}, {timedOut}, false, 1},
        {1285, {}, {}, false, 1},
        {7, {}, {}, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        ScriptedPrompt local;
        UserPrompt::setCurrent(&local);
        TDeviceNetWork fresh;
        fresh.ReleasePauseMs = 0;
        fresh.DriverFile = QStringLiteral("/x/driver.so");
        fresh.DriverConfig = QStringLiteral("COM1,63,2");
        QStringList panel;
        int changes = 0;
        QObject::connect(&fresh, &TDeviceNetWork::statusPanelChanged,
                         [&](int index, const QString& text) {
                             if (index == 0) panel.append(text);
                         });
        QObject::connect(&fresh, &TDeviceNetWork::connectionStateChanged, [&] { ++changes; });
        fresh.HandleNetworkStatus(c.status);
        EXPECT_EQ(panel, c.panel);
        EXPECT_EQ(local.texts(), c.questions);
        EXPECT_EQ(fresh.IsOnline(), c.online);
        EXPECT_EQ(changes, c.connectionChanges);
        EXPECT_EQ(fresh.DriverFile.isEmpty(), c.status == 1285);
        EXPECT_EQ(fresh.DriverConfig.isEmpty(), c.status == 1285);

        // The same status again shows and changes nothing.
        fresh.HandleNetworkStatus(c.status);
        EXPECT_EQ(panel, c.panel);
        EXPECT_EQ(local.texts(), c.questions);
        EXPECT_EQ(changes, c.connectionChanges);
    }
}

TEST_F(DriverBindingTest, StatusMessagesArriveThroughTheEventLoopAndClearMissingMarks)
{
    network.AddDevice(3, 1, 2, 3, 1, QString());
    network.DeviceAt(3)->SetNotResponding(true);
    PostNetworkStatus(&network, 0x10000u | CORVIX_NET_OFFLINE);  // only the low 16 bits count
    ASSERT_TRUE(WaitFor([&] { return network.NetworkStatus == CORVIX_NET_OFFLINE; }));
    EXPECT_FALSE(network.DeviceAt(3)->NotResponding);
}

TEST_F(DriverBindingTest, DriverListKeepsOnlyDrivers)
{
    QTemporaryDir folder;
    QDir(folder.path()).mkdir(QStringLiteral("sub"));
    const QString driver =
        folder.filePath(QStringLiteral("sub/a") + SharedLibrary::fileMask().mid(1));
    ASSERT_TRUE(QFile::copy(
        TestDriverFolder + QStringLiteral("/ScriptedTestDriver") + SharedLibrary::fileMask().mid(1),
        driver));
    QFile garbage(folder.filePath(QStringLiteral("broken") + SharedLibrary::fileMask().mid(1)));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a library");
    garbage.close();
    QFile icon(folder.filePath(QStringLiteral("sub/a.png")));
    ASSERT_TRUE(icon.open(QIODevice::WriteOnly));
    icon.close();

    const QList<DriverListEntry> drivers = ListDrivers(folder.path());
    ASSERT_EQ(drivers.size(), 1);
    EXPECT_EQ(drivers[0].file, driver);
    EXPECT_FALSE(drivers[0].caption.isEmpty());
    EXPECT_EQ(drivers[0].iconFile, folder.filePath(QStringLiteral("sub/a.png")));

    // Choosing it: the driver is bound and asked to set up without settings.
    network.DriverFolder = folder.path();
    network.ConfigureDriver([](const QList<DriverListEntry>& offered) { return offered.size(); });
    EXPECT_EQ(network.DriverFile, driver);
    ASSERT_NE(network.DriverModule(), nullptr);
    EXPECT_TRUE(network.DriverConfig.isEmpty());
    EXPECT_TRUE(prompt.texts().isEmpty());

    // Cancel, or an answer outside the list, changes nothing.
    for (int answer : {0, -1, 2}) {
        network.ConfigureDriver([answer](const QList<DriverListEntry>&) { return answer; });
        EXPECT_EQ(network.DriverFile, driver);
        EXPECT_NE(network.DriverModule(), nullptr);
    }

    // A library that does not load.
    network.DriverFile = garbage.fileName();
    network.GoOnline([](const QList<DriverListEntry>&) { return 0; });
    EXPECT_EQ(prompt.texts(),
              QStringList{QStringLiteral("The driver was prevented from loaded due to errors")});
    EXPECT_EQ(network.DriverModule(), nullptr);
    EXPECT_EQ(network.DriverFile, garbage.fileName());

    // A driver file that is gone opens the driver choice instead.
    network.DriverFile = folder.filePath(QStringLiteral("gone.so"));
    bool asked = false;
    network.GoOnline([&](const QList<DriverListEntry>&) {
        asked = true;
        return 0;
    });
    EXPECT_TRUE(asked);
}

TEST_F(DriverBindingTest, ScriptedDriverGoesOnlineWithItsSettingsAndBrowses)
{
    network.DriverFile =
        TestDriverFolder + QStringLiteral("/ScriptedTestDriver") + SharedLibrary::fileMask().mid(1);
    network.DriverConfig = QStringLiteral("node|1|1|12|34|2|3|0x99\nnode|5|1|12|34|2|3|0x98\n");
    bool finished = false;
    QObject::connect(&network, &TDeviceNetWork::browseFinished, [&] { finished = true; });
    network.GoOnline([](const QList<DriverListEntry>&) { return 0; });
    ASSERT_TRUE(WaitFor([&] { return finished; }));
    EXPECT_EQ(network.WhoAnswers, 64);
    EXPECT_NE(network.DeviceAt(1), nullptr);
    EXPECT_NE(network.DeviceAt(5), nullptr);
    EXPECT_EQ(network.Devices().size(), 2u);
    EXPECT_FALSE(network.DriverConfig.isEmpty());
    EXPECT_EQ(panel0, QStringList{QStringLiteral("Network Online")});
}

}  // namespace
