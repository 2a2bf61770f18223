#pragma once

// A simulated network with one node of 100 UINT parameters (instances 1..100), the load of the
// serial read benchmarks.
#include "core/SimNetwork.h"

#include <QString>

#include <cstdint>

namespace corvix::bench {

constexpr int HundredParameters = 100;

inline corvix::sim::SimNetwork HundredParameterNetwork(std::uint8_t macId)
{
    corvix::sim::SimNetwork network;
    corvix::sim::SimNode node;
    node.macId = macId;
    node.identity.vendorId = 1;
    for (int instance = 1; instance <= HundredParameters; ++instance) {
        corvix::sim::SimParameter parameter;
        parameter.instance = std::uint16_t(instance);
        parameter.name = QStringLiteral("P%1").arg(instance);
        parameter.dataType = 0xC7;  // UINT
        parameter.dataSize = 2;
        parameter.value = QByteArray(2, char(instance));
        node.parameters.parameters.append(parameter);
    }
    network.addNode(node);
    return network;
}

}  // namespace corvix::bench
