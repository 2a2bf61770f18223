#include "OnlineSession.h"

#include "CliCommand.h"
#include "CliSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>

namespace corvix::cli {

namespace {

const QString OnlineQuestion =
    QStringLiteral("Network connection established, press OK to update network!");

// A driver named by path, by file name in the Drivers folder, or by the name it gives itself.
QString FindDriver(const QString& nameOrPath)
{
    if (QFileInfo(nameOrPath).isFile()) {
        return QFileInfo(nameOrPath).absoluteFilePath();
    }
    for (const DriverListEntry& entry : ListDrivers(DefaultDriverFolder())) {
        const QFileInfo file(entry.file);
        if (entry.caption.compare(nameOrPath, Qt::CaseInsensitive) == 0 ||
            file.fileName().compare(nameOrPath, Qt::CaseInsensitive) == 0 ||
            file.completeBaseName().compare(nameOrPath, Qt::CaseInsensitive) == 0) {
            return entry.file;
        }
    }
    return {};
}

}  // namespace

PromptButton CliPrompt::ask(const QString& text, PromptIcon icon,
                            const QList<PromptButton>& buttons, const QString&)
{
    if (text == OnlineQuestion) {
        return browseWhenOnline ? PromptButton::Ok : PromptButton::Cancel;
    }
    PrintError(text);
    if (icon == PromptIcon::Error) {
        ++errorsShown;
    }
    if (buttons.contains(PromptButton::Ignore)) {
        return PromptButton::Ignore;
    }
    return buttons.isEmpty() ? PromptButton::Ok : buttons.first();
}

void OnlineSession::AddOptions(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("network"),
                      QStringLiteral("Network file whose driver and settings text are used."),
                      QStringLiteral("FILE.net")});
    parser.addOption({QStringLiteral("driver"),
                      QStringLiteral("Driver library: a path, a file name in Drivers/ or the "
                                     "driver's own name."),
                      QStringLiteral("NAME-or-PATH")});
    parser.addOption({QStringLiteral("settings"),
                      QStringLiteral("The driver's settings text, e.g. /dev/ttyUSB0,63,2."),
                      QStringLiteral("TEXT")});
    parser.addOption({QStringLiteral("timeout"),
                      QStringLiteral("Milliseconds to wait for each step (default 5000)."),
                      QStringLiteral("MS")});
}

std::optional<int> OnlineSession::Prepare(const QCommandLineParser& parser,
                                          const QString& networkFile)
{
    network.ReleasePauseMs = 0;
    if (parser.isSet(QStringLiteral("timeout"))) {
        const auto value = ParseNumber(parser.value(QStringLiteral("timeout")));
        if (!value || *value < 1 || *value > 600000) {
            PrintError(QStringLiteral("--timeout takes milliseconds from 1 to 600000."));
            return ExitUsage;
        }
        timeoutMs = int(*value);
    }
    const QString file =
        networkFile.isEmpty() ? parser.value(QStringLiteral("network")) : networkFile;
    if (!file.isEmpty()) {
        if (!network.LoadFromFile(file)) {
            PrintError(QStringLiteral("Cannot read the network file '%1'.").arg(file));
            return ExitFailed;
        }
    }
    if (parser.isSet(QStringLiteral("driver"))) {
        network.DriverFile = FindDriver(parser.value(QStringLiteral("driver")));
        if (network.DriverFile.isEmpty()) {
            PrintError(QStringLiteral("No driver '%1' found.")
                           .arg(parser.value(QStringLiteral("driver"))));
            return ExitUsage;
        }
    }
    if (parser.isSet(QStringLiteral("settings"))) {
        network.DriverConfig = parser.value(QStringLiteral("settings"));
    }
    if (network.DriverFile.isEmpty() || network.DriverConfig.isEmpty()) {
        PrintError(
            QStringLiteral("Give --network FILE.net with a driver, or --driver and "
                           "--settings."));
        return ExitUsage;
    }
    return std::nullopt;
}

std::optional<int> OnlineSession::GoOnline()
{
    // Without a person there is no driver choice and no set-up window to show.
    network.GoOnline([](const QList<DriverListEntry>&) { return 0; });
    if (!network.DriverModule() || network.DriverHandle == 0) {
        PrintError(QStringLiteral("The driver did not start a session."));
        return ExitFailed;
    }
    if (!WaitUntil([this] { return network.IsOnline() || !network.DriverModule(); }) ||
        !network.IsOnline()) {
        PrintError(QStringLiteral("The network did not come online."));
        return ExitFailed;
    }
    return std::nullopt;
}

bool OnlineSession::WaitUntil(const std::function<bool()>& done) const
{
    QDeadlineTimer limit(timeoutMs);
    while (!done()) {
        if (limit.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

}  // namespace corvix::cli
