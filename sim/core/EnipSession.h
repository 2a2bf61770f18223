#pragma once

#include "core/EnipBridge.h"

#include <functional>

namespace corvix::sim {

// Encapsulation commands and status codes (EtherNet/IP).
namespace enip {
constexpr std::uint16_t ListServices = 0x0004;
constexpr std::uint16_t ListIdentity = 0x0063;
constexpr std::uint16_t RegisterSession = 0x0065;
constexpr std::uint16_t UnRegisterSession = 0x0066;
constexpr std::uint16_t SendRRData = 0x006F;
constexpr std::uint32_t InvalidCommand = 0x0001;
constexpr std::uint32_t IncorrectData = 0x0003;
constexpr std::uint32_t InvalidSession = 0x0064;
constexpr std::uint32_t InvalidLength = 0x0065;
constexpr std::uint32_t UnsupportedProtocol = 0x0069;
constexpr int HeaderSize = 24;
// Larger than any request the bridge accepts: a length above it is garbage, not a slow packet.
constexpr int MaxData = 4096;
}  // namespace enip

// The reply to a ListIdentity request (UDP or TCP); request is the received header.
QByteArray ListIdentityReply(const BridgeConfig& config, const QByteArray& requestHeader);

// One TCP connection to the bridge: splits the stream into encapsulation packets and answers
// them. Time is handed in so that delayed node replies need no timer here.
class EnipSession {
public:
    EnipSession(const BridgeConfig& config, SimNetwork& network, std::uint32_t sessionHandle)
        : config_(config), network_(network), handle_(sessionHandle) {}

    void receive(const QByteArray& bytes, std::int64_t nowUs);
    QByteArray takeDue(std::int64_t nowUs);
    std::optional<std::int64_t> nextWakeUs() const;
    // The peer sent garbage or unregistered: write what is due, then close.
    bool wantsClose() const { return close_; }

    std::function<void(const QString&)> log;

private:
    void handlePacket(const QByteArray& packet, std::int64_t nowUs);
    void handleSendRRData(const QByteArray& packet, std::int64_t nowUs);
    void queue(const QByteArray& packet, std::int64_t dueUs);

    const BridgeConfig& config_;
    SimNetwork& network_;
    std::uint32_t handle_;
    bool registered_ = false;
    bool close_ = false;
    QByteArray buffer_;
    QList<std::pair<std::int64_t, QByteArray>> outbox_;
};

}  // namespace corvix::sim
