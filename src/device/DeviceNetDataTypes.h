#pragma once

#include <QByteArray>
#include <QString>

namespace corvix {

// What an EDS parameter entry says about its value: the default and limits as written (empty
// limits take the type's own), and for integer types the scaling. Texts arrive with their
// decimal separators already turned into the locale's.
struct DataTypeDefinition {
    QString defaultValue;
    QString minimum;
    QString maximum;
    QString divisor = QStringLiteral("1");
    QString multiplier = QStringLiteral("1");
    QString base = QStringLiteral("1");
    QString offset = QStringLiteral("0");
    QString precision = QStringLiteral("0");
};

// The value of one device parameter in one CIP elementary data type. Values are texts: a raw
// value is the decimal text of the integer that travels on the network (for REAL and LREAL the
// floating-point text, for strings the string itself). The object checks texts against its
// limits, turns raw values into what the user sees and back, and converts the current value to
// and from the bytes of an explicit message.
//
// Construction raises CorvixError (RangeError for a range check, ConversionError for a text that
// is no number) when the definition is inconsistent.
class TDeviceNetDataTypes {
public:
    virtual ~TDeviceNetDataTypes() = default;
    TDeviceNetDataTypes(const TDeviceNetDataTypes&) = delete;
    TDeviceNetDataTypes& operator=(const TDeviceNetDataTypes&) = delete;

    // Checks text against the type's own limits and returns it (normalised where the type has a
    // preferred spelling); raises when it lies outside.
    virtual QString ValidateString(const QString& text) const = 0;
    virtual QString GetTypeMinimumValue() const = 0;
    virtual QString GetTypeMaximumValue() const = 0;

    // The bytes of Value() in an explicit message (CIP order, low byte first).
    virtual QByteArray ConvertValueToNetWorkFormat() const = 0;
    // Takes a value received from the device when the byte count fits the type; otherwise the
    // value stays. Returns the display text of the (new) value.
    virtual QString ConvertFromNetWorkFormatToValue(const QByteArray& bytes) = 0;

    // The text the user sees for a raw value.
    virtual QString GetValue(const QString& raw) const = 0;
    // Turns what the user typed into a raw value and keeps it when it lies within Minimum() and
    // Maximum(); otherwise the old value stays. Never raises for an out-of-range value, but does
    // for a text that is no number where one is needed. Returns the resulting text.
    virtual QString Validate(const QString& userText) = 0;

    const QString& Value() const { return value_; }
    const QString& Minimum() const { return minimum_; }
    const QString& Maximum() const { return maximum_; }
    const QString& DefaultValue() const { return defaultValue_; }

    // Loads a raw value as stored in a network or device file, without checks.
    void SetValue(const QString& raw) { value_ = raw; }

protected:
    TDeviceNetDataTypes() = default;

    QString value_;
    QString minimum_;
    QString maximum_;
    QString defaultValue_;
};

}  // namespace corvix
