#include "network/DeviceClipboard.h"

namespace corvix {

QStringList& DeviceClipboard()
{
    static QStringList lines;
    return lines;
}

}  // namespace corvix
