#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace corvix {

// "0b101" / "0B101" (more than the prefix) becomes its decimal text, "5"; any other text comes
// back unchanged. Raises ConversionError "%s is not a valid binary value" for a binary text with
// a digit other than 0/1 or more than 64 digits.
QString BinaryToDecimalText(const QString& text);

// Binary digits, optionally written "0B..." or "...B", to a 64-bit value (64 ones give -1).
// Raises ConversionError for any other character; an empty digit string gives 0.
int64_t BinaryTextToInt64(const QString& text);

// "0B" + binary digits without leading zeros ("0B0" for zero) of the low 8, 16 or 32 bits of
// value when bits is 8, 16 or 32, of all 64 bits otherwise.
QString IntToBinaryText(int bits, int64_t value);

// "41 42 43" -> the bytes "ABC": numbers of one or two hex digits, separated by single blanks
// (one trailing blank is tolerated, as the class/instance editor writes it). Raises
// ConversionError for anything else.
QByteArray HexTextToBytes(const QString& text);

// "1" for true, "0" for false.
QString BoolToText(bool value);

}  // namespace corvix
