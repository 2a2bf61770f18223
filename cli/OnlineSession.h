#pragma once

#include "app/UserPrompt.h"
#include "network/DeviceNetWork.h"

#include <QCommandLineParser>

#include <functional>

namespace corvix::cli {

// Answers the program's questions without a person: texts go to standard error, the offer to
// browse after going online is taken only when asked for, and a failed parameter request is
// ignored so that a run goes on with the next parameter.
class CliPrompt : public UserPrompt {
public:
    PromptButton ask(const QString& text, PromptIcon icon, const QList<PromptButton>& buttons,
                     const QString& caption = {}) override;
    std::optional<QString> inputText(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    QStringList chooseFiles(const FileDialogRequest&) override { return {}; }

    bool browseWhenOnline = false;
    int errorsShown = 0;
};

// The network a sub-command of "corvix online" works on, brought online through the driver
// given by --driver/--settings or kept in the --network file.
class OnlineSession {
public:
    static void AddOptions(QCommandLineParser& parser);
    // Builds the network from the options; prints the problem and returns an exit code when
    // they do not name a usable network or driver.
    // A networkFile given here (the parameter commands name one) is read instead of --network.
    std::optional<int> Prepare(const QCommandLineParser& parser, const QString& networkFile = {});
    // Goes online and waits for it; an exit code when it did not happen in time.
    std::optional<int> GoOnline();
    // Lets events run until done() holds or the time limit passes; false on time-out.
    bool WaitUntil(const std::function<bool()>& done) const;

    TDeviceNetWork network;
    CliPrompt prompt;
    int timeoutMs = 5000;
};

}  // namespace corvix::cli
