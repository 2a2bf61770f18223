#include "library/EdsTestDevice.h"

#include "app/CorvixError.h"
#include "device/DeviceNetDevice.h"

namespace corvix {

bool CheckEdsTestDevice(const QByteArray& text, QStringList& logLines)
{
    try {
        const auto device =
            TDeviceNetDevice::CreateFromEds(nullptr, QStringLiteral("EDSTest.eds"), text, 0);
        logLines = device->DefinitionErrors;
    } catch (const CorvixError& error) {
        logLines = {error.message()};
    }
    return logLines.isEmpty();
}

}  // namespace corvix
