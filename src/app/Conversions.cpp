#include "app/Conversions.h"

#include "app/CorvixError.h"

namespace corvix {

namespace {

[[noreturn]] void raiseNotBinary(const QString& text)
{
    throw ConversionError(QStringLiteral("%1 is not a valid binary value").arg(text));
}

bool hasBinaryPrefix(const QString& text)
{
    return text.size() > 1 && text[0] == u'0' && (text[1] == u'b' || text[1] == u'B');
}

int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return -1;
}

}  // namespace

QString BinaryToDecimalText(const QString& text)
{
    if (!hasBinaryPrefix(text)) {
        return text;
    }
    if (text.size() > 66) {
        raiseNotBinary(text);
    }
    const QString digits = text.mid(2);
    for (const QChar c : digits) {
        if (c != u'0' && c != u'1') {
            raiseNotBinary(text);
        }
    }
    return QString::number(BinaryTextToInt64(digits));
}

int64_t BinaryTextToInt64(const QString& text)
{
    QString digits = text.toUpper();
    if (digits.endsWith(u'B')) {
        digits.chop(1);
    }
    if (digits.startsWith(QLatin1String("0B"))) {
        digits.remove(0, 2);
    }
    uint64_t value = 0;
    for (const QChar c : digits) {
        if (c != u'0' && c != u'1') {
            raiseNotBinary(digits);
        }
        value = 2 * value + (c == u'1' ? 1 : 0);
    }
    return static_cast<int64_t>(value);
}

QString IntToBinaryText(int bits, int64_t value)
{
    auto bitsOf = static_cast<uint64_t>(value);
    if (bits == 8 || bits == 16 || bits == 32) {
        bitsOf &= (uint64_t{1} << bits) - 1;
    }
    return QStringLiteral("0B") + QString::number(bitsOf, 2);
}

QByteArray HexTextToBytes(const QString& text)
{
    QByteArray bytes;
    qsizetype pos = 0;
    const qsizetype size = text.size();
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && end - pos < 2 && text[end] != u' ') {
            ++end;
        }
        bool ok = end > pos;
        uint value = 0;
        for (qsizetype i = pos; i < end && ok; ++i) {
            const int digit = hexDigitValue(text[i]);
            ok = digit >= 0;
            value = value * 16 + uint(digit);
        }
        if (!ok) {
            throw ConversionError(
                QStringLiteral("'%1' is not a valid hexadecimal byte text").arg(text));
        }
        bytes.append(static_cast<char>(value));
        pos = end;
        if (pos < size) {
            if (text[pos] != u' ') {
                throw ConversionError(
                    QStringLiteral("'%1' is not a valid hexadecimal byte text").arg(text));
            }
            ++pos;
        }
    }
    return bytes;
}

QString BoolToText(bool value) { return value ? QStringLiteral("1") : QStringLiteral("0"); }

}  // namespace corvix
