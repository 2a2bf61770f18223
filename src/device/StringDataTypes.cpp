#include "device/StringDataTypes.h"

#include "app/Windows1252.h"
#include "device/DataTypeErrors.h"
#include "device/NumberText.h"

namespace corvix {

TDevStringDataTypesTypes::TDevStringDataTypesTypes(int countBytes,
                                                   const DataTypeDefinition& definition)
    : countBytes_(countBytes)
{
    const int32_t minimum = TextToInt32(definition.minimum);
    const int32_t maximum = TextToInt32(definition.maximum);
    if (minimum < 0 || maximum < 0) {
        throw CorvixError(QStringLiteral("Negative string length defined"));
    }
    if (maximum < minimum) {
        RaiseMinimumAboveMaximum();
    }
    if (definition.defaultValue.size() < minimum || definition.defaultValue.size() > maximum) {
        RaiseDefaultOutsideRange();
    }
    minimum_ = definition.minimum;
    maximum_ = definition.maximum;
    value_ = definition.defaultValue;
    defaultValue_ = definition.defaultValue;
}

QString TDevStringDataTypesTypes::ValidateString(const QString& text) const { return text; }

QString TDevStringDataTypesTypes::GetTypeMinimumValue() const { return QStringLiteral("0"); }

QString TDevStringDataTypesTypes::GetTypeMaximumValue() const
{
    return QString::number(countBytes_ == 1 ? 0xFF : 0xFFFF);
}

QByteArray TDevStringDataTypesTypes::ConvertValueToNetWorkFormat() const
{
    // The count must describe the characters that follow, so a value longer than the count can
    // express (only possible when loaded unchecked from a file) is cut to fit.
    const QByteArray characters = EncodeWindows1252(value_).left(countBytes_ == 1 ? 0xFF : 0xFFFF);
    QByteArray bytes;
    bytes.append(char(characters.size()));
    if (countBytes_ == 2) {
        bytes.append(char(characters.size() >> 8));
    }
    return bytes + characters;
}

QString TDevStringDataTypesTypes::ConvertFromNetWorkFormatToValue(const QByteArray& bytes)
{
    // The count says how many characters belong to the value; a reply shorter than that is
    // malformed and ignored, bytes after the counted characters are padding.
    if (bytes.size() >= countBytes_) {
        qsizetype count = uint8_t(bytes[0]);
        if (countBytes_ == 2) {
            count |= qsizetype(uint8_t(bytes[1])) << 8;
        }
        if (bytes.size() - countBytes_ >= count) {
            value_ = DecodeWindows1252(bytes.mid(countBytes_, count));
        }
    }
    return GetValue(value_);
}

QString TDevStringDataTypesTypes::GetValue(const QString& raw) const { return raw; }

QString TDevStringDataTypesTypes::Validate(const QString& userText)
{
    if (userText.size() >= TextToInt32(minimum_) && userText.size() <= TextToInt32(maximum_)) {
        value_ = userText;
    }
    return value_;
}

TDevSTRING_D0::TDevSTRING_D0(const DataTypeDefinition& definition)
    : TDevStringDataTypesTypes(2, definition)
{
}

TDevSHORT_STRING_DA::TDevSHORT_STRING_DA(const DataTypeDefinition& definition)
    : TDevStringDataTypesTypes(1, definition)
{
}

}  // namespace corvix
