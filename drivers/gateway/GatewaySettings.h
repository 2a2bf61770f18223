#pragma once

#include <QByteArray>
#include <QHostAddress>

#include <optional>

namespace corvix::gateway {

// What the driver remembers between sessions: the chosen bridge, its TCP port, the route to the
// DeviceNet port (last byte is the MAC ID, filled per request) and the message time-out.
// Written as "EtherNet/IP,<address>,<TCP port>,<route bytes in hex>,<time-out ms>", for example
// "EtherNet/IP,192.168.1.20,44818,02 00,7000".
struct GatewaySettings {
    QHostAddress bridge;
    quint16 tcpPort = 44818;
    QByteArray route;
    int timeoutMs = 7000;

    QByteArray text() const;
    // Nothing for a text another driver wrote or one that does not hold together.
    static std::optional<GatewaySettings> parse(const QByteArray& text);
};

}  // namespace corvix::gateway
