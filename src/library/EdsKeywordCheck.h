#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace corvix {

// The keywords an EDS file must contain to be installed, in the order they are checked.
const QStringList& RequiredEdsKeywords();

// True when every required keyword occurs somewhere in the normalised text (letter case
// ignored). Otherwise false, and report receives the line for the EDS wizard's log naming the
// first missing keyword: Error : Key word " [File]" not present in EDS file. The installer sends
// that line to the log.
bool CheckEdsKeywords(const QByteArray& text, QString& report);

}  // namespace corvix
