#pragma once

#include <QByteArray>

#include <cstdint>
#include <stdexcept>

namespace corvix::sim {

// A packet ended before a field it announces: the caller answers or drops the packet.
class ShortPacket : public std::runtime_error {
public:
    ShortPacket() : std::runtime_error("packet too short") {}
};

// Reads little-endian fields from received bytes; reading past the end raises ShortPacket at
// once instead of returning garbage.
class ByteReader {
public:
    explicit ByteReader(const QByteArray& bytes, qsizetype offset = 0) : bytes_(bytes), pos_(offset) {}

    std::uint8_t u8() { need(1); return static_cast<std::uint8_t>(bytes_[pos_++]); }
    std::uint16_t u16()
    {
        const std::uint16_t low = u8();
        return static_cast<std::uint16_t>(low | u8() << 8);
    }
    std::uint32_t u32()
    {
        const std::uint32_t low = u16();
        return low | static_cast<std::uint32_t>(u16()) << 16;
    }
    QByteArray take(qsizetype count)
    {
        need(count);
        const QByteArray part = bytes_.mid(pos_, count);
        pos_ += count;
        return part;
    }
    QByteArray rest() { return take(remaining()); }
    qsizetype remaining() const { return bytes_.size() - pos_; }
    qsizetype position() const { return pos_; }

private:
    void need(qsizetype count) const
    {
        if (count < 0 || count > remaining())
            throw ShortPacket();
    }

    const QByteArray& bytes_;
    qsizetype pos_;
};

}  // namespace corvix::sim
