#include "device/DevParameterClass.h"

#include "app/Conversions.h"
#include "app/CorvixError.h"
#include "app/Windows1252.h"
#include "device/CardinalDataTypes.h"
#include "device/DataTypeFactory.h"
#include "device/NumberText.h"
#include "device/StringDataTypes.h"

namespace corvix {

namespace {

// Descriptor bits of a Parameter object instance (CIP Parameter object, attribute 4).
constexpr int64_t kScalingDefined = 0x0004;
constexpr int64_t kReadOnly = 0x0010;
constexpr int64_t kPrecisionDefined = 0x0040;
constexpr int64_t kNotKept = 0x0200;

constexpr int kRequiredFields = 12;

QString hexByte(int value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

QString withoutBinaryPrefix(const QString& text)
{
    return text.startsWith(QLatin1String("0B")) ? text.mid(2) : text;
}

bool isInteger(const QString& text) { return TryTextToInt64(text).has_value(); }

qsizetype indexIgnoringCase(const QStringList& strings, const QString& text)
{
    for (qsizetype i = 0; i < strings.size(); ++i) {
        if (strings[i].compare(text, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

}  // namespace

uint32_t StateColourRgb(StateColour colour)
{
    switch (colour) {
        case StateColour::Navy: return 0x000080;
        case StateColour::Purple: return 0x800080;
        case StateColour::Gray: return 0x808080;
        case StateColour::Red: break;
    }
    return 0xFF0000;
}

TDevParameterClass::TDevParameterClass(const QByteArrayList& fields,
                                       const QByteArrayList& enumFields, int number)
    : number_(number),
      readReplyThunk_(
          [this](uint32_t, uint8_t transferStatus, uint8_t service, uint32_t length,
                 const uint8_t* data) { readReply(transferStatus, service, length, data); }),
      writeReplyThunk_(
          [this](uint32_t, uint8_t transferStatus, uint8_t service, uint32_t length,
                 const uint8_t* data) { writeReply(transferStatus, service, length, data); })
{
    if (fields.size() < kRequiredFields) {
        throw CorvixError(
            QStringLiteral("Too few fields in parameter definition of Parameter %1").arg(number));
    }
    // The instance must fit the two bytes of the request path's instance segment.
    if (number < 1 || number > 0xFFFF) {
        throw CorvixError(QStringLiteral("Parameter number %1 is out of range").arg(number));
    }
    const auto field = [&fields](int oneBased) {
        return oneBased <= fields.size() ? DecodeWindows1252(fields[oneBased - 1]) : QString();
    };

    reservedField_ = field(1);
    linkPathSize_ = field(2);
    requestPath_ = field(3);
    descriptor_ = field(4);
    dataTypeCode_ = field(5);
    dataSize_ = field(6);
    displayName_ = QString::number(number) + QStringLiteral(": ") + field(7);
    units_ = field(8);
    helpText_ = field(9).replace(QLatin1String("\\n"), QLatin1String("\r "));
    minimumText_ = ToLocaleDecimalSeparator(field(10));
    maximumText_ = ToLocaleDecimalSeparator(field(11));
    defaultText_ = ToLocaleDecimalSeparator(field(12));
    multiplier_ = field(13);
    divisor_ = field(14);
    base_ = field(15);
    offset_ = field(16);
    multiplierLink_ = field(17);
    divisorLink_ = field(18);
    baseLink_ = field(19);
    offsetLink_ = field(20);
    precision_ = field(21);

    // The value attribute (1) of this instance of the Parameter object (class 0x0F).
    if (requestPath_.isEmpty()) {
        requestPath_ = QStringLiteral("20 0F 25 %1 %2 30 01")
                           .arg(hexByte(number & 0xFF), hexByte(number >> 8));
    }
    const std::optional<int64_t> code = TryTextToInt64(dataTypeCode_);
    // A number needs a default; an empty string is a default of its own.
    if (defaultText_.isEmpty() && !(code && IsStringDataTypeCode(*code))) {
        defaultText_ = QStringLiteral("0");
    }
    for (const QByteArray& text : enumFields) {
        enumStrings_ << DecodeWindows1252(text);
    }
    if (enumStrings_.isEmpty() && code && IsBoolDataTypeCode(*code)) {
        enumStrings_ << QStringLiteral("False") << QStringLiteral("True");
    }

    descriptorBits_ = TextToInt64(BinaryToDecimalText(descriptor_));
    applyScalingRules();
    stateColour_ = validColour();

    DataTypeDefinition definition;
    definition.defaultValue = defaultText_;
    definition.minimum = minimumText_;
    definition.maximum = maximumText_;
    definition.divisor = divisor_;
    definition.multiplier = multiplier_;
    definition.base = base_;
    definition.offset = offset_;
    definition.precision = precision_;
    if (code) {
        dataType_ = CreateDeviceNetDataType(*code, definition);
    }
    if (!dataType_) {
        throw CorvixError(QStringLiteral("Unsupported parameter data type in EDS-file"));
    }
    keepEnumStringsIfTheyFit();
}

TDevParameterClass::~TDevParameterClass() = default;

void TDevParameterClass::applyScalingRules()
{
    const auto one = QStringLiteral("1");
    const auto zero = QStringLiteral("0");
    if (descriptorBits_ & kScalingDefined) {
        for (QString* factor : {&multiplier_, &divisor_, &base_}) {
            if (factor->isEmpty() || *factor == zero) {
                *factor = one;
            }
        }
        if (offset_.isEmpty()) {
            offset_ = zero;
        }
        if (precision_.isEmpty() || !(descriptorBits_ & kPrecisionDefined)) {
            precision_ = zero;
        }
    } else {
        multiplier_ = divisor_ = base_ = one;
        offset_ = precision_ = zero;
    }
}

void TDevParameterClass::keepEnumStringsIfTheyFit()
{
    if (enumStrings_.isEmpty()) {
        completeHelpText();
        return;
    }
    const auto minimum = TryTextToInt64(dataType_->Minimum());
    const auto maximum = TryTextToInt64(dataType_->Maximum());
    if (minimum && maximum && isInteger(dataType_->DefaultValue()) &&
        *minimum + enumStrings_.size() == *maximum + 1) {
        completeHelpText();
        return;
    }
    // The strings do not name every value: show the number instead.
    enumStrings_.clear();
}

void TDevParameterClass::completeHelpText()
{
    const bool isBool = dynamic_cast<const TDevBOOL_C1*>(dataType_.get()) != nullptr;
    if (enumStrings_.isEmpty() && !isBool && !IsReadOnly() && helpText_.isEmpty()) {
        helpText_ = QStringLiteral("No EDS based help implemented for this parameter");
    }
    helpText_ = QStringLiteral("Default") + QStringLiteral(": ") +
                displayOf(dataType_->DefaultValue()) + u'\r' + QStringLiteral("Range: ") +
                displayOf(dataType_->Minimum()) + QStringLiteral(" ... ") +
                displayOf(dataType_->Maximum()) + u'\r' + u'\r' + helpText_;
}

bool TDevParameterClass::IsReadOnly() const { return descriptorBits_ & kReadOnly; }

bool TDevParameterClass::IsExcluded() const { return descriptorBits_ & kNotKept; }

StateColour TDevParameterClass::validColour() const
{
    return IsReadOnly() ? StateColour::Purple : StateColour::Navy;
}

QString TDevParameterClass::displayOf(const QString& raw) const
{
    return withoutBinaryPrefix(dataType_->GetValue(raw));
}

QString TDevParameterClass::GetDisplayValue()
{
    const QString& value = dataType_->Value();
    if (!enumStrings_.isEmpty()) {
        const auto number = TryTextToInt64(value);
        const auto minimum = TryTextToInt64(dataType_->Minimum());
        if (number && minimum && *number >= *minimum) {
            return enumStrings_.value(qsizetype(*number - *minimum));
        }
        stateColour_ = StateColour::Red;
        return dataType_->Minimum();
    }
    // A value loaded unchecked from a file may be no number at all; show it as it is.
    try {
        return displayOf(value);
    } catch (const CorvixError&) {
        stateColour_ = StateColour::Red;
        return value;
    }
}

QString TDevParameterClass::GetDisplayValueWithUnits()
{
    return GetDisplayValue() + u' ' + units_;
}

QString TDevParameterClass::SetFromUserText(const QString& text)
{
    if (!enumStrings_.isEmpty()) {
        const auto minimum = TryTextToInt64(dataType_->Minimum());
        const qsizetype index = indexIgnoringCase(enumStrings_, text);
        if (isInteger(dataType_->Value()) && minimum && index >= 0) {
            dataType_->SetValue(QString::number(*minimum + index));
            saved_ = false;
            synchronized_ = false;
        }
        return GetDisplayValue();
    }
    // Numbers may be typed with either separator; the characters of a string stay as typed.
    const bool isString = dynamic_cast<const TDevStringDataTypesTypes*>(dataType_.get()) != nullptr;
    dataType_->Validate(isString ? text : ToLocaleDecimalSeparator(text));
    saved_ = false;
    synchronized_ = false;
    return GetDisplayValueWithUnits();
}

QString TDevParameterClass::SetFromNetworkBytes(const QByteArray& bytes)
{
    dataType_->ConvertFromNetWorkFormatToValue(bytes);
    return GetDisplayValueWithUnits();
}

}  // namespace corvix
