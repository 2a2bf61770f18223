#include "app/Windows1252.h"

#include <QHash>

#include <array>

namespace corvix {

namespace {

// 0x80..0x9F are the only bytes where Windows-1252 differs from Latin-1.
constexpr std::array<char16_t, 32> upperControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t decodeByte(unsigned char byte)
{
    return (byte >= 0x80 && byte <= 0x9F) ? upperControlRange[byte - 0x80] : char16_t(byte);
}

const QHash<char16_t, unsigned char>& encodeTable()
{
    static const QHash<char16_t, unsigned char> table = [] {
        QHash<char16_t, unsigned char> t;
        for (int b = 0; b < 256; ++b) {
            t.insert(decodeByte(static_cast<unsigned char>(b)), static_cast<unsigned char>(b));
        }
        return t;
    }();
    return table;
}

std::array<unsigned char, 256> makeLowerTable()
{
    std::array<unsigned char, 256> lower{};
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        const char16_t folded = QChar(decodeByte(byte)).toLower().unicode();
        lower[b] = encodeTable().value(folded, byte);
    }
    return lower;
}

}  // namespace

QString DecodeWindows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        text[i] = QChar(decodeByte(static_cast<unsigned char>(bytes[i])));
    }
    return text;
}

QByteArray EncodeWindows1252(const QString& text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    const auto& table = encodeTable();
    for (qsizetype i = 0; i < text.size(); ++i) {
        bytes[i] = static_cast<char>(table.value(text[i].unicode(), '?'));
    }
    return bytes;
}

unsigned char LowerWindows1252(unsigned char byte)
{
    static const std::array<unsigned char, 256> table = makeLowerTable();
    return table[byte];
}

}  // namespace corvix
