#pragma once

#include "core/EnipBridge.h"

#include <QJsonObject>

namespace corvix::sim {

// The "bridge" object of a network description: the bridge's identity and ports (type, name,
// object path, number), either from the EDS file its "eds" entry names (see ResolveEdsFile) or
// given as "identity" and "ports", and the modules in its backplane slots. Absent parts take the
// values of BridgeConfig::standard(). Raises ConversionError naming the bad entry.
BridgeConfig ParseBridge(const QJsonObject& bridge, const QString& folder = {});

// The "[Port]" entries of a normalised EDS text, "Port1=TCP,"Ethernet","20 F5 24 01",1;" and
// on up to the first number missing. Raises ConversionError naming the entry that is damaged.
QList<BridgePort> ReadEdsPorts(const QByteArray& text);

}  // namespace corvix::sim
