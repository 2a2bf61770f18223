#include "device/FloatDataTypes.h"

#include "device/DataTypeErrors.h"
#include "device/NumberText.h"

#include <QLocale>

#include <cstring>

namespace corvix {

namespace {

// The limits are kept as the program has always written them, with a decimal comma, and take
// the locale's separator when used.
const char* const kRealMaximum = "3,40282347E+38";
const char* const kLrealMaximum = "1,7976931348623158E+308";

QString fixedText(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', 2);
}

}  // namespace

TDevFloatTDataTypes::TDevFloatTDataTypes(int byteCount, const DataTypeDefinition& definition)
    : byteCount_(byteCount)
{
    const QString defaultText = ToLocaleDecimalSeparator(definition.defaultValue);
    const QString minimum = ToLocaleDecimalSeparator(definition.minimum);
    const QString maximum = ToLocaleDecimalSeparator(definition.maximum);
    minimum_ = minimum.isEmpty() ? TDevFloatTDataTypes::GetTypeMinimumValue()
                                 : TDevFloatTDataTypes::ValidateString(minimum);
    maximum_ = maximum.isEmpty() ? TDevFloatTDataTypes::GetTypeMaximumValue()
                                 : TDevFloatTDataTypes::ValidateString(maximum);
    if (LocaleTextToFloat(minimum_) > LocaleTextToFloat(maximum_)) {
        RaiseMinimumAboveMaximum();
    }
    const double defaultNumber = LocaleTextToFloat(defaultText);
    if (defaultNumber < LocaleTextToFloat(minimum_) || defaultNumber > LocaleTextToFloat(maximum_)) {
        RaiseDefaultOutsideRange();
    }
    value_ = defaultText;
    defaultValue_ = defaultText;
}

QString TDevFloatTDataTypes::ValidateString(const QString& text) const
{
    const double number = LocaleTextToFloat(text);
    const double minimum = LocaleTextToFloat(GetTypeMinimumValue());
    const double maximum = LocaleTextToFloat(GetTypeMaximumValue());
    if (number < minimum || number > maximum) {
        RaiseOutsideTypeRange(fixedText(number), fixedText(minimum), fixedText(maximum));
    }
    return text;
}

QString TDevFloatTDataTypes::GetTypeMinimumValue() const
{
    return QStringLiteral("-") + GetTypeMaximumValue();
}

QString TDevFloatTDataTypes::GetTypeMaximumValue() const
{
    return ToLocaleDecimalSeparator(
        QString::fromLatin1(byteCount_ == 4 ? kRealMaximum : kLrealMaximum));
}

QString TDevFloatTDataTypes::shortestText(double value) const
{
    return byteCount_ == 4 ? FloatToLocaleText(float(value)) : DoubleToLocaleText(value);
}

QByteArray TDevFloatTDataTypes::ConvertValueToNetWorkFormat() const
{
    const double number = LocaleTextToFloat(value_);
    QByteArray bytes(byteCount_, '\0');
    uint64_t bits = 0;
    if (byteCount_ == 4) {
        const float single = float(number);
        uint32_t singleBits = 0;
        std::memcpy(&singleBits, &single, sizeof single);
        bits = singleBits;
    } else {
        std::memcpy(&bits, &number, sizeof number);
    }
    for (int i = 0; i < byteCount_; ++i) {
        bytes[i] = char(bits >> (8 * i));
    }
    return bytes;
}

QString TDevFloatTDataTypes::ConvertFromNetWorkFormatToValue(const QByteArray& bytes)
{
    if (bytes.size() == byteCount_) {
        uint64_t bits = 0;
        for (qsizetype i = bytes.size() - 1; i >= 0; --i) {
            bits = (bits << 8) | uint8_t(bytes[i]);
        }
        if (byteCount_ == 4) {
            const auto singleBits = uint32_t(bits);
            float single = 0;
            std::memcpy(&single, &singleBits, sizeof single);
            value_ = FloatToLocaleText(single);
        } else {
            double number = 0;
            std::memcpy(&number, &bits, sizeof number);
            value_ = DoubleToLocaleText(number);
        }
    }
    return GetValue(value_);
}

QString TDevFloatTDataTypes::GetValue(const QString& raw) const { return raw; }

QString TDevFloatTDataTypes::Validate(const QString& userText)
{
    const QString text = ToLocaleDecimalSeparator(userText);
    if (!text.isEmpty()) {
        const double number = LocaleTextToFloat(text);
        if (number >= LocaleTextToFloat(minimum_) && number <= LocaleTextToFloat(maximum_)) {
            value_ = shortestText(number);
        }
    }
    return GetValue(value_);
}

TDevREAL_CA::TDevREAL_CA(const DataTypeDefinition& definition)
    : TDevFloatTDataTypes(4, definition)
{
}

TDevREAL_CA::TDevREAL_CA(int byteCount, const DataTypeDefinition& definition)
    : TDevFloatTDataTypes(byteCount, definition)
{
}

TDevLREAL_CB::TDevLREAL_CB(const DataTypeDefinition& definition) : TDevREAL_CA(8, definition) {}

}  // namespace corvix
