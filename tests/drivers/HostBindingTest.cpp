// The network's driver binding, parameter requests and MAC ID changes, end to end through the
// real serial driver library and the simulated adapter on a pseudo-terminal.
#include "app/ScriptedPrompt.h"
#include "app/WindowMessage.h"
#include "core/PtyFrontEnd.h"
#include "drivers/SimulatedSerialLine.h"
#include "device/DevParameterClass.h"
#include "device/DeviceNetDevice.h"
#include "network/DeviceNetWork.h"
#include "support/WaitFor.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace corvix;
using namespace corvix::sim;
using corvix::test::SerialDriverFile;
using corvix::test::WaitFor;

namespace {


SimNode Node(std::uint8_t macId, std::uint16_t vendor, std::uint16_t product)
{
    SimNode node;
    node.macId = macId;
    node.identity = {vendor, 0x0002, product, 2, 3, 0, 0x1000u + macId, QStringLiteral("N")};
    SimParameter speed;
    speed.instance = 1;
    speed.name = QStringLiteral("Speed");
    speed.dataType = 0xC7;
    speed.dataSize = 2;
    speed.value = QByteArray("\x0A\x00", 2);
    node.parameters.parameters = {speed};
    return node;
}

// Records the messages a parameter posts to the window that asked.
class NotifyWindow : public QObject {
public:
    QList<int> messages;
    bool event(QEvent* event) override
    {
        if (const WindowMessage* message = AsWindowMessage(event)) {
            messages.append(message->id());
            return true;
        }
        return QObject::event(event);
    }
};

class HostBindingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UserPrompt::setCurrent(&prompt);
        simulated.addNode(Node(5, 1, 0x11));
        simulated.addNode(Node(12, 0x123, 0x456));
        pty.emplace(simulated, false);
        network.ReleasePauseMs = 0;
        network.DriverFile = SerialDriverFile();
        network.DriverConfig = pty->slavePath() + QStringLiteral(",63,2");
    }
    void TearDown() override
    {
        network.ReleaseDriver();
        UserPrompt::setCurrent(nullptr);
        TDevParameterClass::RequestTimeLimitMs = 10000;
    }
    // Goes online; the confirmation is answered with OK, so the browse runs to its end.
    void goOnlineAndBrowse()
    {
        network.GoOnline([](const QList<DriverListEntry>&) { return 0; });
        ASSERT_NE(network.DriverHandle, 0u);
        ASSERT_TRUE(WaitFor([&] { return network.IsOnline() && network.WhoAnswers == 64; }));
        ASSERT_NE(network.DeviceAt(5), nullptr);
    }
    std::unique_ptr<TDevParameterClass> speedParameter()
    {
        const QByteArrayList fields = {"0",     "",    "", "0x0000", "0xC7", "2",
                                       "Speed", "rpm", "", "0",      "1000", "1"};
        auto parameter = std::make_unique<TDevParameterClass>(fields, QByteArrayList(), 1);
        parameter->SetDevice(network.DeviceAt(5));
        return parameter;
    }
    bool waitForReply(const TDevParameterClass& parameter)
    {
        return WaitFor([&] { return parameter.GetStateColour() != StateColour::Gray; });
    }

    ScriptedPrompt prompt;
    SimNetwork simulated;
    std::optional<PtyFrontEnd> pty;
    TDeviceNetWork network;
    NotifyWindow window;
};

TEST_F(HostBindingTest, GoingOnlineBrowsesAndMatchesTheDocument)
{
    // Already placed: the node at 5 as it is, another product at 12, nothing at 7.
    network.AddDevice(5, 1, 2, 0x11, 2, QString());
    network.AddDevice(12, 0x123, 2, 0x999, 2, QString());
    network.AddDevice(7, 1, 2, 0x11, 2, QString());
    QStringList panel0;
    QList<int> positions;
    QObject::connect(&network, &TDeviceNetWork::statusPanelChanged,
                     [&](int panel, const QString& text) {
                         if (panel == 0) panel0.append(text);
                     });
    QObject::connect(&network, &TDeviceNetWork::progressChanged,
                     [&](const QString&, int, int position) { positions.append(position); });

    goOnlineAndBrowse();

    EXPECT_EQ(network.DriverConfig, pty->slavePath() + QStringLiteral(",63,2"));
    EXPECT_EQ(panel0, QStringList{QStringLiteral("Network Online")});
    EXPECT_TRUE(prompt.texts().contains(
        QStringLiteral("Network connection established, press OK to update network!")));
    EXPECT_FALSE(network.Browsing);
    EXPECT_EQ(positions.first(), 1);
    EXPECT_EQ(positions.contains(63), true);
    EXPECT_EQ(positions.last(), 0);  // hidden with the 64th answer
    EXPECT_FALSE(network.DeviceAt(5)->NotResponding);
    EXPECT_TRUE(network.DeviceAt(12)->NotResponding);
    EXPECT_TRUE(network.DeviceAt(7)->NotResponding);
    EXPECT_EQ(network.Devices().size(), 3u);

    // Going offline: the missing marks go, the driver is unloaded and the status says so.
    network.ReleaseDriver();
    ASSERT_TRUE(WaitFor([&] { return network.NetworkStatus == CORVIX_NET_OFFLINE; }));
    EXPECT_EQ(network.DriverModule(), nullptr);
    EXPECT_EQ(network.DriverHandle, 0u);
    EXPECT_FALSE(network.DeviceAt(7)->NotResponding);
    EXPECT_EQ(panel0.last(), QStringLiteral("Network Offline"));
}

