#include <QFile>
#include <functional>

#include "CliCommand.h"
#include "CliSupport.h"
#include "EdsSupport.h"
#include "app/CorvixError.h"
#include "library/EdsKeywordCheck.h"
#include "library/EdsNormaliser.h"

namespace corvix::cli {

namespace {

struct EdsSubCommand {
    const char* name;
    const char* summary;
    std::function<int(const QStringList&)> run;
};

const QList<EdsSubCommand>& subCommands()
{
    static const QList<EdsSubCommand> commands = {
        {"normalise", "Write the normalised form of an EDS file to standard output.", EdsNormalise},
        {"check", "Run the installation checks on an EDS file.", EdsCheck},
        {"show", "Print the device an EDS file describes.", EdsShow},
        {"param", "Apply a value to one parameter and print its texts and bytes.", EdsParam},
    };
    return commands;
}

QString subCommandList()
{
    QString text = QStringLiteral("\nSub-commands:\n");
    for (const EdsSubCommand& command : subCommands()) {
        text += QStringLiteral("  %1  %2\n")
                    .arg(QLatin1String(command.name), -10)
                    .arg(QLatin1String(command.summary));
    }
    return text;
}

// Parses "corvix eds SUB FILE": the one FILE argument, or nothing after printing the error.
std::optional<QString> singleFile(QCommandLineParser& parser, const QStringList& arguments,
                                  const QString& description, int& exitCode)
{
    parser.setApplicationDescription(description);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The EDS file."));
    if (const auto done = ParseCommandLine(parser, arguments)) {
        exitCode = *done;
        return std::nullopt;
    }
    if (parser.positionalArguments().size() != 1) {
        PrintError(QStringLiteral("%1 takes exactly one FILE.").arg(arguments.value(0)));
        exitCode = ExitUsage;
        return std::nullopt;
    }
    return parser.positionalArguments().first();
}

}  // namespace

int EdsNormalise(const QStringList& arguments)
{
    QCommandLineParser parser;
    int exitCode = ExitSuccess;
    const auto path = singleFile(
        parser, arguments,
        QStringLiteral("Writes the normalised bytes of an EDS file, as the library stores them."),
        exitCode);
    if (!path) {
        return exitCode;
    }
    const auto bytes = ReadInputFile(*path);
    if (!bytes) {
        return ExitFailed;
    }
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly) || out.write(NormaliseEdsText(*bytes)) < 0) {
        PrintError(QStringLiteral("Cannot write to standard output."));
        return ExitFailed;
    }
    return ExitSuccess;
}

int EdsCheck(const QStringList& arguments)
{
    QCommandLineParser parser;
    int exitCode = ExitSuccess;
    const auto path = singleFile(
        parser, arguments,
        QStringLiteral("Runs the checks the library makes before it installs an EDS file: the "
                       "required keywords, then a test device built from the file. Prints every "
                       "error line; exits with 1 when the file would be refused."),
        exitCode);
    if (!path) {
        return exitCode;
    }
    const auto bytes = ReadInputFile(*path);
    if (!bytes) {
        return ExitFailed;
    }
    const QByteArray text = NormaliseEdsText(*bytes);
    QString report;
    if (!CheckEdsKeywords(text, report)) {
        PrintOut(report);
        return ExitFailed;
    }
    QStringList errors;
    try {
        errors = TDeviceNetDevice::CreateFromEds(nullptr, QStringLiteral("EDSTest.eds"), text, 0)
                     ->DefinitionErrors;
    } catch (const CorvixError& error) {
        errors = {error.message()};
    }
    for (const QString& line : errors) {
        PrintOut(line);
    }
    return errors.isEmpty() ? ExitSuccess : ExitFailed;
}

CliCommand EdsCommand()
{
    return {QStringLiteral("eds"), QStringLiteral("Read, check and show EDS files."),
            [](const QStringList& arguments) -> int {
                QCommandLineParser parser;
                parser.setApplicationDescription(QStringLiteral("Works on EDS files.") +
                                                 subCommandList());
                parser.setOptionsAfterPositionalArgumentsMode(
                    QCommandLineParser::ParseAsPositionalArguments);
                parser.addPositionalArgument(QStringLiteral("SUBCOMMAND"),
                                             QStringLiteral("What to do."),
                                             QStringLiteral("SUBCOMMAND [ARGUMENTS...]"));
                if (const auto done = ParseCommandLine(parser, arguments)) {
                    return *done;
                }
                const QStringList positional = parser.positionalArguments();
                if (positional.isEmpty()) {
                    PrintError(QStringLiteral("No sub-command given.") + subCommandList());
                    return ExitUsage;
                }
                for (const EdsSubCommand& command : subCommands()) {
                    if (positional.first() == QLatin1String(command.name)) {
                        QStringList subArguments = positional;
                        subArguments[0] = arguments.value(0) + u' ' + positional.first();
                        return command.run(subArguments);
                    }
                }
                PrintError(QStringLiteral("Unknown sub-command '%1'.").arg(positional.first()) +
                           subCommandList());
                return ExitUsage;
            }};
}

}  // namespace corvix::cli
