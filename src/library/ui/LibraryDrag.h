#pragma once

#include <QString>

namespace corvix {

// The MIME type of a device node dragged out of the library panel; the data are the node's
// file stem ("eds\90_12_3_1.") in UTF-8.
inline QString LibraryDeviceMimeType()
{
    return QStringLiteral("application/x-corvix-library-device");
}

}  // namespace corvix
