#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

namespace corvix {

// The integer of an identity or revision value ("VendCode=" ...) of a normalised EDS text:
// decimal, "0x" hexadecimal or "0b" binary. Raises ConversionError when the key is missing or
// its value is no integer.
int64_t ReadEdsInteger(const QByteArray& text, const QByteArray& key);

// The name an EDS file is stored under: vendor code, product type, product code and major
// revision in decimal, joined by "_" (90_12_3_1). Raises ConversionError as ReadEdsInteger.
QString EdsFileKey(const QByteArray& text);

// The Library.inf line of one installed file: its library-relative path in lower case with
// backslashes, a blank, the product name, " Rev: ", major "." minor revision.
// eds\90_12_3_1.eds Gateway X Rev: 1.3. Raises ConversionError for missing or bad revisions.
QByteArray LibraryIndexLine(const QString& relativePath, const QByteArray& text);

// The order of index lines and tree nodes, the same in every locale: letter case ignored,
// punctuation and blanks before digits, digits before letters (so "eds\\1_7..." comes before
// "eds\\10_7...", as in the index files the program has always written).
bool LibraryTextLess(const QString& a, const QString& b);

// Sorts index lines (Windows-1252 bytes) in that order.
void SortLibraryIndex(QByteArrayList& lines);

// The lines of a text file as the index files are read: separated by CR LF, LF or a lone CR;
// a final line break does not open another line.
QByteArrayList SplitTextLines(const QByteArray& bytes);

// Lines joined with CR LF after each, the form the index file is written in.
QByteArray JoinTextLines(const QByteArrayList& lines);

}  // namespace corvix
