#pragma once

#include "core/EnipBridge.h"
#include "core/SimNetwork.h"

#include <QJsonObject>

namespace corvix::sim {

struct SimDescription {
    SimNetwork network;
    BridgeConfig bridge;
};

// Builds the simulated network and its bridge from the JSON description (see
// data/sim/demo.json). Raises FileError when the file cannot be read and ConversionError, naming
// the offending entry, for any value that is missing, of the wrong kind or out of range.
SimDescription LoadNetworkDescription(const QString& fileName);
SimDescription ParseNetworkDescription(const QByteArray& json);

// Applies a "faults" object (of the network or of one node) to the network.
void ApplyFaults(SimNetwork& network, const QJsonObject& faults, std::optional<std::uint8_t> macId);

}  // namespace corvix::sim
