#pragma once

#include <QString>

namespace corvix {

class TDeviceNetDevice;

// Device data files (".dev"): one device section alone, lines ended by CR LF.

// Writes the device's section to path (replacing an existing file only once the new one is
// whole). The device's network, whose file does not hold the values yet, stays modified. Raises
// FileError with the reason when it cannot be written.
void SaveDeviceFile(TDeviceNetDevice& device, const QString& path);

// Reads the section of a device file and hands it to the device, which marks its network
// modified. Returns false, loading nothing, when the section belongs to a device of another
// identity. Raises FileError when the file cannot be read or holds no device section,
// ConversionError when its header lines are damaged.
bool LoadDeviceFile(TDeviceNetDevice& device, const QString& path);

}  // namespace corvix
