#pragma once

#include <QByteArray>

namespace corvix {

// The compact form in which EDS files are stored and read: no comments, no blanks outside double
// quotes, no line breaks except CR LF after every ";" and "]" outside quotes, commas inside quotes
// turned into dots so that they never split fields. Keywords are then found by plain text search.
QByteArray NormaliseEdsText(const QByteArray& raw);

}  // namespace corvix
