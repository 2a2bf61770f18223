#pragma once

#include "app/CorvixError.h"

namespace corvix {

// A value lies outside the limits of its data type (an integer or floating-point range check).
// Kept apart from ConversionError so a caller can tell "not a number" from "too big".
class RangeError : public CorvixError {
public:
    using CorvixError::CorvixError;
};

// The faults every data type reports alike while it is built from an EDS definition.
[[noreturn]] inline void RaiseMinimumAboveMaximum()
{
    throw CorvixError(QStringLiteral("Defined minimum value is greater than defined maximum value"));
}

[[noreturn]] inline void RaiseDefaultOutsideRange()
{
    throw CorvixError(QStringLiteral("Defined default value is not within min/max range"));
}

// "300 is not within the valid range of 0..255"
[[noreturn]] inline void RaiseOutsideTypeRange(const QString& value, const QString& minimum,
                                               const QString& maximum)
{
    throw RangeError(
        QStringLiteral("%1 is not within the valid range of %2..%3").arg(value, minimum, maximum));
}

}  // namespace corvix
