#include "library/LibraryIndex.h"

#include "app/Conversions.h"
#include "app/CorvixError.h"
#include "app/EdsValueReaders.h"
#include "app/Windows1252.h"
#include "device/NumberText.h"


#include <algorithm>

namespace corvix {

int64_t ReadEdsInteger(const QByteArray& text, const QByteArray& key)
{
    const QByteArray value = ReadValue(text, key, 0, text.size());
    return TextToInt64(BinaryToDecimalText(QString::fromLatin1(value)));
}

QString EdsFileKey(const QByteArray& text)
{
    QStringList parts;
    for (const char* key : {"VendCode=", "ProdType=", "ProdCode=", "MajRev="}) {
        parts.append(QString::number(ReadEdsInteger(text, key)));
    }
    return parts.join(u'_');
}

QByteArray LibraryIndexLine(const QString& relativePath, const QByteArray& text)
{
    QByteArray path = EncodeWindows1252(QString(relativePath).replace(u'/', u'\\'));
    for (char& byte : path) {
        byte = char(LowerWindows1252(static_cast<unsigned char>(byte)));
    }
    const QByteArray name = ReadQuotedValue(text, "ProdName=", 0, text.size());
    const int64_t major = ReadEdsInteger(text, "MajRev=");
    const int64_t minor = ReadEdsInteger(text, "MinRev=");
    return path + ' ' + name + " Rev: " + QByteArray::number(major) + '.' +
           QByteArray::number(minor);
}

namespace {

int characterClass(QChar c)
{
    return c.isDigit() ? 1 : c.isLetter() ? 2 : 0;
}

}  // namespace

bool LibraryTextLess(const QString& a, const QString& b)
{
    const qsizetype common = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const int classA = characterClass(a[i]);
        const int classB = characterClass(b[i]);
        if (classA != classB) {
            return classA < classB;
        }
        const char16_t lowerA = a[i].toLower().unicode();
        const char16_t lowerB = b[i].toLower().unicode();
        if (lowerA != lowerB) {
            return lowerA < lowerB;
        }
    }
    return a.size() < b.size();
}

void SortLibraryIndex(QByteArrayList& lines)
{
    std::vector<std::pair<QString, QByteArray>> keyed;
    keyed.reserve(size_t(lines.size()));
    for (const QByteArray& line : lines) {
        keyed.emplace_back(DecodeWindows1252(line), line);
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return LibraryTextLess(a.first, b.first);
    });
    for (size_t i = 0; i < keyed.size(); ++i) {
        lines[qsizetype(i)] = keyed[i].second;
    }
}

QByteArrayList SplitTextLines(const QByteArray& bytes)
{
    QByteArrayList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') {
            continue;
        }
        lines.append(bytes.mid(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < bytes.size()) {
        lines.append(bytes.mid(start));
    }
    return lines;
}

QByteArray JoinTextLines(const QByteArrayList& lines)
{
    QByteArray bytes;
    for (const QByteArray& line : lines) {
        bytes += line + "\r\n";
    }
    return bytes;
}

}  // namespace corvix
