#include "network/FileLines.h"

#include "app/CorvixError.h"
#include "app/Windows1252.h"

#include <QFile>
#include <QSaveFile>

namespace corvix {

QStringList SplitFileLines(const QByteArray& bytes)
{
    const QString text = DecodeWindows1252(bytes);
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n') {
            continue;
        }
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < size) {
        lines.append(text.mid(start));
    }
    return lines;
}

QByteArray JoinFileLines(const QStringList& lines)
{
    QString text;
    qsizetype length = 0;
    for (const QString& line : lines) {
        length += line.size() + 2;
    }
    text.reserve(length);
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return EncodeWindows1252(text);
}

bool IsMarkerLine(const QString& line, const QString& marker)
{
    return line.compare(marker, Qt::CaseInsensitive) == 0;
}

qsizetype FindMarkerLine(const QStringList& lines, const QString& marker, qsizetype from)
{
    for (qsizetype i = from; i < lines.size(); ++i) {
        if (IsMarkerLine(lines.at(i), marker)) {
            return i;
        }
    }
    return -1;
}

std::optional<int> ParseDecimalLine(const QString& line, int maximum)
{
    if (line.isEmpty() || line.size() > 10) {
        return std::nullopt;
    }
    qint64 value = 0;
    for (const QChar c : line) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value > maximum) {
        return std::nullopt;
    }
    return int(value);
}

QStringList ReadLinesFromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw FileError(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    }
    if (file.size() > MaxLineFileSize) {
        throw FileError(QStringLiteral("Cannot read %1: the file is larger than %2 MB.")
                            .arg(path)
                            .arg(MaxLineFileSize / (1024 * 1024)));
    }
    // Read one byte beyond the limit so that a file growing (or a device file without a size)
    // is still refused instead of read without end.
    const QByteArray bytes = file.read(MaxLineFileSize + 1);
    if (bytes.size() > MaxLineFileSize) {
        throw FileError(QStringLiteral("Cannot read %1: the file is larger than %2 MB.")
                            .arg(path)
                            .arg(MaxLineFileSize / (1024 * 1024)));
    }
    if (file.error() != QFileDevice::NoError) {
        throw FileError(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    }
    return SplitFileLines(bytes);
}

void WriteLinesToFile(const QString& path, const QStringList& lines)
{
    QSaveFile file(path);
    // Unbuffered, so that a short write (disk full, size limit) shows in what write() returns
    // instead of getting lost in a buffer flushed at commit.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        throw FileError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    }
    const QByteArray bytes = JoinFileLines(lines);
    if (file.write(bytes) != bytes.size() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        throw FileError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    }
    if (!file.commit()) {
        throw FileError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    }
}

}  // namespace corvix
