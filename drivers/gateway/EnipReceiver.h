#pragma once

#include "gateway/EnipCodec.h"

#include <QList>

namespace corvix::gateway {

// One packet from the bridge that the driver acts on.
struct EnipEvent {
    enum class Kind { Registered, Unregistered, Reply };
    Kind kind = Kind::Reply;
    std::uint32_t sessionHandle = 0;  // Registered
    SenderContext context;            // Registered, Reply
    QByteArray item;                  // Reply: the unconnected data item (message router reply)
};

// Cuts the byte stream of the bridge connection into encapsulation packets. Whatever arrives is
// checked against its own length fields before a byte of it is used; packets that make no sense
// are dropped, and a packet that can never fit the buffer breaks the stream.
class EnipReceiver {
public:
    static constexpr int BufferSize = 32768;

    // How many bytes the buffer still takes.
    int freeSpace() const { return BufferSize - int(buffer_.size()); }

    // Adds received bytes (at most freeSpace()) and returns the complete packets among them.
    // Sets broken() when the stream cannot be resynchronised; the caller then closes the
    // connection.
    QList<EnipEvent> receive(const QByteArray& bytes);

    bool broken() const { return broken_; }
    void reset();

private:
    QByteArray buffer_;
    bool broken_ = false;
};

// The events of one complete packet (empty for a packet that is ignored or malformed).
std::optional<EnipEvent> DecodePacket(const QByteArray& packet);

}  // namespace corvix::gateway
