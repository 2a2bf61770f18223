#include "CliCommand.h"
#include "CliSupport.h"

#include <QCoreApplication>

namespace corvix::cli {

const QList<CliCommand>& AllCommands()
{
    static const QList<CliCommand> commands = {
        StatusTextCommand(),
        EdsCommand(),
        LibraryCommand(),
        NetworkCommand(),
        DeviceCommand(),
        OnlineCommand(),
    };
    return commands;
}

namespace {

QString commandList()
{
    QString text = QStringLiteral("\nCommands:\n");
    for (const CliCommand& command : AllCommands()) {
        text += QStringLiteral("  %1  %2\n").arg(command.name, -14).arg(command.summary);
    }
    text += QStringLiteral("\nRun 'corvix COMMAND --help' for the arguments of a command.");
    return text;
}

int run(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Velmora Corvix for DeviceNet from the command line.") + commandList());
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("COMMAND"), QStringLiteral("What to do."),
                                 QStringLiteral("COMMAND [ARGUMENTS...]"));
    if (const auto done = ParseCommandLine(parser, arguments)) {
        return *done;
    }
    if (parser.isSet(version)) {
        PrintOut(QStringLiteral("corvix %1").arg(QCoreApplication::applicationVersion()));
        return ExitSuccess;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        PrintError(QStringLiteral("No command given.") + commandList());
        return ExitUsage;
    }
    for (const CliCommand& command : AllCommands()) {
        if (command.name == positional.first()) {
            QStringList commandArguments = positional;
            commandArguments[0] = QStringLiteral("corvix ") + command.name;
            return command.run(commandArguments);
        }
    }
    PrintError(QStringLiteral("Unknown command '%1'.").arg(positional.first()) + commandList());
    return ExitUsage;
}

}  // namespace

}  // namespace corvix::cli

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tarnwell"));
    QCoreApplication::setApplicationName(QStringLiteral("Velmora Corvix for DeviceNet"));
    QCoreApplication::setApplicationVersion(QStringLiteral("3.5.1.3"));
    try {
        QStringList arguments = QCoreApplication::arguments();
        arguments[0] = QStringLiteral("corvix");
        return corvix::cli::run(arguments);
    } catch (const std::exception& error) {
        corvix::cli::PrintError(QString::fromLocal8Bit(error.what()));
        return corvix::cli::ExitFailed;
    }
}
