#pragma once

#include <QJsonObject>

namespace corvix {

class TDeviceNetDevice;
class TDevParameterClass;
class TDevScannerCfgClass;

// Machine-readable pictures of a device for the command line and for whoever exports a network.
// They show what the device holds, raw texts as kept and the texts the user sees. Showing a
// parameter's value asks its display text, which may turn its state red (a value that an
// enumeration cannot show), hence the non-const arguments.
QJsonObject ParameterToJson(TDevParameterClass& parameter);
QJsonObject ScannerConfigToJson(const TDevScannerCfgClass& config);
QJsonObject DeviceToJson(TDeviceNetDevice& device);

}  // namespace corvix
