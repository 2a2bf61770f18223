#pragma once

#include "device/DeviceNetDataTypes.h"

#include <cstdint>

namespace corvix {

// DATE (days since 1972-01-01), TIME_OF_DAY (milliseconds since midnight) and DATE_AND_TIME
// (days x 2^32 + milliseconds). The user types digits in any punctuation: "2000-01-01",
// "23:59:59.999", "2000-01-01-23:59:59.999".
class TDevTimeDateDataTypesTypes : public TDeviceNetDataTypes {
public:
    enum class Kind { Date, TimeOfDay, DateAndTime };

    QString ValidateString(const QString& text) const override;
    QString GetTypeMinimumValue() const override;
    QString GetTypeMaximumValue() const override;
    QByteArray ConvertValueToNetWorkFormat() const override;
    QString ConvertFromNetWorkFormatToValue(const QByteArray& bytes) override;
    QString GetValue(const QString& raw) const override;
    QString Validate(const QString& userText) override;

protected:
    TDevTimeDateDataTypesTypes(Kind kind, const DataTypeDefinition& definition);

private:
    QString boundOrTypeLimit(const QString& bound, const QString& typeLimit) const;
    bool withinBounds(int64_t raw) const;
    int byteCount() const;

    Kind kind_;
};

class TDevDATE_CD : public TDevTimeDateDataTypesTypes {
public:
    explicit TDevDATE_CD(const DataTypeDefinition& definition);
};

class TDevTIME_OF_DAY_CE : public TDevTimeDateDataTypesTypes {
public:
    explicit TDevTIME_OF_DAY_CE(const DataTypeDefinition& definition);
};

class TDevDATE_AND_TIME_CF : public TDevTimeDateDataTypesTypes {
public:
    explicit TDevDATE_AND_TIME_CF(const DataTypeDefinition& definition);
};

}  // namespace corvix
