#pragma once

#include "device/DeviceNetDataTypes.h"

namespace corvix {

// REAL and LREAL. Values are floating-point texts with the locale's decimal separator.
class TDevFloatTDataTypes : public TDeviceNetDataTypes {
public:
    QString ValidateString(const QString& text) const override;
    QString GetTypeMinimumValue() const override;
    QString GetTypeMaximumValue() const override;
    QByteArray ConvertValueToNetWorkFormat() const override;
    QString ConvertFromNetWorkFormatToValue(const QByteArray& bytes) override;
    QString GetValue(const QString& raw) const override;
    QString Validate(const QString& userText) override;

protected:
    // byteCount: 4 for IEEE 754 single, 8 for double.
    TDevFloatTDataTypes(int byteCount, const DataTypeDefinition& definition);

private:
    QString shortestText(double value) const;

    int byteCount_;
};

class TDevREAL_CA : public TDevFloatTDataTypes {
public:
    explicit TDevREAL_CA(const DataTypeDefinition& definition);

protected:
    TDevREAL_CA(int byteCount, const DataTypeDefinition& definition);
};

class TDevLREAL_CB : public TDevREAL_CA {
public:
    explicit TDevLREAL_CB(const DataTypeDefinition& definition);
};

}  // namespace corvix
