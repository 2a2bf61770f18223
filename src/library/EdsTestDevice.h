#pragma once

#include <QByteArray>
#include <QStringList>

namespace corvix {

// Builds a throw-away device from a normalised EDS text, the way a network would build it, to
// see whether the file can be used at all. False when building fails or leaves definition
// errors; logLines then holds what the EDS wizard's log shows (every error line, or the
// message of the error that stopped the building).
bool CheckEdsTestDevice(const QByteArray& text, QStringList& logLines);

}  // namespace corvix
