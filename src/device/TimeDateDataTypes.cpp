#include "device/TimeDateDataTypes.h"

#include "app/Conversions.h"
#include "device/DataTypeErrors.h"
#include "device/NumberText.h"

#include <QDate>

namespace corvix {

namespace {

constexpr int64_t kMaxDays = 65535;
constexpr int64_t kMillisecondsPerDay = 86400000;
constexpr int64_t kMaxTimeOfDay = kMillisecondsPerDay - 1;
constexpr int64_t kMaxDateAndTime = (kMaxDays << 32) + kMaxTimeOfDay;

QDate epoch() { return QDate(1972, 1, 1); }

QString digitsOf(const QString& text)
{
    QString digits;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9') {
            digits += c;
        }
    }
    return digits;
}

QString dateText(int64_t days) { return epoch().addDays(days).toString(QStringLiteral("yyyy-MM-dd")); }

QString timeText(int64_t milliseconds)
{
    return QString::asprintf("%02lld:%02lld:%02lld.%03lld", (long long)(milliseconds / 3600000),
                             (long long)(milliseconds / 60000 % 60),
                             (long long)(milliseconds / 1000 % 60), (long long)(milliseconds % 1000));
}

// Days since 1972-01-01 of the date in digits[0..8): yyyymmdd.
int64_t daysOfDigits(const QString& digits, const QString& userText)
{
    const QDate date(digits.left(4).toInt(), digits.mid(4, 2).toInt(), digits.mid(6, 2).toInt());
    if (!date.isValid()) {
        throw ConversionError(QStringLiteral("'%1' is not a valid date").arg(userText));
    }
    return epoch().daysTo(date);
}

// Milliseconds of the time in digits: hhmmsszzz.
int64_t millisecondsOfDigits(const QString& digits)
{
    return digits.left(2).toLongLong() * 3600000 + digits.mid(2, 2).toLongLong() * 60000 +
           digits.mid(4, 2).toLongLong() * 1000 + digits.mid(6, 3).toLongLong();
}

}  // namespace

TDevTimeDateDataTypesTypes::TDevTimeDateDataTypesTypes(Kind kind,
                                                       const DataTypeDefinition& definition)
    : kind_(kind)
{
    const QString defaultText =
        TDevTimeDateDataTypesTypes::ValidateString(BinaryToDecimalText(definition.defaultValue));
    minimum_ =
        boundOrTypeLimit(definition.minimum, TDevTimeDateDataTypesTypes::GetTypeMinimumValue());
    maximum_ =
        boundOrTypeLimit(definition.maximum, TDevTimeDateDataTypesTypes::GetTypeMaximumValue());
    if (TextToInt64(minimum_) > TextToInt64(maximum_)) {
        RaiseMinimumAboveMaximum();
    }
    if (!withinBounds(TextToInt64(defaultText))) {
        RaiseDefaultOutsideRange();
    }
    value_ = defaultText;
    defaultValue_ = defaultText;
}

QString TDevTimeDateDataTypesTypes::boundOrTypeLimit(const QString& bound,
                                                     const QString& typeLimit) const
{
    if (bound.isEmpty()) {
        return typeLimit;
    }
    return TDevTimeDateDataTypesTypes::ValidateString(BinaryToDecimalText(bound));
}

bool TDevTimeDateDataTypesTypes::withinBounds(int64_t raw) const
{
    return raw >= TextToInt64(minimum_) && raw <= TextToInt64(maximum_);
}

int TDevTimeDateDataTypesTypes::byteCount() const
{
    switch (kind_) {
        case Kind::Date: return 2;
        case Kind::TimeOfDay: return 4;
        case Kind::DateAndTime: break;
    }
    return 6;
}

QString TDevTimeDateDataTypesTypes::ValidateString(const QString& text) const
{
    if (kind_ == Kind::Date) {
        const int32_t number = TextToInt32(text);
        if (number < 0 || number > kMaxDays) {
            RaiseOutsideTypeRange(QString::number(number), QStringLiteral("0"),
                                  QString::number(kMaxDays));
        }
        return text;
    }
    const int64_t number = TextToInt64(text);
    if (number < 0 || number > TextToInt64(GetTypeMaximumValue())) {
        RaiseOutsideTypeRange(text, GetTypeMinimumValue(), GetTypeMaximumValue());
    }
    return text;
}

