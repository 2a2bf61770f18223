#pragma once

#include <QString>
#include <QStringList>

namespace corvix {

// A device caption broken into the lines the bus view shows under the icon: words joined by
// single blanks while a line stays within maxLength characters; a longer word keeps a line of
// its own rather than being cut.
QStringList BreakDeviceName(const QString& name, int maxLength = 16);

}  // namespace corvix
