#include "core/EnipFrontEnd.h"

#include "app/CorvixError.h"

#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>

namespace corvix::sim {

struct EnipFrontEnd::Connection {
    Connection(QTcpSocket* s, EnipSession e) : socket(s), session(std::move(e)) {}
    QTcpSocket* socket;
    EnipSession session;
    QTimer timer;
};

EnipFrontEnd::EnipFrontEnd(SimNetwork& network, BridgeConfig config, const QHostAddress& address,
                           quint16 port)
    : network_(network), config_(std::move(config)), address_(address)
{
    if (!address.isLoopback() || address.protocol() != QAbstractSocket::IPv4Protocol)
        throw CorvixError(QStringLiteral("%1 is not an IPv4 loopback address").arg(address.toString()));
    clock_.start();
    server_ = new QTcpServer(this);
    if (!server_->listen(address, port))
        throw CorvixError(QStringLiteral("Cannot listen on %1:%2: %3")
                              .arg(address.toString())
                              .arg(port)
                              .arg(server_->errorString()));
    udp_ = new QUdpSocket(this);
    if (!udp_->bind(address, server_->serverPort()))
        throw CorvixError(QStringLiteral("Cannot bind UDP %1:%2: %3")
                              .arg(address.toString())
                              .arg(server_->serverPort())
                              .arg(udp_->errorString()));
    config_.ipAddress = address.toIPv4Address();
    config_.tcpPort = server_->serverPort();
    connect(server_, &QTcpServer::newConnection, this, &EnipFrontEnd::accept);
    connect(udp_, &QUdpSocket::readyRead, this, &EnipFrontEnd::readDatagrams);
}

EnipFrontEnd::~EnipFrontEnd() = default;

quint16 EnipFrontEnd::port() const
{
    return server_->serverPort();
}

void EnipFrontEnd::readDatagrams()
{
    while (udp_->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = udp_->receiveDatagram();
        const QByteArray request = datagram.data();
        // Only ListIdentity is answered over UDP, and only to the one who asked: a simulator
        // never broadcasts.
        if (request.size() < enip::HeaderSize || request[0] != 0x63 || request[1] != 0)
            continue;
        if (log)
            log(QStringLiteral("udp <- %1").arg(HexBytes(request)));
        udp_->writeDatagram(ListIdentityReply(config_, request), datagram.senderAddress(),
                            static_cast<quint16>(datagram.senderPort()));
    }
}

void EnipFrontEnd::accept()
{
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        auto connection = std::make_unique<Connection>(
            socket, EnipSession(config_, network_, nextHandle_++));
        Connection* raw = connection.get();
        raw->session.log = log;
        raw->timer.setSingleShot(true);
        connect(&raw->timer, &QTimer::timeout, this, [this, raw] { service(*raw); });
        connect(socket, &QTcpSocket::readyRead, this, [this, raw] {
            raw->session.receive(raw->socket->readAll(), clock_.nsecsElapsed() / 1000);
            service(*raw);
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, raw] {
            raw->timer.stop();
            raw->socket->deleteLater();
            std::erase_if(connections_, [raw](const auto& c) { return c.get() == raw; });
        });
        connections_.push_back(std::move(connection));
    }
}

void EnipFrontEnd::service(Connection& connection)
{
    const std::int64_t now = clock_.nsecsElapsed() / 1000;
    const QByteArray out = connection.session.takeDue(now);
    if (!out.isEmpty())
        connection.socket->write(out);
    if (connection.session.wantsClose()) {
        connection.socket->disconnectFromHost();
        return;
    }
    if (const auto wake = connection.session.nextWakeUs())
        connection.timer.start(static_cast<int>((std::max<std::int64_t>(0, *wake - now) + 999) / 1000));
}

}  // namespace corvix::sim