TEST_F(HostBindingTest, BrowseAddsNodesToAnEmptyDocument)
{
    goOnlineAndBrowse();
    ASSERT_NE(network.DeviceAt(12), nullptr);
    EXPECT_EQ(network.DeviceAt(12)->VendorCode, 0x123);
    EXPECT_EQ(network.DeviceAt(12)->ProductCode, 0x456);
    EXPECT_EQ(network.DeviceAt(12)->MajorRevision, 2);
    EXPECT_EQ(network.Devices().size(), 2u);
}

TEST_F(HostBindingTest, ParameterReadAndWriteOutcomes)
{
    goOnlineAndBrowse();
    struct Case {
        const char* name;
        bool write;
        std::optional<std::uint8_t> errorStatus;
        std::optional<PromptButton> answer;
        bool suppress;
        StateColour colour;
        RequestResult result;
        bool deviceResponding;
        const char* question;  // empty: none asked
    };
    const Case cases[] = {
        {"read", false, {}, {}, false, StateColour::Navy, RequestResult::Done, true, ""},
        {"write", true, {}, {}, false, StateColour::Navy, RequestResult::Done, true, ""},
        {"read error, retry", false, 0x14, PromptButton::Retry, false, StateColour::Navy,
         RequestResult::Retry, true, "Error reading parameter: 1\r\nAttribute not supported"},
        {"read error, ignore", false, 0x14, PromptButton::Ignore, false, StateColour::Red,
         RequestResult::Ignore, true, "Error reading parameter: 1\r\nAttribute not supported"},
        {"read error, ignore all", false, 0x14, PromptButton::IgnoreAll, false, StateColour::Red,
         RequestResult::IgnoreAll, true, "Error reading parameter: 1\r\nAttribute not supported"},
        {"read error, cancel", false, 0x14, PromptButton::Cancel, false, StateColour::Red,
         RequestResult::Stop, true, "Error reading parameter: 1\r\nAttribute not supported"},
        {"read error, suppressed",
         false,
         0x14,
         {},
         true,
         StateColour::Red,
         RequestResult::Done,
         true,
         ""},
        {"write error, cancel", true, 0x0E, PromptButton::Cancel, false, StateColour::Red,
         RequestResult::Stop, false, "Error during write of parameter: 1\r\n"},
        {"write error, ignore", true, 0x0E, PromptButton::Ignore, false, StateColour::Red,
         RequestResult::Ignore, true, "Error during write of parameter: 1\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        simulated.networkFaults.errorStatus = c.errorStatus;
        network.DeviceAt(5)->SetNotResponding(true);  // shows which outcomes clear it
        ScriptedPrompt local;
        UserPrompt::setCurrent(&local);
        if (c.answer) local.queueButton(*c.answer);
        auto parameter = speedParameter();
        parameter->SetSuppressErrorDialog(c.suppress);
        if (c.write) {
            parameter->SetFromUserText(QStringLiteral("300"));
            parameter->WriteToDevice(&window, &network);
        } else {
            parameter->ReadFromDevice(&window, &network);
        }
        ASSERT_TRUE(waitForReply(*parameter));
        EXPECT_EQ(parameter->GetStateColour(), c.colour);
        EXPECT_EQ(parameter->GetRequestResult(), c.result);
        EXPECT_EQ(network.DeviceAt(5)->NotResponding, !c.deviceResponding);
        if (*c.question) {
            ASSERT_EQ(local.texts().size(), 1);
            EXPECT_TRUE(local.texts().first().startsWith(QString::fromLatin1(c.question)))
                << local.texts().first().toStdString();
        } else {
            EXPECT_TRUE(local.texts().isEmpty());
        }
        EXPECT_FALSE(parameter->SuppressErrorDialog() && !c.suppress);
        UserPrompt::setCurrent(&prompt);
    }
    // The value read and the value written travel as the device keeps them.
    simulated.networkFaults.errorStatus.reset();
    auto parameter = speedParameter();
    parameter->ReadFromDevice(&window, &network);
    ASSERT_TRUE(waitForReply(*parameter));
    EXPECT_EQ(parameter->GetDisplayValue(), QStringLiteral("300"));
    EXPECT_TRUE(parameter->Synchronized());
    EXPECT_FALSE(parameter->Saved());
    QCoreApplication::processEvents();
    EXPECT_EQ(window.messages.mid(window.messages.size() - 2),
              (QList<int>{ParameterRequestSentMessage, ParameterReplyHandledMessage}));
}

TEST_F(HostBindingTest, UnansweredRequestsKeepTheParameterBusyOnlyForAWhile)
{
    goOnlineAndBrowse();
    auto parameter = speedParameter();
    simulated.networkFaults.dropReplies = true;
    parameter->ReadFromDevice(&window, &network);
    EXPECT_EQ(parameter->GetStateColour(), StateColour::Gray);
    EXPECT_TRUE(parameter->RequestUnderWay());
    QCoreApplication::processEvents();
    const int sent = int(window.messages.count(ParameterRequestSentMessage));
    parameter->ReadFromDevice(&window, &network);  // still under way: nothing is sent
    QCoreApplication::processEvents();
    EXPECT_EQ(window.messages.count(ParameterRequestSentMessage), sent);

    // A request that never comes back does not lock the parameter for good.
    TDevParameterClass::RequestTimeLimitMs = 0;
    simulated.networkFaults.dropReplies = false;
    parameter->ReadFromDevice(&window, &network);
    ASSERT_TRUE(waitForReply(*parameter));
    EXPECT_EQ(parameter->GetStateColour(), StateColour::Navy);
}

TEST_F(HostBindingTest, RequestToAnAbsentNodeMarksItNotResponding)
{
    goOnlineAndBrowse();
    network.AddDevice(30, 1, 2, 0x11, 2, QString());  // placed, but nothing answers at 30
    auto parameter = speedParameter();
    parameter->SetDevice(network.DeviceAt(30));
    parameter->ReadFromDevice(&window, &network);
    ASSERT_TRUE(WaitFor([&] { return parameter->GetStateColour() != StateColour::Gray; }, 8000));
    EXPECT_EQ(parameter->GetStateColour(), StateColour::Red);
    EXPECT_EQ(parameter->GetRequestResult(), RequestResult::Stop);
    EXPECT_TRUE(network.DeviceAt(30)->NotResponding);
}

TEST_F(HostBindingTest, MacIdChangeOnline)
{
    goOnlineAndBrowse();
    TDeviceNetDevice* device = network.DeviceAt(5);

    // Refused before anything is sent: another device's address, and one outside 0..63.
    device->ChangeMacId(&window, 12);
    device->ChangeMacId(&window, 64);
    WaitFor([] { return false; }, 300);  // a reply would have come by now
    EXPECT_EQ(device->MacId, 5);
    EXPECT_NE(simulated.node(5), nullptr);

    device->ChangeMacId(&window, 9);
    ASSERT_TRUE(WaitFor([&] { return device->MacId == 9; }));
    EXPECT_EQ(network.DeviceAt(9), device);
    EXPECT_EQ(network.DeviceAt(5), nullptr);
    EXPECT_NE(simulated.node(9), nullptr);

    simulated.networkFaults.errorStatus = 0x09;
    device->ChangeMacId(&window, 20);
    ASSERT_TRUE(WaitFor([&] { return !prompt.texts().filter("MAC-ID").isEmpty(); }));
    EXPECT_EQ(
        prompt.texts().filter("MAC-ID").first().toStdString(),
        "Error setting new MAC-ID :  Invalid attribute value: Invalid attribute data detected");
    EXPECT_EQ(device->MacId, 9);
}

TEST_F(HostBindingTest, SilentAdapterTakesTheNetworkOffline)
{
    goOnlineAndBrowse();
    simulated.silentAdapter = true;
    ASSERT_TRUE(WaitFor([&] { return network.NetworkStatus == CORVIX_NET_OFFLINE; }, 10000));
    EXPECT_TRUE(prompt.texts().contains(
        QStringLiteral("Connection to interface timed out, check cable and power!")));
    EXPECT_EQ(network.DriverModule(), nullptr);
    EXPECT_EQ(network.DriverFile, SerialDriverFile());  // kept for going online again
}

TEST_F(HostBindingTest, DriverListOffersTheSerialDriver)
{
    const QList<DriverListEntry> drivers = ListDrivers(QStringLiteral(CORVIX_BIN_DIR "/Drivers"));
    const auto serial = std::find_if(drivers.begin(), drivers.end(), [](const auto& entry) {
        return entry.file.endsWith(SerialDriverFile().mid(SerialDriverFile().lastIndexOf(u'/')));
    });
    ASSERT_NE(serial, drivers.end());
    EXPECT_EQ(serial->caption,
              QStringLiteral("Velmora Corvix DeviceNet RS232 Interface - Ver:1.5"));
    EXPECT_TRUE(serial->hint().startsWith(QStringLiteral("Select this driver")));
}

}  // namespace
