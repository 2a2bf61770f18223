#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace corvix {

// Network and device files are text lines in the Windows code page. Written lines end in CR LF;
// read lines may end in CR LF, LF alone or CR alone. A final line without an ending still counts,
// an ending at the very end of the file starts no extra line.
QStringList SplitFileLines(const QByteArray& bytes);
QByteArray JoinFileLines(const QStringList& lines);

// A marker line ("$Device Begin") matches whatever the letter case; blanks are not ignored.
bool IsMarkerLine(const QString& line, const QString& marker);
// Index of the first line from `from` on that is the marker; -1 when there is none.
qsizetype FindMarkerLine(const QStringList& lines, const QString& marker, qsizetype from = 0);

// A number line of the file: decimal digits only, no sign or blanks, at most maximum; nothing
// otherwise.
std::optional<int> ParseDecimalLine(const QString& line, int maximum);

// Larger files are refused before they are read: a network of 64 devices is far smaller.
constexpr qint64 MaxLineFileSize = 64 * 1024 * 1024;

// Reads the lines of a file. Raises FileError with the file system's reason when the file cannot
// be read or is larger than MaxLineFileSize.
QStringList ReadLinesFromFile(const QString& path);

// Writes the lines to a temporary file beside path and then puts it in place of path, so that a
// write failing part-way leaves the previous file whole. Raises FileError with the reason.
void WriteLinesToFile(const QString& path, const QStringList& lines);

}  // namespace corvix
