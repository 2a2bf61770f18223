#include "network/DeviceFile.h"

#include "app/CorvixError.h"
#include "device/DeviceNetDevice.h"
#include "network/DeviceNetWork.h"
#include "network/DeviceSectionHeader.h"
#include "network/FileLines.h"

namespace corvix {

void SaveDeviceFile(TDeviceNetDevice& device, const QString& path)
{
    // Writing a section marks the device's values saved, as saving the network does. The
    // network file still lacks them, though: its document must go on asking to be saved, or
    // closing it would drop the changes.
    const bool changedSinceSave = !device.AllSaved();
    WriteLinesToFile(path, device.WriteSection());
    if (changedSinceSave && device.Owner) {
        device.Owner->MarkModified();
    }
}

bool LoadDeviceFile(TDeviceNetDevice& device, const QString& path)
{
    const QStringList lines = ReadLinesFromFile(path);
    const qsizetype end = FindMarkerLine(lines, QStringLiteral("$Device End"));
    if (lines.isEmpty() || !IsMarkerLine(lines.first(), QStringLiteral("$Device Begin")) ||
        end < 0) {
        throw FileError(QStringLiteral("%1 is not a device data file: it must start with "
                                       "\"$Device Begin\" and hold a \"$Device End\" line.")
                            .arg(path));
    }
    const QStringList section = lines.mid(0, end + 1);
    const DeviceSectionHeader header = ReadDeviceSectionHeader(section, 1);
    if (!device.HasIdentity(header.vendorId, header.deviceType, header.majorRevision,
                            header.productCode)) {
        return false;
    }
    device.ReadSection(section);
    if (device.Owner) {
        device.Owner->DeviceEdited();
    }
    return true;
}

}  // namespace corvix
