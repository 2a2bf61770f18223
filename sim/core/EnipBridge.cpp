#include "core/EnipBridge.h"

#include "core/ByteReader.h"

namespace corvix::sim {

namespace {

constexpr std::uint8_t UnconnectedSend = 0x52;
constexpr std::uint8_t UnconnectedSendReply = 0xD2;
constexpr std::uint8_t PathSegmentError = 0x04;
constexpr std::uint16_t ExtendedTimedOut = 0x0204;   // unconnected request timed out
constexpr std::uint16_t ExtendedPortInvalid = 0x0311;  // port not available
constexpr std::uint8_t BackplaneClass = 0x66;
constexpr int BackplaneRecordSize = 22;
constexpr int SlotCountOffset = 16;

QByteArray MrReply(std::uint8_t service, std::uint8_t status, const QByteArray& data = {},
                   std::optional<std::uint16_t> extended = std::nullopt)
{
    QByteArray reply;
    reply.append(static_cast<char>(service));
    reply.append('\0');
    reply.append(static_cast<char>(status));
    reply.append(static_cast<char>(extended ? 1 : 0));
    if (extended)
        AppendUint16(reply, *extended);
    reply.append(data);
    return reply;
}

// 16-bit segments carry a pad byte before the value.
bool ReadSegment(ByteReader& r, std::uint8_t eightBit, std::uint16_t& value)
{
    const std::uint8_t segment = r.u8();
    if (segment == eightBit) {
        value = r.u8();
        return true;
    }
    if (segment == eightBit + 1) {
        r.u8();
        value = r.u16();
        return true;
    }
    return false;
}

BridgeAnswer FromNode(SimNetwork& network, std::uint8_t mac, const CipRequest& request)
{
    if (mac > 63)
        return {MrReply(UnconnectedSendReply, cip::ConnectionFailure, {}, ExtendedPortInvalid)};
    const SimNetwork::Result result = network.request(mac, request);
    const NodeExchange exchange{mac, request, result};
    switch (result.outcome) {
    case SimNetwork::Outcome::NoNode:
        return {MrReply(UnconnectedSendReply, cip::ConnectionFailure, {}, ExtendedTimedOut), 0, exchange};
    case SimNetwork::Outcome::Dropped:
        return {std::nullopt, 0, exchange};
    case SimNetwork::Outcome::Replied:
        break;
    }
    const auto service = static_cast<std::uint8_t>(request.service | 0x80);
    if (result.reply.isError())
        return {MrReply(service, result.reply.generalStatus()), result.delayMs, exchange};
    return {MrReply(service, 0, result.reply.data), result.delayMs, exchange};
}

const BridgePort* FindPort(const QList<BridgePort>& ports, std::uint16_t number)
{
    for (const auto& port : ports)
        if (port.number == number)
            return &port;
    return nullptr;
}

const BridgeModule* FindModule(const BridgeConfig& config, std::uint8_t slot)
{
    for (const auto& module : config.modules)
        if (module.slot == slot)
            return &module;
    return nullptr;
}

CipReply IdentityReply(const SimIdentity& identity, const CipRequest& request)
{
    SimNode node;
    node.identity = identity;
    return node.handle(request);
}

BridgeAnswer Routed(const BridgeConfig& config, SimNetwork& network, const QByteArray& route,
                    const CipRequest& request)
{
    const BridgeAnswer portInvalid{
        MrReply(UnconnectedSendReply, cip::ConnectionFailure, {}, ExtendedPortInvalid)};
    if (route.size() < 2)
        return portInvalid;
    const auto firstPort = static_cast<std::uint8_t>(route[0]);
    const auto firstLink = static_cast<std::uint8_t>(route[1]);
    const BridgePort* port = FindPort(config.ports, firstPort);
    if (!port)
        return portInvalid;
    if (port->type == QLatin1String("DeviceNet"))
        return route.size() == 2 ? FromNode(network, firstLink, request) : portInvalid;
    if (port->objectPath.size() < 2 || static_cast<std::uint8_t>(port->objectPath[1]) != BackplaneClass)
        return portInvalid;
    const BridgeModule* module = FindModule(config, firstLink);
    if (!module)
        return {MrReply(UnconnectedSendReply, cip::ConnectionFailure, {}, ExtendedTimedOut)};
    if (route.size() == 2) {
        if (request.classId != 0x01)
            return {MrReply(static_cast<std::uint8_t>(request.service | 0x80), cip::PathDestinationUnknown)};
        const CipReply reply = IdentityReply(module->identity, request);
        return {MrReply(static_cast<std::uint8_t>(request.service | 0x80), reply.generalStatus(),
                        reply.isError() ? QByteArray() : reply.data)};
    }
    if (route.size() == 4 && module->deviceNetPort
        && static_cast<std::uint8_t>(route[2]) == *module->deviceNetPort)
        return FromNode(network, static_cast<std::uint8_t>(route[3]), request);
    return portInvalid;
}

BridgeAnswer HandleUnconnectedSend(const BridgeConfig& config, SimNetwork& network,
                                   ByteReader& r)
{
    r.u8();  // priority and time tick
    r.u8();  // time-out ticks
    const std::uint16_t size = r.u16();
    const QByteArray embedded = r.take(size);
    if (size % 2)
        r.u8();
    const std::uint8_t routeWords = r.u8();
    r.u8();
    const QByteArray route = r.take(routeWords * 2);

    if (network.bridgeResourceUnavailable)
        return {MrReply(UnconnectedSendReply, cip::ResourceUnavailable)};
    ByteReader e(embedded);
    CipRequest request;
    request.service = e.u8();
    const QByteArray path = e.take(e.u8() * 2);
    if (!ParsePaddedPath(path, request))
        return {MrReply(static_cast<std::uint8_t>(request.service | 0x80), PathSegmentError)};
    request.data = e.rest();
    return Routed(config, network, route, request);
}

// The bridge's own objects: Identity and the port objects of its EDS file.
BridgeAnswer HandleLocal(const BridgeConfig& config, std::uint8_t service, const QByteArray& path,
                         const QByteArray& data)
{
    const auto replyService = static_cast<std::uint8_t>(service | 0x80);
    CipRequest request{service, 0, 0, std::nullopt, data};
    if (!ParsePaddedPath(path, request))
        return {MrReply(replyService, PathSegmentError)};
    if (request.classId == 0x01) {
        const CipReply reply = IdentityReply(config.identity, request);
        return {MrReply(replyService, reply.generalStatus(), reply.isError() ? QByteArray() : reply.data)};
    }
    for (const BridgePort& port : config.ports) {
        if (port.objectPath.size() != 4 || static_cast<std::uint8_t>(port.objectPath[1]) != request.classId
            || static_cast<std::uint8_t>(port.objectPath[3]) != request.instance)
            continue;
        if (service != cip::GetAttributesAll)
            return {MrReply(replyService, cip::ServiceNotSupported)};
        QByteArray record;
        if (request.classId == BackplaneClass) {
            record = QByteArray(BackplaneRecordSize, '\0');
            int slots = 0;
            for (const auto& module : config.modules)
                slots = std::max(slots, module.slot + 1);
            record[SlotCountOffset] = static_cast<char>(slots & 0xFF);
            record[SlotCountOffset + 1] = static_cast<char>(slots >> 8);
        } else {
            AppendUint16(record, port.type == QLatin1String("DeviceNet") ? 2 : 4);  // CIP port type
            AppendUint16(record, port.number);
            AppendUint16(record, 2);
            record.append(port.objectPath);
            AppendShortString(record, port.name);
        }
        return {MrReply(replyService, 0, record)};
    }
    return {MrReply(replyService, cip::PathDestinationUnknown)};
}

}  // namespace

BridgeConfig BridgeConfig::standard()
{
    BridgeConfig config;
    config.identity = {1, 0x0C, 0x0100, 1, 1, 0, 0x00C0FFEE, QStringLiteral("Simulated DeviceNet bridge")};
    config.ports = {
        BridgePort{1, QStringLiteral("TCP"), QStringLiteral("Ethernet"), QByteArray("\x20\xF5\x24\x01", 4)},
        BridgePort{2, QStringLiteral("DeviceNet"), QStringLiteral("DeviceNet"), QByteArray("\x20\xF4\x24\x02", 4)},
    };
    return config;
}

bool ParsePaddedPath(const QByteArray& path, CipRequest& request)
{
    try {
        ByteReader r(path);
        if (!ReadSegment(r, 0x20, request.classId) || !ReadSegment(r, 0x24, request.instance))
            return false;
        if (r.remaining() == 0)
            return true;
        if (r.u8() != 0x30)
            return false;
        request.attribute = r.u8();
        return r.remaining() == 0;
    } catch (const ShortPacket&) {
        return false;
    }
}

BridgeAnswer HandleMessageRouterRequest(const BridgeConfig& config, SimNetwork& network,
                                        const QByteArray& request)
{
    std::uint8_t service = 0;
    try {
        ByteReader r(request);
        service = r.u8();
        const QByteArray path = r.take(r.u8() * 2);
        if (service == UnconnectedSend && path == QByteArray("\x20\x06\x24\x01", 4))
            return HandleUnconnectedSend(config, network, r);
        return HandleLocal(config, service, path, r.rest());
    } catch (const ShortPacket&) {
        return {MrReply(static_cast<std::uint8_t>(service | 0x80), cip::NotEnoughData)};
    }
}

}  // namespace corvix::sim
