#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace corvix::cli {

// Exit codes of every command.
enum ExitCode { ExitSuccess = 0, ExitFailed = 1, ExitUsage = 2 };

// A sub-command: its arguments are everything after its name (argv[0] is the command path,
// "corvix status-text", for help texts).
struct CliCommand {
    QString name;
    QString summary;
    std::function<int(const QStringList& arguments)> run;
};

// Every command the program has, in the order --help lists them.
const QList<CliCommand>& AllCommands();

// The commands, one per file.
CliCommand StatusTextCommand();
CliCommand EdsCommand();
CliCommand LibraryCommand();
CliCommand NetworkCommand();
CliCommand DeviceCommand();
CliCommand OnlineCommand();

}  // namespace corvix::cli
