#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

// EtherNet/IP encapsulation and the CIP messages the gateway driver sends to its bridge. Pure
// functions over bytes, so that every frame can be checked without a socket.
namespace corvix::gateway {

constexpr std::uint16_t CommandListIdentity = 0x0063;
constexpr std::uint16_t CommandRegisterSession = 0x0065;
constexpr std::uint16_t CommandUnRegisterSession = 0x0066;
constexpr std::uint16_t CommandSendRRData = 0x006F;
constexpr int HeaderSize = 24;
constexpr std::uint16_t EnipPort = 44818;
constexpr std::uint8_t ServiceUnconnectedSend = 0x52;
constexpr std::uint8_t ServiceUnconnectedSendReply = 0xD2;

// What the driver writes into the sender context (bytes 12 to 19) and gets back with the reply.
struct SenderContext {
    std::uint32_t tag = 0;
    std::uint8_t macId = 0;
};

QByteArray EncapsulationHeader(std::uint16_t command, std::uint16_t length,
                               std::uint32_t sessionHandle, SenderContext context = {});
QByteArray ListIdentityPacket();
QByteArray RegisterSessionPacket();

// Compact request path bytes (8-bit or unpadded 16-bit class and instance segments, optional
// attribute) in the padded form CIP requires on the wire; nothing when the bytes are not such a
// path.
std::optional<QByteArray> PaddedPath(const QByteArray& compact);

// Service, path size in words, padded path and data: one explicit request. Nothing for a bad
// path.
std::optional<QByteArray> MessageRouterRequest(std::uint8_t service, const QByteArray& compactPath,
                                               const QByteArray& data);

// The request wrapped in an Unconnected Send to the Connection Manager along route (whose last
// byte is the destination MAC ID). Nothing for a bad path or a route of odd length.
std::optional<QByteArray> UnconnectedSendRequest(std::uint8_t service,
                                                 const QByteArray& compactPath,
                                                 const QByteArray& data, const QByteArray& route);

// A SendRRData packet carrying one message router request in an unconnected data item.
QByteArray SendRRDataPacket(std::uint32_t sessionHandle, SenderContext context,
                            const QByteArray& request);

// The path bytes of a request path text: up to seven hexadecimal numbers separated by blanks.
// Nothing for any other text.
std::optional<QByteArray> PathBytesFromText(const char* text);

}  // namespace corvix::gateway
