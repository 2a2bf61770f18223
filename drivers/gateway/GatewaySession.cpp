#include "gateway/GatewaySession.h"

namespace corvix::gateway {

namespace {

constexpr int CheckIntervalMs = 100;

}  // namespace

GatewaySession::GatewaySession(CorvixDriverHandle handle, void* ownerWindow)
    : handle_(handle), ownerWindow_(ownerWindow)
{
    clock_.start();
    checkTimer_.setInterval(CheckIntervalMs);
    connect(&checkTimer_, &QTimer::timeout, this,
            [this] { dispatch([this] { checkTimeouts(); }); });
    connect(&socket_, &QTcpSocket::readyRead, this, [this] { dispatch([this] { readData(); }); });
    connect(&socket_, &QTcpSocket::connected, this, [this] {
        receiver_.reset();
        socket_.write(RegisterSessionPacket());
    });
    connect(&socket_, &QTcpSocket::disconnected, this, [this] {
        registered_ = false;
        receiver_.reset();
    });
}

GatewaySession::~GatewaySession()
{
    closed_ = true;
    checkTimer_.stop();
    socket_.disconnect(this);
    socket_.abort();
}

// Runs one notification; a CloseDriver from inside one of its callbacks leaves the deletion to
// the event loop, since the socket may still be inside its own signal.
template <typename Work>
void GatewaySession::dispatch(Work work)
{
    ++dispatchDepth_;
    work();
    if (--dispatchDepth_ == 0 && closed_)
        deleteLater();
}

void GatewaySession::reportStatus(std::uint32_t code)
{
    if (!closed_ && statusCallback_)
        statusCallback_(code);
}

void GatewaySession::goOnline(const GatewaySettings& settings)
{
    settingsText_ = settings.text();
    table_ = std::make_unique<TransactionTable>(static_cast<TransactionSink&>(*this),
                                                settings.route, settings.timeoutMs);
    registered_ = false;
    socket_.abort();
    socket_.connectToHost(settings.bridge, settings.tcpPort);
    checkTimer_.start();
}

void GatewaySession::request(Request request)
{
    if (table_)
        dispatch([&] { table_->start(clock_.elapsed(), std::move(request)); });
}

void GatewaySession::browse(CorvixBrowseCallback callback)
{
    browseCallback_ = callback;
    if (table_) {
        dispatch([this] { table_->browse(clock_.elapsed()); });
    } else if (callback) {
        // Without a bridge no node answers; the host still gets its 64 records.
        for (int mac = 0; mac < CORVIX_MAC_ID_COUNT && !closed_; ++mac)
            browseRecord(QByteArray(1, char(mac)));
    }
}

bool GatewaySession::close()
{
    closed_ = true;
    checkTimer_.stop();
    socket_.abort();
    return dispatchDepth_ == 0;
}

void GatewaySession::send(const Request& request, const QByteArray& route)
{
    // Requests while there is no registered connection are lost and end in the time-out.
    if (!registered_ || socket_.state() != QAbstractSocket::ConnectedState)
        return;
    const auto message = UnconnectedSendRequest(request.service, request.path, request.data, route);
    if (message)
        socket_.write(SendRRDataPacket(sessionHandle_, {request.tag, request.macId}, *message));
}

void GatewaySession::reply(const Request& request, std::uint8_t transferStatus,
                           std::uint8_t replyService, const QByteArray& data)
{
    if (!closed_ && request.replyCallback)
        request.replyCallback(request.tag, transferStatus, replyService, std::uint32_t(data.size()),
                              reinterpret_cast<const std::uint8_t*>(data.constData()));
}

void GatewaySession::browseRecord(const QByteArray& record)
{
    if (!closed_ && browseCallback_)
        browseCallback_(std::int32_t(record.size()),
                        reinterpret_cast<const std::uint8_t*>(record.constData()));
}

void GatewaySession::status(std::uint32_t code)
{
    reportStatus(code);
}

void GatewaySession::readData()
{
    while (!closed_ && socket_.bytesAvailable() > 0 && receiver_.freeSpace() > 0) {
        const QList<EnipEvent> events = receiver_.receive(socket_.read(receiver_.freeSpace()));
        if (receiver_.broken()) {
            socket_.abort();
            receiver_.reset();
            return;
        }
        for (const EnipEvent& event : events) {
            if (closed_)
                return;
            switch (event.kind) {
            case EnipEvent::Kind::Registered:
                sessionHandle_ = event.sessionHandle;
                if (!registered_) {
                    registered_ = true;
                    reportStatus(CORVIX_NET_ONLINE);
                }
                break;
            case EnipEvent::Kind::Unregistered:
                sessionHandle_ = 0xFFFFFFFF;
                break;
            case EnipEvent::Kind::Reply:
                if (table_)
                    table_->onReply(clock_.elapsed(), event.context, event.item);
                break;
            }
        }
    }
}

void GatewaySession::checkTimeouts()
{
    if (table_)
        table_->check(clock_.elapsed());
}

}  // namespace corvix::gateway
