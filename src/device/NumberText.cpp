#include "device/NumberText.h"

#include "app/CorvixError.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <limits>

namespace corvix {

namespace {

[[noreturn]] void raiseNotInteger(const QString& text)
{
    throw ConversionError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

[[noreturn]] void raiseNotFloat(const QString& text)
{
    throw ConversionError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

// Reads text as an integer of the given width (32 or 64 bits); nothing when it is none.
std::optional<int64_t> readInteger(const QString& text, int bits)
{
    qsizetype pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    int radix = 10;
    if (text.mid(pos, 2).compare(QLatin1String("0x"), Qt::CaseInsensitive) == 0) {
        radix = 16;
        pos += 2;
    } else if (pos < text.size() && (text[pos] == u'x' || text[pos] == u'X' || text[pos] == u'$')) {
        radix = 16;
        pos += 1;
    }
    if (pos >= text.size()) {
        return std::nullopt;
    }
    // Decimal may reach the signed limit (one more for a negative number); hexadecimal may fill
    // every bit of the width and is then taken as two's complement.
    const uint64_t widthMask = bits == 64 ? ~uint64_t{0} : (uint64_t{1} << bits) - 1;
    const uint64_t limit = radix == 16 ? widthMask : (widthMask >> 1) + (negative ? 1 : 0);
    uint64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const char16_t c = text[pos].unicode();
        int digit = -1;
        if (c >= u'0' && c <= u'9') {
            digit = c - u'0';
        } else if (radix == 16 && c >= u'a' && c <= u'f') {
            digit = c - u'a' + 10;
        } else if (radix == 16 && c >= u'A' && c <= u'F') {
            digit = c - u'A' + 10;
        }
        if (digit < 0 || magnitude > (limit - uint64_t(digit)) / uint64_t(radix)) {
            return std::nullopt;
        }
        magnitude = magnitude * uint64_t(radix) + uint64_t(digit);
    }
    if (radix == 16 && bits == 32) {
        magnitude = uint64_t(int64_t(int32_t(uint32_t(magnitude))));
    }
    return int64_t(negative ? uint64_t{0} - magnitude : magnitude);
}

}  // namespace

int64_t TextToInt64(const QString& text)
{
    const auto value = readInteger(text, 64);
    if (!value) {
        raiseNotInteger(text);
    }
    return *value;
}

int32_t TextToInt32(const QString& text)
{
    const auto value = readInteger(text, 32);
    if (!value) {
        raiseNotInteger(text);
    }
    return int32_t(*value);
}

std::optional<int64_t> TryTextToInt64(const QString& text) { return readInteger(text, 64); }

QString LocaleDecimalSeparator() { return QLocale().decimalPoint(); }

QString ToLocaleDecimalSeparator(const QString& text)
{
    const QString separator = LocaleDecimalSeparator();
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'.' || c == u',') {
            result += separator;
        } else {
            result += c;
        }
    }
    return result;
}

double LocaleTextToFloat(const QString& text)
{
    const QString separator = LocaleDecimalSeparator();
    QString plain = text.trimmed();
    if (plain.startsWith(u'+')) {
        plain.remove(0, 1);
    }
    // Only the locale's own separator counts as a decimal point; "1.5" is no number where the
    // separator is ",", rather than being misread as fifteen.
    if (separator != QLatin1String(".")) {
        if (plain.contains(u'.')) {
            raiseNotFloat(text);
        }
        plain.replace(separator, QLatin1String("."));
    }
    const QByteArray latin = plain.toLatin1();
    double value = 0;
    const char* const end = latin.constData() + latin.size();
    const auto [stop, error] = std::from_chars(latin.constData(), end, value);
    if (latin.isEmpty() || error != std::errc() || stop != end || !std::isfinite(value)) {
        raiseNotFloat(text);
    }
    return value;
}

namespace {

template <typename Number>
QString shortestText(Number value)
{
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    QString text = QString::fromLatin1(buffer, error == std::errc() ? end - buffer : 0);
    return text.replace(u'.', LocaleDecimalSeparator());
}

}  // namespace

QString FloatToLocaleText(float value) { return shortestText(value); }

QString DoubleToLocaleText(double value) { return shortestText(value); }

}  // namespace corvix
