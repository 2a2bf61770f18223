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
// data/sim/demo.json):
//   "nodes": [{"macId", "dataRate", "quickConnect", "eds" or "identity", "values", "scanner",
//              "faults"}, ...],
//   "bridge": {"eds" or "identity" and "ports", "modules"}, "faults": {...}.
// With "eds" the identity may only add "serialNumber", "minorRevision" and "status", and
// "values" gives initial parameter values as raw texts (see FillNodeFromEds). A node is built from the EDS file its "eds" entry names (see
// ResolveEdsFile; relative names start in folder, the description's own folder), or is given as
// a bare "identity". Raises FileError when the description cannot be read and ConversionError,
// naming the offending entry, for any value that is missing, of the wrong kind or out of range
// and for an EDS file that cannot be found or read.
SimDescription LoadNetworkDescription(const QString& fileName);
SimDescription ParseNetworkDescription(const QByteArray& json, const QString& folder = {});

// Applies a "faults" object (of the network or of one node) to the network.
void ApplyFaults(SimNetwork& network, const QJsonObject& faults, std::optional<std::uint8_t> macId);

}  // namespace corvix::sim
