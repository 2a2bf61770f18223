#include "device/CardinalDataTypes.h"

#include "app/Conversions.h"
#include "device/DataTypeErrors.h"
#include "device/NumberText.h"

#include <QLocale>

#include <cfloat>
#include <cmath>
#include <limits>

namespace corvix {

namespace {

using Display = CardinalLayout::Display;

constexpr int64_t kInt64Min = std::numeric_limits<int64_t>::min();
constexpr int64_t kInt64Max = std::numeric_limits<int64_t>::max();

constexpr CardinalLayout kBool{8, false, 0, 1, 32, Display::Bool};
constexpr CardinalLayout kSint{8, true, -128, 127, 32, Display::Scaled};
constexpr CardinalLayout kInt{16, true, -32768, 32767, 32, Display::Scaled};
constexpr CardinalLayout kDint{32, true, -2147483648LL, 2147483647LL, 32, Display::Scaled};
constexpr CardinalLayout kLint{64, true, kInt64Min, kInt64Max, 64, Display::Raw};
constexpr CardinalLayout kUsint{8, false, 0, 255, 32, Display::Scaled};
constexpr CardinalLayout kUint{16, false, 0, 65535, 32, Display::Scaled};
constexpr CardinalLayout kUdint{32, false, 0, 4294967295LL, 64, Display::Scaled};

constexpr CardinalLayout withDisplay(CardinalLayout layout, Display display)
{
    layout.display = display;
    return layout;
}

bool isTrueText(const QString& text)
{
    return text == QLatin1String("1") || text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}

bool isFalseText(const QString& text)
{
    return text == QLatin1String("0") ||
           text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0;
}

// value x 10^decimals as a fixed-point text with the locale's separator: 123 with 1 gives "12.3".
QString fixedPointText(int64_t scaled, int decimals)
{
    const bool negative = scaled < 0;
    QString digits = QString::number(negative ? uint64_t{0} - uint64_t(scaled) : uint64_t(scaled));
    if (decimals > 0) {
        if (digits.size() <= decimals) {
            digits = QString(decimals + 1 - digits.size(), u'0') + digits;
        }
        digits.insert(digits.size() - decimals, LocaleDecimalSeparator());
    }
    return negative ? QStringLiteral("-") + digits : digits;
}

}  // namespace

TDevCardinalDataTypes::TDevCardinalDataTypes(const CardinalLayout& layout,
                                             const DataTypeDefinition& definition)
    : layout_(layout)
{
    const QString defaultText =
        TDevCardinalDataTypes::ValidateString(BinaryToDecimalText(definition.defaultValue));
    value_ = defaultText;
    minimum_ = boundOrTypeLimit(definition.minimum, TDevCardinalDataTypes::GetTypeMinimumValue());
    maximum_ = boundOrTypeLimit(definition.maximum, TDevCardinalDataTypes::GetTypeMaximumValue());
    if (StringToInteger(minimum_) > StringToInteger(maximum_)) {
        RaiseMinimumAboveMaximum();
    }
    if (!withinBounds(StringToInteger(defaultText))) {
        RaiseDefaultOutsideRange();
    }
    defaultValue_ = defaultText;

    divisor_ = TextToInt32(definition.divisor);
    multiplier_ = TextToInt32(definition.multiplier);
    base_ = TextToInt32(definition.base);
    offset_ = TextToInt32(definition.offset);
    precision_ = TextToInt32(definition.precision);
    // A zero factor would divide by zero when a value is shown or typed in.
    if (layout_.display == Display::Scaled && (divisor_ == 0 || multiplier_ == 0 || base_ == 0)) {
        throw CorvixError(QStringLiteral("Scaling divisor, multiplier and base must not be 0"));
    }
    divisorText_ = definition.divisor;
    multiplierText_ = definition.multiplier;
    baseText_ = definition.base;
    offsetText_ = definition.offset;
    precisionText_ = definition.precision;
}

QString TDevCardinalDataTypes::boundOrTypeLimit(const QString& bound,
                                                const QString& typeLimit) const
{
    if (bound.isEmpty()) {
        return typeLimit;
    }
    return TDevCardinalDataTypes::ValidateString(BinaryToDecimalText(bound));
}

bool TDevCardinalDataTypes::withinBounds(int64_t raw) const
{
    return raw >= StringToInteger(minimum_) && raw <= StringToInteger(maximum_);
}

int64_t TDevCardinalDataTypes::StringToInteger(const QString& text) const
{
    if (layout_.isSigned && layout_.bits == 8) {
        return int8_t(TextToInt64(text));
    }
    if (layout_.isSigned && layout_.bits == 16) {
        return int16_t(TextToInt64(text));
    }
    if (layout_.isSigned && layout_.bits == 32) {
        return TextToInt32(text);
    }
    return TextToInt64(text);
}

QString TDevCardinalDataTypes::ValidateString(const QString& text) const
{
    if (layout_.display == Display::Bool) {
        if (isTrueText(text)) {
            return QStringLiteral("1");
        }
        if (isFalseText(text)) {
            return QStringLiteral("0");
        }
        std::optional<int64_t> number;
        try {
            number = TryTextToInt64(BinaryToDecimalText(text));
        } catch (const ConversionError&) {
        }
        if (number == 1 || number == 0) {
            return QString::number(*number);
        }
        throw CorvixError(QStringLiteral("%1 is not a valid Boolean value").arg(text));
    }
    const int64_t number = layout_.checkBits == 32 ? TextToInt32(text) : TextToInt64(text);
    if (number < layout_.typeMinimum || number > layout_.typeMaximum) {
        RaiseOutsideTypeRange(text, GetTypeMinimumValue(), GetTypeMaximumValue());
    }
    return text;
}

QString TDevCardinalDataTypes::GetTypeMinimumValue() const
{
    return QString::number(layout_.typeMinimum);
}

QString TDevCardinalDataTypes::GetTypeMaximumValue() const
{
    return QString::number(layout_.typeMaximum);
}

QByteArray TDevCardinalDataTypes::ConvertValueToNetWorkFormat() const
{
    uint64_t bits = 0;
    if (layout_.display == Display::Bool) {
        bits = isTrueText(value_) ? 1 : 0;
    } else {
        bits = uint64_t(TextToInt64(value_));
    }
    QByteArray bytes;
    for (int i = 0; i < layout_.bits / 8; ++i) {
        bytes.append(char(bits >> (8 * i)));
    }
    return bytes;
}

QString TDevCardinalDataTypes::ConvertFromNetWorkFormatToValue(const QByteArray& bytes)
{
    // A reply of the wrong size is no value of this type; the old value stays.
    if (bytes.size() == layout_.bits / 8) {
        if (layout_.display == Display::Bool) {
            value_ = bytes[0] == 1 ? QStringLiteral("1") : QStringLiteral("0");
        } else {
            uint64_t bits = 0;
            for (qsizetype i = bytes.size() - 1; i >= 0; --i) {
                bits = (bits << 8) | uint8_t(bytes[i]);
            }
            if (layout_.isSigned && layout_.bits < 64 && (bits >> (layout_.bits - 1)) & 1) {
                bits |= ~uint64_t{0} << layout_.bits;  // sign extension
            }
            value_ = layout_.isSigned ? QString::number(int64_t(bits)) : QString::number(bits);
        }
    }
    return GetValue(value_);
}

int64_t TDevCardinalDataTypes::cutForDisplay(int64_t raw) const
{
    switch (layout_.bits) {
        case 8: return layout_.isSigned ? int64_t(int8_t(raw)) : int64_t(uint8_t(raw));
        case 16: return layout_.isSigned ? int64_t(int16_t(raw)) : int64_t(uint16_t(raw));
        case 32: return layout_.isSigned ? int64_t(int32_t(raw)) : raw;
        default: return raw;
    }
}

QString TDevCardinalDataTypes::scaledText(int64_t raw) const
{
    // display = (raw + offset) x base x multiplier / (divisor x 10^precision), shown with
    // `precision` decimals. The number shown times 10^precision is (raw + offset) x base x
    // multiplier / divisor; rounding that to an integer and placing the separator keeps the
    // decimals exact instead of at the mercy of binary fractions.
    const int decimals = precision_ > 0 ? precision_ : 0;
    const long double shifted = (static_cast<long double>(raw) + offset_) * base_ * multiplier_ /
                                static_cast<long double>(divisor_);
    const long double rounded = std::round(shifted);
    if (std::fabs(rounded) < 9.0e18L) {
        return fixedPointText(static_cast<int64_t>(rounded), decimals);
    }
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(double(shifted / std::pow(10.0L, decimals)), 'g', 18);
}

QString TDevCardinalDataTypes::GetValue(const QString& raw) const
{
    switch (layout_.display) {
        case Display::Bool: return isTrueText(raw) ? QStringLiteral("True") : QStringLiteral("False");
        case Display::Raw: return raw;
        case Display::Bits: return IntToBinaryText(layout_.bits, TextToInt64(raw));
        case Display::Scaled: break;
    }
    return scaledText(cutForDisplay(TextToInt64(raw)));
}

QString TDevCardinalDataTypes::Validate(const QString& userText)
{
    if (userText.isEmpty()) {
        return layout_.display == Display::Bits ? GetValue(value_) : value_;
    }
    switch (layout_.display) {
        case Display::Bool: return validateBool(userText);
        case Display::Bits: return validateBits(userText);
        case Display::Raw: {
            const int64_t raw = TextToInt64(userText);
            if (withinBounds(raw)) {
                value_ = QString::number(raw);
            }
            return value_;
        }
        case Display::Scaled: break;
    }
    return validateScaled(userText);
}

QString TDevCardinalDataTypes::validateScaled(const QString& userText)
{
    const long double entered = LocaleTextToFloat(userText);
    const long double scale = precision_ > 0 ? std::pow(10.0L, precision_) : 1.0L;
    long double raw = entered * divisor_ * scale / (static_cast<long double>(multiplier_) * base_) -
                      offset_;
    // The number typed is a decimal; its binary image may land a hair below the integer it
    // stands for (0.29 x 100 = 28.999...). Cutting toward zero must not lose that unit.
    const long double nearest = std::round(raw);
    const long double tolerance = std::fmax(1e-9L, std::fabs(raw) * 4 * DBL_EPSILON);
    if (std::fabs(raw - nearest) <= tolerance) {
        raw = nearest;
    }
    raw = std::trunc(raw);
    // The raw value is compared uncut: 200 typed into a SINT must not wrap to -56 and pass.
    if (raw >= -9.2e18L && raw <= 9.2e18L && withinBounds(static_cast<int64_t>(raw))) {
        value_ = QString::number(static_cast<int64_t>(raw));
    }
    return value_;
}

QString TDevCardinalDataTypes::validateBool(const QString& userText)
{
    // The raw value stays a number ("1"/"0") whatever word the user typed, so that the network
    // file and the enumeration display keep reading it as one.
    if (isTrueText(userText) && isTrueText(maximum_)) {
        value_ = QStringLiteral("1");
    } else if (isFalseText(userText) && isFalseText(minimum_)) {
        value_ = QStringLiteral("0");
    }
    return value_;
}

QString TDevCardinalDataTypes::validateBits(const QString& userText)
{
    const int64_t raw = BinaryTextToInt64(userText);
    if (withinBounds(raw)) {
        value_ = QString::number(raw);
    }
    return GetValue(value_);
}

TDevBOOL_C1::TDevBOOL_C1(const DataTypeDefinition& d) : TDevCardinalDataTypes(kBool, d) {}
TDevSINT_C2::TDevSINT_C2(const DataTypeDefinition& d) : TDevCardinalDataTypes(kSint, d) {}
TDevINT_C3::TDevINT_C3(const DataTypeDefinition& d) : TDevCardinalDataTypes(kInt, d) {}
TDevDINT_C4::TDevDINT_C4(const DataTypeDefinition& d) : TDevCardinalDataTypes(kDint, d) {}
TDevLINT_C5::TDevLINT_C5(const DataTypeDefinition& d) : TDevCardinalDataTypes(kLint, d) {}
TDevUSINT_C6::TDevUSINT_C6(const DataTypeDefinition& d) : TDevCardinalDataTypes(kUsint, d) {}
TDevUINT_C7::TDevUINT_C7(const DataTypeDefinition& d) : TDevCardinalDataTypes(kUint, d) {}
TDevUDINT_C8::TDevUDINT_C8(const DataTypeDefinition& d) : TDevCardinalDataTypes(kUdint, d) {}
TDevBYTE_D1::TDevBYTE_D1(const DataTypeDefinition& d)
    : TDevUSINT_C6(withDisplay(kUsint, Display::Bits), d)
{
}
TDevWORD_D2::TDevWORD_D2(const DataTypeDefinition& d)
    : TDevUINT_C7(withDisplay(kUint, Display::Bits), d)
{
}
TDevDWORD_D3::TDevDWORD_D3(const DataTypeDefinition& d)
    : TDevUDINT_C8(withDisplay(kUdint, Display::Bits), d)
{
}
TDevFTIME_D6::TDevFTIME_D6(const DataTypeDefinition& d) : TDevDINT_C4(kDint, d) {}
TDevLTIME_D7::TDevLTIME_D7(const DataTypeDefinition& d) : TDevLINT_C5(kLint, d) {}
TDevITIME_D8::TDevITIME_D8(const DataTypeDefinition& d) : TDevINT_C3(kInt, d) {}
TDevTIME_DB::TDevTIME_DB(const DataTypeDefinition& d) : TDevDINT_C4(kDint, d) {}

}  // namespace corvix
