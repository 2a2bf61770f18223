#include "core/CipMessage.h"

#include "app/Windows1252.h"

namespace corvix::sim {

CipReply CipReply::success(const CipRequest& request, const QByteArray& data)
{
    return CipReply{static_cast<std::uint8_t>(request.service | 0x80), data};
}

CipReply CipReply::error(std::uint8_t generalStatus)
{
    return CipReply{cip::ErrorReply, QByteArray(1, static_cast<char>(generalStatus))};
}

std::uint8_t CipReply::generalStatus() const
{
    return isError() && !data.isEmpty() ? static_cast<std::uint8_t>(data[0]) : 0;
}

void AppendUint16(QByteArray& bytes, std::uint16_t value)
{
    bytes.append(static_cast<char>(value & 0xFF));
    bytes.append(static_cast<char>(value >> 8));
}

void AppendUint32(QByteArray& bytes, std::uint32_t value)
{
    AppendUint16(bytes, static_cast<std::uint16_t>(value & 0xFFFF));
    AppendUint16(bytes, static_cast<std::uint16_t>(value >> 16));
}

void AppendShortString(QByteArray& bytes, const QString& text)
{
    const QByteArray encoded = EncodeWindows1252(text).left(255);
    bytes.append(static_cast<char>(encoded.size()));
    bytes.append(encoded);
}

QString HexBytes(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

}  // namespace corvix::sim
