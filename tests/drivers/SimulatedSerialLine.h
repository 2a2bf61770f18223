#pragma once

// Going online the way the program does, through the real serial driver library, to the
// simulated adapter on a pseudo-terminal; and reading what the simulated nodes were asked.
#include <QRegularExpression>
#include <QString>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "app/ScriptedPrompt.h"
#include "app/SharedLibrary.h"
#include "core/PtyFrontEnd.h"
#include "network/DeviceNetWork.h"
#include "support/WaitFor.h"

namespace corvix::test {

inline QString SerialDriverFile()
{
    return QStringLiteral(CORVIX_BIN_DIR "/Drivers/SerialAdapterDriver") +
           SharedLibrary::fileMask().mid(1);
}

// A request line of the simulator's log as "service/instance", both as the line gives them:
// "MAC 5 Set_Attribute_Single (10) class 0F instance 3 attribute 1 -> ..." gives "10/3".
inline QString ServiceAndInstance(const QString& logLine)
{
    static const QRegularExpression pattern(
        QStringLiteral("\\((\\w\\w)\\) class \\w+ instance (\\d+)"));
    const QRegularExpressionMatch match = pattern.match(logLine);
    return match.captured(1) + u'/' + match.captured(2);
}

// Points the network at the serial driver on the simulator's line and goes online; true once
// it is online and the browse that follows has gone through every MAC ID.
inline bool GoOnlineThroughSerialDriver(TDeviceNetWork& network, const sim::PtyFrontEnd& pty)
{
    network.ReleasePauseMs = 0;
    network.DriverFile = SerialDriverFile();
    network.DriverConfig = pty.slavePath() + QStringLiteral(",63,2");
    network.GoOnline([](const QList<DriverListEntry>&) { return 0; });
    return WaitFor([&] { return network.IsOnline() && network.WhoAnswers == 64; });
}

// A test whose network is online through the serial driver to the nodes Nodes() gives. The
// prompt answers going online; the test's own questions are answered by `asked`. Every request
// a node sees is recorded as ServiceAndInstance gives it, and onRequest runs on each.
class OnlineThroughSerialDriverTest : public ::testing::Test {
protected:
    virtual QList<sim::SimNode> Nodes() const = 0;

    void SetUp() override
    {
        UserPrompt::setCurrent(&goingOnline);
        for (const sim::SimNode& node : Nodes()) {
            simulated.addNode(node);
        }
        pty.emplace(simulated, false);
        pty->adapter().log = [this](const QString& line) {
            requests.append(ServiceAndInstance(line));
            if (onRequest) onRequest();
        };
        ASSERT_TRUE(GoOnlineThroughSerialDriver(network, *pty));
        requests.clear();
        UserPrompt::setCurrent(&asked);
    }
    void TearDown() override
    {
        network.ReleaseDriver();
        UserPrompt::setCurrent(nullptr);
    }

    ScriptedPrompt goingOnline;
    ScriptedPrompt asked;
    sim::SimNetwork simulated;
    std::optional<sim::PtyFrontEnd> pty;
    TDeviceNetWork network;
    QStringList requests;
    std::function<void()> onRequest;
};

}  // namespace corvix::test
