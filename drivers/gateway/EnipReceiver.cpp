#include "gateway/EnipReceiver.h"

namespace corvix::gateway {

namespace {

std::uint16_t U16(const QByteArray& bytes, qsizetype at)
{
    return std::uint16_t(std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8);
}

std::uint32_t U32(const QByteArray& bytes, qsizetype at)
{
    return U16(bytes, at) | std::uint32_t(U16(bytes, at + 2)) << 16;
}

SenderContext ContextOf(const QByteArray& packet)
{
    return {U32(packet, 12), std::uint8_t(packet[16])};
}

// The unconnected data item of a SendRRData reply, or nothing when the items do not add up.
std::optional<QByteArray> UnconnectedItem(const QByteArray& data)
{
    constexpr qsizetype ItemsAt = 8;  // after interface handle, time-out and item count
    if (data.size() < ItemsAt || U32(data, 0) != 0)
        return std::nullopt;
    const int count = U16(data, 6);
    qsizetype at = ItemsAt;
    for (int i = 0; i < count; ++i) {
        if (at + 4 > data.size())
            return std::nullopt;
        const std::uint16_t type = U16(data, at);
        const std::uint16_t length = U16(data, at + 2);
        if (at + 4 + length > data.size())
            return std::nullopt;
        if (i == 1)
            return type == 0x00B2 ? std::optional(data.mid(at + 4, length)) : std::nullopt;
        at += 4 + length;
    }
    return std::nullopt;
}

}  // namespace

std::optional<EnipEvent> DecodePacket(const QByteArray& packet)
{
    if (packet.size() < HeaderSize || packet.size() != HeaderSize + U16(packet, 2))
        return std::nullopt;
    const std::uint16_t command = U16(packet, 0);
    const std::uint32_t status = U32(packet, 8);
    EnipEvent event;
    event.context = ContextOf(packet);
    switch (command) {
    case CommandRegisterSession:
        if (status != 0)
            return std::nullopt;
        event.kind = EnipEvent::Kind::Registered;
        event.sessionHandle = U32(packet, 4);
        return event;
    case CommandUnRegisterSession:
        event.kind = EnipEvent::Kind::Unregistered;
        return event;
    case CommandSendRRData: {
        if (status != 0)
            return std::nullopt;
        auto item = UnconnectedItem(packet.mid(HeaderSize));
        if (!item)
            return std::nullopt;
        event.kind = EnipEvent::Kind::Reply;
        event.item = *item;
        return event;
    }
    default:
        return std::nullopt;
    }
}

QList<EnipEvent> EnipReceiver::receive(const QByteArray& bytes)
{
    QList<EnipEvent> events;
    if (broken_)
        return events;
    buffer_.append(bytes.left(freeSpace()));
    while (buffer_.size() >= HeaderSize) {
        const int total = HeaderSize + U16(buffer_, 2);
        if (total > BufferSize) {
            broken_ = true;
            buffer_.clear();
            break;
        }
        if (buffer_.size() < total)
            break;
        if (auto event = DecodePacket(buffer_.left(total)))
            events.append(*event);
        buffer_.remove(0, total);
    }
    return events;
}

void EnipReceiver::reset()
{
    buffer_.clear();
    broken_ = false;
}

}  // namespace corvix::gateway
