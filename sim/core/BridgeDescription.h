#pragma once

#include "core/EnipBridge.h"

#include <QJsonObject>

namespace corvix::sim {

// The "bridge" object of a network description: the bridge's identity, its ports (type, name,
// object path, number) and the modules in its backplane slots. Absent parts take the values of
// BridgeConfig::standard(). Raises ConversionError naming the bad entry.
BridgeConfig ParseBridge(const QJsonObject& bridge);

}  // namespace corvix::sim
