#pragma once

#include "core/SimNetwork.h"

#include <QJsonObject>

namespace corvix::sim {

// Builds the simulated network from its JSON description (see data/sim/demo.json). Raises
// FileError when the file cannot be read and ConversionError, naming the offending entry, for
// any value that is missing, of the wrong kind or out of range.
SimNetwork LoadNetworkDescription(const QString& fileName);
SimNetwork ParseNetworkDescription(const QByteArray& json);

// Applies a "faults" object (of the network or of one node) to the network.
void ApplyFaults(SimNetwork& network, const QJsonObject& faults, std::optional<std::uint8_t> macId);

}  // namespace corvix::sim
