#pragma once

#include "device/DeviceNetDataTypes.h"

#include <cstdint>

namespace corvix {

// How an integer type travels and shows.
struct CardinalLayout {
    enum class Display {
        Scaled,  // the EDS scaling applied: (raw + offset) x base x multiplier / divisor
        Raw,     // the raw number as it is (64-bit types)
        Bool,    // "True" / "False"
        Bits,    // binary digits, "0B101"
    };
    int bits;  // width on the network: 8, 16, 32 or 64
    bool isSigned;
    int64_t typeMinimum;
    int64_t typeMaximum;
    int checkBits;  // width a text is read with when checked against the type limits: 32 or 64
    Display display;
};

// Integer and bit-string types. The members differ only in their layout, so the behaviour lives
// here and each CIP type is a named class that supplies its layout.
class TDevCardinalDataTypes : public TDeviceNetDataTypes {
public:
    QString ValidateString(const QString& text) const override;
    QString GetTypeMinimumValue() const override;
    QString GetTypeMaximumValue() const override;
    QByteArray ConvertValueToNetWorkFormat() const override;
    QString ConvertFromNetWorkFormatToValue(const QByteArray& bytes) override;
    QString GetValue(const QString& raw) const override;
    QString Validate(const QString& userText) override;

    // text read as this type's integer: cut to 8 or 16 bits for SINT and INT, read as 32 bits for
    // DINT, as 64 bits for every other type. Raises ConversionError for a non-number.
    int64_t StringToInteger(const QString& text) const;

    const CardinalLayout& Layout() const { return layout_; }
    const QString& ScalingDivisor() const { return divisorText_; }
    const QString& ScalingMultiplier() const { return multiplierText_; }
    const QString& ScalingBase() const { return baseText_; }
    const QString& ScalingOffset() const { return offsetText_; }
    const QString& DecimalPrecision() const { return precisionText_; }

protected:
    TDevCardinalDataTypes(const CardinalLayout& layout, const DataTypeDefinition& definition);

private:
    QString boundOrTypeLimit(const QString& bound, const QString& typeLimit) const;
    bool withinBounds(int64_t raw) const;
    int64_t cutForDisplay(int64_t raw) const;
    QString scaledText(int64_t raw) const;
    QString validateScaled(const QString& userText);
    QString validateBool(const QString& userText);
    QString validateBits(const QString& userText);

    CardinalLayout layout_;
    QString divisorText_, multiplierText_, baseText_, offsetText_, precisionText_;
    int32_t divisor_ = 1, multiplier_ = 1, base_ = 1, offset_ = 0, precision_ = 0;
};

// One class per CIP elementary type; the protected constructors let the types that share a
// parent's encoding (bit strings, time spans) pass their own layout.
#define CORVIX_CARDINAL_TYPE(Name, Parent)                                                  \
    class Name : public Parent {                                                            \
    public:                                                                                 \
        explicit Name(const DataTypeDefinition& definition);                                \
                                                                                            \
    protected:                                                                              \
        Name(const CardinalLayout& layout, const DataTypeDefinition& definition)            \
            : Parent(layout, definition)                                                    \
        {                                                                                   \
        }                                                                                   \
    };

CORVIX_CARDINAL_TYPE(TDevBOOL_C1, TDevCardinalDataTypes)
CORVIX_CARDINAL_TYPE(TDevSINT_C2, TDevCardinalDataTypes)
CORVIX_CARDINAL_TYPE(TDevINT_C3, TDevCardinalDataTypes)
CORVIX_CARDINAL_TYPE(TDevDINT_C4, TDevCardinalDataTypes)
CORVIX_CARDINAL_TYPE(TDevLINT_C5, TDevCardinalDataTypes)
CORVIX_CARDINAL_TYPE(TDevUSINT_C6, TDevCardinalDataTypes)
CORVIX_CARDINAL_TYPE(TDevUINT_C7, TDevCardinalDataTypes)
CORVIX_CARDINAL_TYPE(TDevUDINT_C8, TDevCardinalDataTypes)
CORVIX_CARDINAL_TYPE(TDevBYTE_D1, TDevUSINT_C6)
CORVIX_CARDINAL_TYPE(TDevWORD_D2, TDevUINT_C7)
CORVIX_CARDINAL_TYPE(TDevDWORD_D3, TDevUDINT_C8)
CORVIX_CARDINAL_TYPE(TDevFTIME_D6, TDevDINT_C4)
CORVIX_CARDINAL_TYPE(TDevLTIME_D7, TDevLINT_C5)
CORVIX_CARDINAL_TYPE(TDevITIME_D8, TDevINT_C3)
CORVIX_CARDINAL_TYPE(TDevTIME_DB, TDevDINT_C4)

#undef CORVIX_CARDINAL_TYPE

}  // namespace corvix
