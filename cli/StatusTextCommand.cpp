#include "CliCommand.h"
#include "CliSupport.h"

#include "app/StatusText.h"

namespace corvix::cli {

CliCommand StatusTextCommand()
{
    return {QStringLiteral("status-text"),
            QStringLiteral("Print the text of a CIP general status or scanner node status code."),
            [](const QStringList& arguments) -> int {
                QCommandLineParser parser;
                parser.setApplicationDescription(
                    QStringLiteral("Prints the text of a CIP general status code or of a scanner "
                                   "node status code (70..99)."));
                parser.addPositionalArgument(QStringLiteral("CODE"),
                                             QStringLiteral("The code, decimal or 0x hex."));
                if (const auto done = ParseCommandLine(parser, arguments)) {
                    return *done;
                }
                const QStringList positional = parser.positionalArguments();
                if (positional.size() != 1) {
                    PrintError(QStringLiteral("status-text takes exactly one CODE."));
                    return ExitUsage;
                }
                const auto code = ParseNumber(positional.first());
                if (!code || *code < 0 || *code > 0xFFFF) {
                    PrintError(QStringLiteral("'%1' is not a status code (decimal or 0x hex, "
                                              "0 to 65535).")
                                   .arg(positional.first()));
                    return ExitUsage;
                }
                PrintOut(StatusText(int(*code)));
                return ExitSuccess;
            }};
}

}  // namespace corvix::cli
