#pragma once

#include <QStringList>

namespace corvix {

// The program's one-device clipboard: the section lines of the device copied last, shared by
// all network windows of the process ("$Device Begin" ... "$Device End"; empty at start).
QStringList& DeviceClipboard();

}  // namespace corvix
