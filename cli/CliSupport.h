#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

namespace corvix::cli {

void PrintOut(const QString& text);  // standard output, with a line break
void PrintError(const QString& text);  // standard error, with a line break

// Parses arguments with parser after adding --help; prints help and returns ExitSuccess for
// --help, prints the error and returns ExitUsage for bad arguments, nothing when all is well.
std::optional<int> ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments);

// A number written in decimal or with a 0x prefix; nothing when text is neither.
std::optional<qint64> ParseNumber(const QString& text);

}  // namespace corvix::cli
