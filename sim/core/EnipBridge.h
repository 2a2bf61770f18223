#pragma once

#include "core/ExchangeLog.h"
#include "core/SimNetwork.h"

#include <QList>

namespace corvix::sim {

// A port of the bridge or of one of its modules, as its EDS file lists it.
struct BridgePort {
    std::uint16_t number = 0;
    QString type;          // "DeviceNet", "TCP", "Backplane" ...
    QString name;
    QByteArray objectPath;  // four bytes, e.g. 20 66 24 01 for a backplane port
};

// A module in a slot of the bridge's backplane; a DeviceNet port on it reaches the same
// simulated network.
struct BridgeModule {
    std::uint8_t slot = 0;
    SimIdentity identity;
    std::optional<std::uint16_t> deviceNetPort;
};

struct BridgeConfig {
    SimIdentity identity;
    QList<BridgePort> ports;
    QList<BridgeModule> modules;
    std::uint32_t ipAddress = 0x7F000001;  // what ListIdentity reports (host order)
    std::uint16_t tcpPort = 44818;

    static BridgeConfig standard();  // one TCP and one DeviceNet port (number 2)
};

// The answer to one message router request: the reply bytes, or nothing when the node stays
// silent (injected drop), and how long the node takes.
struct BridgeAnswer {
    BridgeAnswer(std::optional<QByteArray> reply_ = std::nullopt, int delayMs_ = 0,
                 std::optional<NodeExchange> exchange_ = std::nullopt)
        : reply(std::move(reply_)), delayMs(delayMs_), exchange(std::move(exchange_))
    {
    }

    std::optional<QByteArray> reply;
    int delayMs = 0;
    std::optional<NodeExchange> exchange;  // when the request went to a DeviceNet node
};

// Handles one CIP message router request that arrived at the bridge: Unconnected Send through
// the Connection Manager routed to a DeviceNet node or a backplane module, or a request to the
// bridge's own Identity or port objects.
BridgeAnswer HandleMessageRouterRequest(const BridgeConfig& config, SimNetwork& network,
                                        const QByteArray& request);

// The CIP path of an explicit request in padded form (8-bit or padded 16-bit class and instance
// segments, optional attribute) into the request's fields; false when the path is not one.
bool ParsePaddedPath(const QByteArray& path, CipRequest& request);

}  // namespace corvix::sim
