#include "CliSupport.h"

#include "CliCommand.h"

#include <QCoreApplication>
#include <QTextStream>

namespace corvix::cli {

void PrintOut(const QString& text) { QTextStream(stdout) << text << Qt::endl; }

void PrintError(const QString& text) { QTextStream(stderr) << text << Qt::endl; }

std::optional<int> ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments)
{
    const QCommandLineOption help = parser.addHelpOption();
    if (!parser.parse(arguments)) {
        PrintError(parser.errorText());
        PrintError(QStringLiteral("Try '%1 --help'.").arg(arguments.value(0)));
        return ExitUsage;
    }
    if (parser.isSet(help)) {
        // Qt names the executable's path; users type the command words.
        QString text = parser.helpText();
        text.replace(QStringLiteral("Usage: ") + QCoreApplication::arguments().constFirst(),
                     QStringLiteral("Usage: ") + arguments.value(0));
        PrintOut(text.trimmed());
        return ExitSuccess;
    }
    return std::nullopt;
}

std::optional<qint64> ParseNumber(const QString& text)
{
    bool ok = false;
    const QString trimmed = text.trimmed();
    qint64 value = 0;
    if (trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        value = trimmed.mid(2).toLongLong(&ok, 16);
        ok = ok && !trimmed.mid(2).startsWith(u'-') && !trimmed.mid(2).startsWith(u'+');
    } else {
        value = trimmed.toLongLong(&ok, 10);
    }
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

}  // namespace corvix::cli
