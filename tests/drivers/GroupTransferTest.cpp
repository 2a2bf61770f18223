// Upload all and download all of a device's parameters, end to end through the real serial
// driver library and the simulated adapter on a pseudo-terminal.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "app/ScriptedPrompt.h"
#include "core/PtyFrontEnd.h"
#include "drivers/SimulatedSerialLine.h"
#include "device/DeviceFixtures.h"
#include "device/ParameterGroupTransfer.h"
#include "network/DeviceNetWork.h"
#include "support/WaitFor.h"

using namespace corvix;
using namespace corvix::sim;
using corvix::test::ParamEntry;
using corvix::test::OnlineThroughSerialDriverTest;
using corvix::test::WaitFor;

namespace {

const QString NotAvailable =
    QStringLiteral("The requested module was not available on the network");

// Three USINT parameters 0..10 on the node; the second is read-only.
SimNode Node()
{
    SimNode node;
    node.macId = 5;
    node.identity = {1, 0x0002, 0x11, 2, 3, 0, 0x1005u, QStringLiteral("N")};
    for (std::uint16_t instance = 1; instance <= 3; ++instance) {
        SimParameter parameter;
        parameter.instance = instance;
        parameter.name = QStringLiteral("P%1").arg(instance);
        parameter.dataType = 0xC6;
        parameter.dataSize = 1;
        parameter.value = QByteArray(1, char(3 + instance));
        parameter.minimum = QByteArray(1, 0);
        parameter.maximum = QByteArray(1, 10);
        parameter.readOnly = instance == 2;
        node.parameters.parameters.append(parameter);
    }
    return node;
}

class GroupTransferTest : public OnlineThroughSerialDriverTest {
protected:
    QList<SimNode> Nodes() const override { return {Node()}; }
    void TearDown() override
    {
        OnlineThroughSerialDriverTest::TearDown();
        TParameterGroupTransfer::ReplyTimeLimitMs = 10000;
        TParameterGroupTransfer::PollMs = 10;
        TDevParameterClass::RequestTimeLimitMs = 10000;
    }
    // Records what a transfer reports.
    void watch(TParameterGroupTransfer& transfer)
    {
        QObject::connect(&transfer, &TParameterGroupTransfer::progressChanged,
                         [this](const QString& text, int, int) { progress.append(text); });
        QObject::connect(&transfer, &TParameterGroupTransfer::finished,
                         [this](bool completed) { finished.append(completed); });
    }

    // The device as its EDS file describes the node; group 1 holds only the read-only parameter.
    // Devices live as long as the fixture: a stopped run leaves its last request with the
    // driver, and the reply must find its parameter.
    TDeviceNetDevice* Device(const char* classDescriptor, int macId = 5)
    {
        devices.push_back(corvix::test::DeviceFromRaw(
            QByteArray("[ParamClass] MaxInst = 3; Descriptor = ") + classDescriptor +
                ";\n[Params]\n" + ParamEntry(1) + ParamEntry(2, "0x0010") + ParamEntry(3) +
                "[Groups] Group1 = \"Fixed\", 1, 2;\n",
            macId));
        return devices.back().get();
    }

