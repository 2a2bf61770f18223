#pragma once

#include <QByteArray>
#include <QByteArrayList>

#include <cstdint>

namespace corvix {

// Readers that pick the value of a keyword ("VendCode=") out of normalised EDS text, searching
// buffer[start, end) without regard to letter case. A key is found wherever it stands; it is not
// tied to its section.

// Everything after the key up to, not including, the first ";" or the range end; empty when the
// key is missing.
QByteArray ReadValue(const QByteArray& buffer, const QByteArray& key, int64_t start, int64_t end);

// As ReadValue without the first and last character: the contents of a value written as one
// quoted string (ProdName="ABC"; gives ABC).
QByteArray ReadQuotedValue(const QByteArray& buffer, const QByteArray& key, int64_t start,
                           int64_t end);

// The comma-separated fields of the entry that starts after key and ends at the first ";"
// outside double quotes (or the range end). Blanks before a field are dropped; a quoted field
// runs to its closing quote and loses the quotes; the last field is kept even when empty.
// position receives the index of the terminating ";" (or the range end). An empty list means
// "none": the key is missing (position -1) or a quoted field is never closed (position is where
// reading stopped).
QByteArrayList ReadValueFields(const QByteArray& buffer, const QByteArray& key, int64_t start,
                               int64_t end, int64_t& position);

// The same readers for a key that has already been found: at is the key's position in buffer
// (-1 when it is missing), keyLength its length and end the range end of the search. A caller
// with its own way of finding keys (an index) gets exactly the values of the readers above.
QByteArray ReadValueAt(const QByteArray& buffer, int64_t at, int64_t keyLength, int64_t end);
QByteArray ReadQuotedValueAt(const QByteArray& buffer, int64_t at, int64_t keyLength,
                             int64_t end);
QByteArrayList ReadValueFieldsAt(const QByteArray& buffer, int64_t at, int64_t keyLength,
                                 int64_t end, int64_t& position);

}  // namespace corvix
