#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace corvix::sim {

// CIP general status codes a device answers with (CIP Volume 1, Appendix B).
namespace cip {
constexpr std::uint8_t ConnectionFailure = 0x01;
constexpr std::uint8_t ResourceUnavailable = 0x02;
constexpr std::uint8_t PathDestinationUnknown = 0x05;
constexpr std::uint8_t ServiceNotSupported = 0x08;
constexpr std::uint8_t InvalidAttributeValue = 0x09;
constexpr std::uint8_t ObjectStateConflict = 0x0C;
constexpr std::uint8_t AttributeNotSettable = 0x0E;
constexpr std::uint8_t DeviceStateConflict = 0x10;
constexpr std::uint8_t NotEnoughData = 0x13;
constexpr std::uint8_t AttributeNotSupported = 0x14;
constexpr std::uint8_t TooMuchData = 0x15;
constexpr std::uint8_t ObjectDoesNotExist = 0x16;
constexpr std::uint8_t InvalidParameter = 0x20;

constexpr std::uint8_t GetAttributesAll = 0x01;
constexpr std::uint8_t SetAttributesAll = 0x02;
constexpr std::uint8_t Reset = 0x05;
constexpr std::uint8_t GetAttributeSingle = 0x0E;
constexpr std::uint8_t SetAttributeSingle = 0x10;
constexpr std::uint8_t Save = 0x16;
constexpr std::uint8_t GetMember = 0x18;
constexpr std::uint8_t SetMember = 0x1A;
constexpr std::uint8_t GetEnumString = 0x4B;
constexpr std::uint8_t ErrorReply = 0x94;
}  // namespace cip

// One explicit request as a node sees it: the service, its class/instance/attribute path and the
// request data.
struct CipRequest {
    std::uint8_t service = 0;
    std::uint16_t classId = 0;
    std::uint16_t instance = 0;
    std::optional<std::uint8_t> attribute;
    QByteArray data;
};

// A node's answer: the reply service (request service | 0x80, or 0x94 with the general status
// as the first data byte) and the reply data.
struct CipReply {
    std::uint8_t service = 0;
    QByteArray data;

    static CipReply success(const CipRequest& request, const QByteArray& data = {});
    static CipReply error(std::uint8_t generalStatus);
    bool isError() const { return service == cip::ErrorReply; }
    std::uint8_t generalStatus() const;
};

// Little-endian encoders for reply data.
void AppendUint16(QByteArray& bytes, std::uint16_t value);
void AppendUint32(QByteArray& bytes, std::uint32_t value);
// A CIP SHORT_STRING: a length byte and up to 255 characters in the Windows code page.
void AppendShortString(QByteArray& bytes, const QString& text);

// The hexadecimal form of bytes for the log ("02 0A 04 ...").
QString HexBytes(const QByteArray& bytes);

}  // namespace corvix::sim
