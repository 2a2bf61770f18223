#pragma once

// Runs the built corvix as a user does and keeps what it printed.
#include <QProcess>
#include <QStringList>

namespace corvix::test {

struct CliRun {
    int exitCode;
    QString out;
    QString err;
    QByteArray outBytes;
};

inline CliRun RunCorvix(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(CORVIX_BIN_DIR "/corvix"), arguments);
    if (!process.waitForFinished(30000)) {
        process.kill();
        return {-1, {}, QStringLiteral("corvix did not finish"), {}};
    }
    const QByteArray out = process.readAllStandardOutput();
    return {process.exitCode(), QString::fromUtf8(out),
            QString::fromUtf8(process.readAllStandardError()), out};
}

}  // namespace corvix::test
