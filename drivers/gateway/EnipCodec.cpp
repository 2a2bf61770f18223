#include "gateway/EnipCodec.h"

#include <QList>

namespace corvix::gateway {

namespace {

void AppendU16(QByteArray& out, std::uint16_t value)
{
    out.append(char(value & 0xFF));
    out.append(char(value >> 8));
}

void AppendU32(QByteArray& out, std::uint32_t value)
{
    AppendU16(out, std::uint16_t(value & 0xFFFF));
    AppendU16(out, std::uint16_t(value >> 16));
}

constexpr std::uint16_t ItemNullAddress = 0x0000;
constexpr std::uint16_t ItemUnconnectedData = 0x00B2;
constexpr int MaxPathBytes = 7;

// Copies one class or instance segment: the 8-bit form as it is, any other segment byte with a
// two-byte value gets the pad byte CIP puts between them.
bool CopySegment(const QByteArray& compact, int& at, std::uint8_t eightBit, QByteArray& out)
{
    if (at >= compact.size())
        return false;
    const auto segment = std::uint8_t(compact[at]);
    if (segment == eightBit) {
        if (at + 2 > compact.size())
            return false;
        out.append(compact.mid(at, 2));
        at += 2;
        return true;
    }
    if (at + 3 > compact.size())
        return false;
    out.append(char(segment));
    out.append('\0');
    out.append(compact.mid(at + 1, 2));
    at += 3;
    return true;
}

}  // namespace

QByteArray EncapsulationHeader(std::uint16_t command, std::uint16_t length,
                               std::uint32_t sessionHandle, SenderContext context)
{
    QByteArray header;
    header.reserve(HeaderSize);
    AppendU16(header, command);
    AppendU16(header, length);
    AppendU32(header, sessionHandle);
    AppendU32(header, 0);  // status
    AppendU32(header, context.tag);
    header.append(char(context.macId));
    header.append(3, '\0');
    AppendU32(header, 0);  // options
    return header;
}

QByteArray ListIdentityPacket()
{
    return EncapsulationHeader(CommandListIdentity, 0, 0);
}

QByteArray RegisterSessionPacket()
{
    QByteArray packet = EncapsulationHeader(CommandRegisterSession, 4, 0);
    AppendU16(packet, 1);  // protocol version
    AppendU16(packet, 0);  // option flags
    return packet;
}

std::optional<QByteArray> PaddedPath(const QByteArray& compact)
{
    QByteArray padded;
    int at = 0;
    if (!CopySegment(compact, at, 0x20, padded) || !CopySegment(compact, at, 0x24, padded))
        return std::nullopt;
    if (at < compact.size()) {
        if (compact.size() - at != 2 || std::uint8_t(compact[at]) != 0x30)
            return std::nullopt;
        padded.append(compact.mid(at, 2));
    }
    return padded;
}

std::optional<QByteArray> MessageRouterRequest(std::uint8_t service, const QByteArray& compactPath,
                                               const QByteArray& data)
{
    const auto path = PaddedPath(compactPath);
    if (!path)
        return std::nullopt;
    QByteArray request;
    request.append(char(service));
    request.append(char(path->size() / 2));
    request.append(*path);
    request.append(data);
    return request;
}

std::optional<QByteArray> UnconnectedSendRequest(std::uint8_t service,
                                                 const QByteArray& compactPath,
                                                 const QByteArray& data, const QByteArray& route)
{
    const auto embedded = MessageRouterRequest(service, compactPath, data);
    if (!embedded || route.isEmpty() || route.size() % 2 != 0 || route.size() > 510
        || embedded->size() > 0xFFFF)
        return std::nullopt;
    QByteArray request;
    request.append(char(ServiceUnconnectedSend));
    request.append(char(2));
    request.append(QByteArray::fromHex("20062401"));  // Connection Manager, instance 1
    request.append(char(0x05));                       // priority and time tick
    request.append(char(0x9B));                       // time-out ticks
    AppendU16(request, std::uint16_t(embedded->size()));
    request.append(*embedded);
    if (embedded->size() % 2 != 0)
        request.append('\0');
    request.append(char(route.size() / 2));
    request.append('\0');
    request.append(route);
    return request;
}

QByteArray SendRRDataPacket(std::uint32_t sessionHandle, SenderContext context,
                            const QByteArray& request)
{
    QByteArray data;
    AppendU32(data, 0);   // interface handle
    AppendU16(data, 14);  // time-out
    AppendU16(data, 2);   // item count
    AppendU16(data, ItemNullAddress);
    AppendU16(data, 0);
    AppendU16(data, ItemUnconnectedData);
    AppendU16(data, std::uint16_t(request.size()));
    data.append(request);
    return EncapsulationHeader(CommandSendRRData, std::uint16_t(data.size()), sessionHandle,
                               context)
           + data;
}

std::optional<QByteArray> PathBytesFromText(const char* text)
{
    if (text == nullptr)
        return std::nullopt;
    const QList<QByteArray> numbers = QByteArray(text).split(' ');
    QByteArray bytes;
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        const QByteArray& number = numbers[i];
        // One trailing blank is what the class/instance editor leaves without an attribute.
        if (number.isEmpty() && i == numbers.size() - 1 && i > 0)
            break;
        bool ok = false;
        const uint value = number.toUInt(&ok, 16);
        if (!ok || number.size() > 2 || bytes.size() == MaxPathBytes)
            return std::nullopt;
        bytes.append(char(value & 0xFF));
    }
    return bytes;
}

}  // namespace corvix::gateway
