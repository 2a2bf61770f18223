#include "core/EnipSession.h"

#include "core/ByteReader.h"

#include <algorithm>

namespace corvix::sim {

namespace {

constexpr std::uint16_t NullAddressItem = 0x0000;
constexpr std::uint16_t UnconnectedDataItem = 0x00B2;
constexpr std::uint16_t IdentityItem = 0x000C;
constexpr std::uint8_t StateOperational = 0x03;

QByteArray Header(std::uint16_t command, const QByteArray& data, std::uint32_t session,
                  std::uint32_t status, const QByteArray& request)
{
    QByteArray packet;
    AppendUint16(packet, command);
    AppendUint16(packet, static_cast<std::uint16_t>(data.size()));
    AppendUint32(packet, session);
    AppendUint32(packet, status);
    packet.append(request.mid(12, 8));  // sender context, returned unchanged
    AppendUint32(packet, 0);
    packet.append(data);
    return packet;
}

std::uint16_t CommandOf(const QByteArray& packet)
{
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(packet[0])
                                      | static_cast<std::uint8_t>(packet[1]) << 8);
}

void AppendBigEndian16(QByteArray& bytes, std::uint16_t value)
{
    bytes.append(static_cast<char>(value >> 8));
    bytes.append(static_cast<char>(value & 0xFF));
}

}  // namespace

QByteArray ListIdentityReply(const BridgeConfig& config, const QByteArray& requestHeader)
{
    QByteArray item;
    AppendUint16(item, 1);  // encapsulation protocol version
    AppendBigEndian16(item, 2);  // socket address: AF_INET, port and address in network order
    AppendBigEndian16(item, config.tcpPort);
    AppendBigEndian16(item, static_cast<std::uint16_t>(config.ipAddress >> 16));
    AppendBigEndian16(item, static_cast<std::uint16_t>(config.ipAddress & 0xFFFF));
    item.append(8, '\0');
    const SimIdentity& id = config.identity;
    AppendUint16(item, id.vendorId);
    AppendUint16(item, id.deviceType);
    AppendUint16(item, id.productCode);
    item.append(static_cast<char>(id.majorRevision));
    item.append(static_cast<char>(id.minorRevision));
    AppendUint16(item, id.status);
    AppendUint32(item, id.serialNumber);
    AppendShortString(item, id.productName);
    item.append(static_cast<char>(StateOperational));

    QByteArray data;
    AppendUint16(data, 1);  // item count
    AppendUint16(data, IdentityItem);
    AppendUint16(data, static_cast<std::uint16_t>(item.size()));
    data.append(item);
    return Header(enip::ListIdentity, data, 0, 0, requestHeader);
}

void EnipSession::receive(const QByteArray& bytes, std::int64_t nowUs)
{
    buffer_.append(bytes);
    while (!close_ && buffer_.size() >= enip::HeaderSize) {
        const int length = static_cast<std::uint8_t>(buffer_[2]) | static_cast<std::uint8_t>(buffer_[3]) << 8;
        if (length > enip::MaxData) {
            // No request of ours is that long: the stream is out of step and cannot recover.
            queue(Header(CommandOf(buffer_), {}, handle_, enip::InvalidLength, buffer_), nowUs);
            buffer_.clear();
            close_ = true;
            return;
        }
        if (buffer_.size() < enip::HeaderSize + length)
            return;
        const QByteArray packet = buffer_.left(enip::HeaderSize + length);
        buffer_.remove(0, packet.size());
        handlePacket(packet, nowUs);
    }
}

void EnipSession::handlePacket(const QByteArray& packet, std::int64_t nowUs)
{
    const std::uint16_t command = CommandOf(packet);
    const QByteArray data = packet.mid(enip::HeaderSize);
    switch (command) {
    case enip::ListIdentity:
        queue(ListIdentityReply(config_, packet), nowUs);
        return;
    case enip::RegisterSession: {
        if (data.size() != 4) {
            queue(Header(command, {}, 0, enip::InvalidLength, packet), nowUs);
            return;
        }
        const bool version1 = data[0] == 1 && data[1] == 0;
        registered_ = registered_ || version1;
        queue(Header(command, version1 ? data : QByteArray("\x01\x00\x00\x00", 4),
                     version1 ? handle_ : 0, version1 ? 0 : enip::UnsupportedProtocol, packet),
              nowUs);
        return;
    }
    case enip::UnRegisterSession:
        close_ = true;
        return;
    case enip::SendRRData:
        handleSendRRData(packet, nowUs);
        return;
    default:
        queue(Header(command, {}, 0, enip::InvalidCommand, packet), nowUs);
        return;
    }
}

void EnipSession::handleSendRRData(const QByteArray& packet, std::int64_t nowUs)
{
    ByteReader header(packet, 4);
    if (!registered_ || header.u32() != handle_) {
        queue(Header(enip::SendRRData, {}, handle_, enip::InvalidSession, packet), nowUs);
        return;
    }
    QByteArray request;
    try {
        ByteReader r(packet, enip::HeaderSize);
        r.u32();  // interface handle
        r.u16();  // time-out
        const std::uint16_t items = r.u16();
        if (items != 2 || r.u16() != NullAddressItem || r.u16() != 0 || r.u16() != UnconnectedDataItem)
            throw ShortPacket();
        request = r.take(r.u16());
    } catch (const ShortPacket&) {
        queue(Header(enip::SendRRData, {}, handle_, enip::IncorrectData, packet), nowUs);
        return;
    }
    const BridgeAnswer answer = HandleMessageRouterRequest(config_, network_, request);
    if (log && answer.exchange)
        log(DescribeExchange(QStringLiteral("enip"), *answer.exchange));
    if (!answer.reply)
        return;
    QByteArray data;
    AppendUint32(data, 0);
    AppendUint16(data, 0);
    AppendUint16(data, 2);
    AppendUint16(data, NullAddressItem);
    AppendUint16(data, 0);
    AppendUint16(data, UnconnectedDataItem);
    AppendUint16(data, static_cast<std::uint16_t>(answer.reply->size()));
    data.append(*answer.reply);
    queue(Header(enip::SendRRData, data, handle_, 0, packet), nowUs + answer.delayMs * 1000LL);
}

void EnipSession::queue(const QByteArray& packet, std::int64_t dueUs)
{
    auto at = std::upper_bound(outbox_.begin(), outbox_.end(), dueUs,
                               [](std::int64_t due, const auto& item) { return due < item.first; });
    outbox_.insert(at, {dueUs, packet});
}

QByteArray EnipSession::takeDue(std::int64_t nowUs)
{
    QByteArray out;
    while (!outbox_.isEmpty() && outbox_.first().first <= nowUs) {
        const QByteArray packet = outbox_.takeFirst().second;
        out.append(packet);
    }
    return out;
}

std::optional<std::int64_t> EnipSession::nextWakeUs() const
{
    if (outbox_.isEmpty())
        return std::nullopt;
    return outbox_.first().first;
}

}  // namespace corvix::sim
