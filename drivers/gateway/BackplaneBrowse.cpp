#include "gateway/BackplaneBrowse.h"

#include <CorvixDriverContract.h>

namespace corvix::gateway {

namespace {

constexpr std::uint32_t SlotCountTag = 1;
constexpr std::uint8_t SlotReadTag = 2;
constexpr qsizetype SlotCountAt = 16;
constexpr std::uint8_t BackplanePort = 1;

std::uint16_t U16(const QByteArray& bytes, qsizetype at)
{
    return std::uint16_t(std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8);
}

}  // namespace

std::optional<SlotModule> ParseSlotIdentity(int slot, const QByteArray& data)
{
    constexpr qsizetype NameAt = 15;
    if (data.size() < NameAt || data.size() < NameAt + std::uint8_t(data[NameAt - 1]))
        return std::nullopt;
    SlotModule module;
    module.slot = slot;
    module.vendorId = U16(data, 0);
    module.deviceType = U16(data, 2);
    module.productCode = U16(data, 4);
    module.majorRevision = std::uint8_t(data[6]);
    module.productName = data.mid(NameAt, std::uint8_t(data[NameAt - 1]));
    return module;
}

BackplaneBrowse::BackplaneBrowse(const QHostAddress& bridge, quint16 tcpPort, QByteArray portPath,
                                 std::function<void(const SlotModule&)> found, QObject* parent)
    : QObject(parent), portPath_(std::move(portPath)), found_(std::move(found))
{
    connect(&socket_, &QTcpSocket::connected, this,
            [this] { socket_.write(RegisterSessionPacket()); });
    connect(&socket_, &QTcpSocket::readyRead, this, [this] {
        while (socket_.bytesAvailable() > 0 && receiver_.freeSpace() > 0) {
            const QList<EnipEvent> events = receiver_.receive(socket_.read(receiver_.freeSpace()));
            if (receiver_.broken()) {
                socket_.abort();
                return;
            }
            for (const EnipEvent& event : events)
                handle(event);
        }
    });
    socket_.connectToHost(bridge, tcpPort);
}

void BackplaneBrowse::send(std::uint32_t tag, const QByteArray& request)
{
    socket_.write(SendRRDataPacket(sessionHandle_, {tag, 0}, request));
}

void BackplaneBrowse::handle(const EnipEvent& event)
{
    if (socket_.state() != QAbstractSocket::ConnectedState)
        return;
    if (event.kind == EnipEvent::Kind::Registered) {
        sessionHandle_ = event.sessionHandle;
        if (const auto request =
                MessageRouterRequest(CORVIX_SERVICE_GET_ATTRIBUTES_ALL, portPath_, {}))
            send(SlotCountTag, *request);
        return;
    }
    const QByteArray& item = event.item;
    if (event.kind != EnipEvent::Kind::Reply || item.size() < 4
        || (std::uint8_t(item[0]) & CORVIX_SERVICE_REPLY_FLAG) == 0)
        return;
    const bool success = item[2] == 0;
    const QByteArray data = item.mid(4);
    if (event.context.tag == SlotCountTag && slots_ == 0) {
        if (!success || data.size() < SlotCountAt + 2) {
            socket_.abort();
            return;
        }
        slots_ = U16(data, SlotCountAt);
        for (int slot = 0; slot < slots_; ++slot) {
            QByteArray route(1, char(BackplanePort));
            route.append(char(slot));
            if (const auto request = UnconnectedSendRequest(CORVIX_SERVICE_GET_ATTRIBUTES_ALL,
                                                            QByteArray::fromHex("20012401"), {},
                                                            route))
                send(std::uint32_t(slot) << 8 | SlotReadTag, *request);
        }
        if (slots_ == 0)
            socket_.abort();
        return;
    }
    const int slot = int(event.context.tag >> 8);
    if ((event.context.tag & 0xFF) != SlotReadTag || slot >= slots_)
        return;
    if (success) {
        if (const auto module = ParseSlotIdentity(slot, data))
            found_(*module);
    }
    if (++answered_ == slots_)
        socket_.disconnectFromHost();
}

}  // namespace corvix::gateway
