#pragma once

#include "device/DeviceNetDataTypes.h"

namespace corvix {

// Character strings, one Windows-1252 byte per character on the network behind a length count
// of two bytes (STRING, STRING2, STRINGN) or one byte (SHORT_STRING). Minimum() and Maximum()
// are lengths.
class TDevStringDataTypesTypes : public TDeviceNetDataTypes {
public:
    QString ValidateString(const QString& text) const override;
    QString GetTypeMinimumValue() const override;
    QString GetTypeMaximumValue() const override;
    QByteArray ConvertValueToNetWorkFormat() const override;
    QString ConvertFromNetWorkFormatToValue(const QByteArray& bytes) override;
    QString GetValue(const QString& raw) const override;
    QString Validate(const QString& userText) override;

protected:
    // countBytes: size of the length count in front of the characters, 1 or 2.
    TDevStringDataTypesTypes(int countBytes, const DataTypeDefinition& definition);

private:
    int countBytes_;
};

class TDevSTRING_D0 : public TDevStringDataTypesTypes {
public:
    explicit TDevSTRING_D0(const DataTypeDefinition& definition);
};

class TDevSTRING2_D5 : public TDevSTRING_D0 {
public:
    using TDevSTRING_D0::TDevSTRING_D0;
};

class TDevSTRINGN_D9 : public TDevSTRING_D0 {
public:
    using TDevSTRING_D0::TDevSTRING_D0;
};

class TDevSHORT_STRING_DA : public TDevStringDataTypesTypes {
public:
    explicit TDevSHORT_STRING_DA(const DataTypeDefinition& definition);
};

}  // namespace corvix
