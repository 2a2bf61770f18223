#pragma once

#include <QByteArray>
#include <QString>

namespace corvix {

// Files of our format are bytes in the Windows ANSI code page 1252 (EDS, .net, .dev). These turn
// them into text for display and back. Bytes that code page leaves undefined map to the C1
// control of the same number, as Windows does; characters it cannot hold become "?".
QString DecodeWindows1252(const QByteArray& bytes);
QByteArray EncodeWindows1252(const QString& text);

// The lower-case form of one code-page byte (A..Z, accented capitals), the byte itself otherwise.
unsigned char LowerWindows1252(unsigned char byte);

}  // namespace corvix