QString TDevTimeDateDataTypesTypes::GetTypeMinimumValue() const { return QStringLiteral("0"); }

QString TDevTimeDateDataTypesTypes::GetTypeMaximumValue() const
{
    switch (kind_) {
        case Kind::Date: return QString::number(kMaxDays);
        case Kind::TimeOfDay: return QString::number(kMaxTimeOfDay);
        case Kind::DateAndTime: break;
    }
    return QString::number(kMaxDateAndTime);
}

QByteArray TDevTimeDateDataTypesTypes::ConvertValueToNetWorkFormat() const
{
    // Low bytes first; for DATE_AND_TIME that puts the milliseconds (low 4 bytes) before the
    // day count (next 2 bytes).
    const auto raw = uint64_t(TextToInt64(value_));
    QByteArray bytes;
    for (int i = 0; i < byteCount(); ++i) {
        bytes.append(char(raw >> (8 * i)));
    }
    return bytes;
}

QString TDevTimeDateDataTypesTypes::ConvertFromNetWorkFormatToValue(const QByteArray& bytes)
{
    if (bytes.size() == byteCount()) {
        uint64_t raw = 0;
        for (qsizetype i = bytes.size() - 1; i >= 0; --i) {
            raw = (raw << 8) | uint8_t(bytes[i]);
        }
        value_ = QString::number(raw);
    }
    return GetValue(value_);
}

QString TDevTimeDateDataTypesTypes::GetValue(const QString& raw) const
{
    const int64_t number = TextToInt64(raw);
    switch (kind_) {
        case Kind::Date: return dateText(number);
        case Kind::TimeOfDay: return timeText(number);
        case Kind::DateAndTime: break;
    }
    const int64_t days = number >> 32;
    const int64_t milliseconds = number & 0xFFFFFFFF;
    return dateText(days + milliseconds / kMillisecondsPerDay) + u'-' +
           timeText(milliseconds % kMillisecondsPerDay);
}

QString TDevTimeDateDataTypesTypes::Validate(const QString& userText)
{
    const QString digits = digitsOf(userText);
    std::optional<int64_t> raw;
    switch (kind_) {
        case Kind::Date:
            if (digits.size() >= 8) {
                raw = daysOfDigits(digits, userText);
                if (*raw < 0 || *raw > kMaxDays) {
                    raw.reset();
                }
            }
            break;
        case Kind::TimeOfDay:
            if (digits.size() >= 9) {
                raw = millisecondsOfDigits(digits);
                if (*raw > kMaxTimeOfDay) {
                    raw.reset();
                }
            }
            break;
        case Kind::DateAndTime:
            if (digits.size() >= 17) {
                const int64_t days = daysOfDigits(digits, userText);
                const int64_t milliseconds = millisecondsOfDigits(digits.mid(8));
                if (days >= 0 && days <= kMaxDays && milliseconds <= kMaxTimeOfDay) {
                    raw = (days << 32) + milliseconds;
                }
            }
            break;
    }
    if (raw && withinBounds(*raw)) {
        value_ = QString::number(*raw);
    }
    return GetValue(value_);
}

TDevDATE_CD::TDevDATE_CD(const DataTypeDefinition& definition)
    : TDevTimeDateDataTypesTypes(Kind::Date, definition)
{
}

TDevTIME_OF_DAY_CE::TDevTIME_OF_DAY_CE(const DataTypeDefinition& definition)
    : TDevTimeDateDataTypesTypes(Kind::TimeOfDay, definition)
{
}

TDevDATE_AND_TIME_CF::TDevDATE_AND_TIME_CF(const DataTypeDefinition& definition)
    : TDevTimeDateDataTypesTypes(Kind::DateAndTime, definition)
{
}

}  // namespace corvix
