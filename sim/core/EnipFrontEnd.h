#pragma once

#include "core/EnipSession.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>

#include <memory>

class QTcpServer;
class QTcpSocket;
class QUdpSocket;

namespace corvix::sim {

// The EtherNet/IP-to-DeviceNet bridge on a loopback address: ListIdentity over UDP, sessions
// with Unconnected Send over TCP, both on one port.
class EnipFrontEnd : public QObject {
    Q_OBJECT
public:
    // Listens on address:port (port 0 picks a free one); throws CorvixError for an address that
    // is not a loopback address or a port that cannot be bound.
    EnipFrontEnd(SimNetwork& network, BridgeConfig config, const QHostAddress& address,
                 quint16 port = 44818);
    ~EnipFrontEnd() override;

    quint16 port() const;
    QHostAddress address() const { return address_; }

    std::function<void(const QString&)> log;

private:
    struct Connection;

    void accept();
    void readDatagrams();
    void service(Connection& connection);

    SimNetwork& network_;
    BridgeConfig config_;
    QHostAddress address_;
    QTcpServer* server_ = nullptr;
    QUdpSocket* udp_ = nullptr;
    std::vector<std::unique_ptr<Connection>> connections_;
    std::uint32_t nextHandle_ = 0x00010001;
    QElapsedTimer clock_;
};

}  // namespace corvix::sim
