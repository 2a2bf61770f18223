#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace corvix {

// Number texts of parameter values. Integers are read the way EDS files write them: an optional
// sign, decimal digits, or hexadecimal with a "0x", "x" or "$" prefix (hexadecimal may fill all
// bits of the width, so 0xFFFFFFFF read as 32 bits is -1). Floating-point texts use the decimal
// separator of the default locale (QLocale()).

// Raise ConversionError "'text' is not a valid integer value" when text is no integer of that
// width.
int64_t TextToInt64(const QString& text);
int32_t TextToInt32(const QString& text);

// The same without raising.
std::optional<int64_t> TryTextToInt64(const QString& text);

// The decimal separator of the default locale.
QString LocaleDecimalSeparator();

// Every "." and "," of text turned into the locale's decimal separator.
QString ToLocaleDecimalSeparator(const QString& text);

// A floating-point text in the locale's format ("1,5" in a German locale; exponents allowed,
// no group separators). Raises ConversionError "'text' is not a valid floating point value".
double LocaleTextToFloat(const QString& text);

// The shortest text that reads back to the same number, with the locale's decimal separator.
QString FloatToLocaleText(float value);
QString DoubleToLocaleText(double value);

}  // namespace corvix