    std::vector<std::unique_ptr<TDeviceNetDevice>> devices;
    QStringList progress;
    QList<bool> finished;
};

TEST_F(GroupTransferTest, UploadAllReadsEveryParameterInTurn)
{
    TDeviceNetDevice* device = Device("0");
    TParameterGroupTransfer transfer(device, &network);
    watch(transfer);
    transfer.UploadAll(0);

    EXPECT_EQ(requests, (QStringList{"0E/1", "0E/2", "0E/3"}));
    EXPECT_EQ(progress,
              (QStringList{"Processing parameter request 1/3", "Processing parameter request 2/3",
                           "Processing parameter request 3/3"}));
    EXPECT_EQ(finished, QList<bool>{true});
    for (int i = 0; i < 3; ++i) {
        const TDevParameterClass* parameter = device->ParameterAt(0, i);
        EXPECT_EQ(parameter->DataType().Value(), QString::number(4 + i));
        EXPECT_TRUE(parameter->Synchronized());
    }
    EXPECT_TRUE(asked.texts().isEmpty());
}

TEST_F(GroupTransferTest, DownloadAllSkipsReadOnlyAndSavesWhenAsked)
{
    struct Case {
        const char* name;
        const char* classDescriptor;
        int group;
        QStringList requests;
    } const cases[] = {
        {"no save asked", "0x0003", 0, {"10/1", "10/3"}},
        {"save asked", "0x0004", 0, {"10/1", "10/3", "16/0"}},
        {"nothing writable, save asked", "0x0004", 1, {"16/0"}},
        {"nothing writable, no save", "0", 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        requests.clear();
        finished.clear();
        TDeviceNetDevice* device = Device(c.classDescriptor);
        device->ParameterAt(0, 0)->SetFromUserText(QStringLiteral("7"));
        device->ParameterAt(0, 2)->SetFromUserText(QStringLiteral("9"));
        TParameterGroupTransfer transfer(device, &network);
        watch(transfer);
        transfer.DownloadAll(c.group);
        EXPECT_EQ(finished, QList<bool>{true});
        // The save request's reply is not waited for.
        WaitFor([&] { return requests.size() >= c.requests.size(); }, 2000);
        EXPECT_EQ(requests, c.requests);
        if (c.group == 0) {
            EXPECT_EQ(simulated.node(5)->parameters.find(1)->value, QByteArray(1, 7));
            EXPECT_EQ(simulated.node(5)->parameters.find(3)->value, QByteArray(1, 9));
        }
    }
}

TEST_F(GroupTransferTest, SaveAnswerArrivingAfterThePageClosedIsHarmless)
{
    TDeviceNetDevice* device = Device("0x0004");
    {
        TParameterGroupTransfer transfer(device, &network);
        transfer.DownloadOne(device->ParameterAt(0, 0));
        ASSERT_TRUE(WaitFor([&] { return requests.contains(QStringLiteral("16/0")); }));
    }
    // The driver answers requests in turn: once this read is answered, so was the save.
    TParameterGroupTransfer later(device, &network);
    TDevParameterClass* parameter = device->ParameterAt(0, 2);
    later.UploadOne(parameter);
    EXPECT_TRUE(WaitFor([&] { return !parameter->RequestUnderWay(); }));
    EXPECT_TRUE(parameter->Synchronized());
}

TEST_F(GroupTransferTest, AdapterLostWhileAnErrorQuestionIsOpenEndsTheRunCleanly)
{
    // The node has no parameter 4: its read is answered with an error, and while the user
    // thinks about that question the adapter is unplugged. The network goes offline from inside
    // the driver's reply callback; the run must end and nothing may be left to crash.
    devices.push_back(corvix::test::DeviceFromRaw(
        "[ParamClass] MaxInst = 4; Descriptor = 0;\n[Params]\n" + ParamEntry(4) + ParamEntry(1)));
    TDeviceNetDevice* device = devices.back().get();
    struct UnpluggingPrompt : ScriptedPrompt {
        std::function<void()> whileAsked;
        PromptButton ask(const QString& text, PromptIcon icon, const QList<PromptButton>& buttons,
                         const QString& caption) override
        {
            if (const auto unplug = std::exchange(whileAsked, nullptr)) {
                unplug();
            }
            return ScriptedPrompt::ask(text, icon, buttons, caption);
        }
    } unplugging;
    unplugging.whileAsked = [&] {
        pty.reset();
        EXPECT_TRUE(WaitFor([&] { return !network.IsOnline(); }));
    };
    unplugging.queueButton(PromptButton::Retry);  // the error question: would repeat if it could
    UserPrompt::setCurrent(&unplugging);
    TParameterGroupTransfer transfer(device, &network);
    watch(transfer);
    transfer.UploadAll(0);
    EXPECT_EQ(finished, QList<bool>{false});
    EXPECT_FALSE(network.IsOnline());
    EXPECT_TRUE(unplugging.texts().contains(
        QStringLiteral("Connection to interface timed out, check cable and power!")));
    UserPrompt::setCurrent(&asked);
}

TEST_F(GroupTransferTest, ErrorAnswersSteerTheRun)
{
    struct Case {
        const char* name;
        bool firstRequestOnly;  // otherwise the node answers every request with an error
        QList<PromptButton> answers;
        QStringList requests;
        int questions;
        QStringList progress;
        bool completed;
    } const cases[] = {
        {"retry repeats without advancing",
         true,
         {PromptButton::Retry},
         {"0E/1", "0E/1", "0E/2", "0E/3"},
         1,
         {"1/3", "2/3", "3/3"},
         true},
        {"ignore asks each time",
         false,
         {PromptButton::Ignore, PromptButton::Ignore, PromptButton::Ignore},
         {"0E/1", "0E/2", "0E/3"},
         3,
         {"1/3", "2/3", "3/3"},
         true},
        {"ignore all asks once",
         false,
         {PromptButton::IgnoreAll},
         {"0E/1", "0E/2", "0E/3"},
         1,
         {"1/3", "2/3", "3/3"},
         true},
        {"cancel ends the run", false, {PromptButton::Cancel}, {"0E/1"}, 1, {"1/3", "2/3"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        requests.clear();
        progress.clear();
        finished.clear();
        ScriptedPrompt local;
        UserPrompt::setCurrent(&local);
        for (PromptButton answer : c.answers) local.queueButton(answer);
        simulated.networkFaults.errorStatus = 0x14;
        onRequest = [&] {
            if (c.firstRequestOnly) simulated.networkFaults.errorStatus.reset();
        };
        TDeviceNetDevice* device = Device("0");
        TParameterGroupTransfer transfer(device, &network);
        watch(transfer);
        transfer.UploadAll(0);

        EXPECT_EQ(requests, c.requests);
        EXPECT_EQ(local.texts().size(), c.questions);
        QStringList expectedProgress;
        for (const QString& step : c.progress)
            expectedProgress.append(QStringLiteral("Processing parameter request ") + step);
        EXPECT_EQ(progress, expectedProgress);
        EXPECT_EQ(finished, QList<bool>{c.completed});
        for (const auto& parameter : device->Parameters())
            EXPECT_FALSE(parameter->SuppressErrorDialog());

        // Ignore All held for that run only: the next run asks again.
        if (c.answers.first() == PromptButton::IgnoreAll) {
            local.queueButton(PromptButton::Cancel);
            requests.clear();
            transfer.UploadAll(0);
            EXPECT_EQ(local.texts().size(), 2);
            EXPECT_EQ(requests, QStringList{"0E/1"});
        }
        onRequest = nullptr;
        simulated.networkFaults.errorStatus.reset();
        UserPrompt::setCurrent(&asked);
    }
}

TEST_F(GroupTransferTest, StopOrGoingOfflineEndsTheRun)
{
    struct Case {
        const char* name;
        std::function<void(TParameterGroupTransfer&)> afterFirstRequest;
    } const cases[] = {
        {"stop (progress window cancelled)", [](TParameterGroupTransfer& t) { t.Stop(); }},
        {"network offline",
         [this](TParameterGroupTransfer&) { network.HandleNetworkStatus(CORVIX_NET_OFFLINE); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        requests.clear();
        finished.clear();
        TDeviceNetDevice* device = Device("0x0004");
        TParameterGroupTransfer transfer(device, &network);
        watch(transfer);
        onRequest = [&] { c.afterFirstRequest(transfer); };
        transfer.DownloadAll(0);
        onRequest = nullptr;
        EXPECT_EQ(finished, QList<bool>{false});
        // Neither the second parameter nor the save request is sent.
        QCoreApplication::processEvents();
        EXPECT_EQ(requests, QStringList{"10/1"});
        EXPECT_TRUE(asked.texts().isEmpty());
        network.NetworkStatus = CORVIX_NET_ONLINE;
        // A new run at once waits for the answer to the request left behind, then reads all.
        finished.clear();
        transfer.UploadAll(0);
        EXPECT_EQ(requests, (QStringList{"10/1", "0E/1", "0E/2", "0E/3"}));
        EXPECT_EQ(finished, QList<bool>{true});
        EXPECT_EQ(device->ParameterAt(0, 0)->DataType().Value(), QStringLiteral("1"));
    }
}

TEST_F(GroupTransferTest, RepliesAndStopEndTheWaitAtOnce)
{
    // Waits look at their conditions again only after five seconds here: a run that ends sooner
    // was woken by the replies, or by Stop.
    TParameterGroupTransfer::PollMs = 5000;
    struct Case {
        const char* name;
        bool stopAfterFirstRequest;
        QStringList requests;
    } const cases[] = {
        {"run through", false, {"0E/1", "0E/2", "0E/3"}},
        {"stopped", true, {"0E/1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        requests.clear();
        TDeviceNetDevice* device = Device("0");
        TParameterGroupTransfer transfer(device, &network);
        onRequest = [&] {
            if (c.stopAfterFirstRequest) transfer.Stop();
        };
        QElapsedTimer clock;
        clock.start();
        transfer.UploadAll(0);
        EXPECT_LT(clock.elapsed(), TParameterGroupTransfer::PollMs);
        onRequest = nullptr;
        EXPECT_EQ(requests, c.requests);
        // The reply left under way when stopped is handled before the next case starts.
        WaitFor([&] { return !device->ParameterAt(0, 0)->RequestUnderWay(); });
    }
}

TEST_F(GroupTransferTest, NodeThatStopsAnsweringEndsTheRun)
{
    TParameterGroupTransfer::ReplyTimeLimitMs = 300;
    TDevParameterClass::RequestTimeLimitMs = 300;
    struct Case {
        const char* name;
        int macId;
        bool dropAfterFirst;  // the node answers once, then drops every request
        QStringList requests;
    } const cases[] = {
        {"no node at the address", 9, false, {"0E/1"}},
        {"replies dropped", 5, true, {"0E/1", "0E/2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        requests.clear();
        finished.clear();
        ScriptedPrompt local;
        UserPrompt::setCurrent(&local);
        TDeviceNetDevice* device = Device("0", c.macId);
        TParameterGroupTransfer transfer(device, &network);
        watch(transfer);
        onRequest = [&] {
            if (c.dropAfterFirst) simulated.networkFaults.dropReplies = true;
        };
        transfer.UploadAll(0);
        onRequest = nullptr;
        simulated.networkFaults.dropReplies = false;

        EXPECT_EQ(requests, c.requests);
        EXPECT_EQ(finished, QList<bool>{false});
        EXPECT_TRUE(device->NotResponding);
        EXPECT_EQ(local.texts(), QStringList{NotAvailable});
        UserPrompt::setCurrent(&asked);
    }
}

}  // namespace
