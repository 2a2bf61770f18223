#pragma once

#include "core/SimNetwork.h"

#include <QByteArray>
#include <QList>

#include <functional>

namespace corvix::sim {

// The RS232-to-DeviceNet adapter, device side of the line protocol. Frames are STX, LEN and LEN
// payload bytes. Time is handed in (microseconds of any steady clock), so the state machine runs
// without a port or a timer; the port front end feeds it and writes what comes due.
class SerialAdapter {
public:
    static constexpr std::int64_t StatusPeriodUs = 1'000'000;
    // 38400 bit/s with start, 8 data, parity and stop bit: 11 bits a byte.
    static constexpr double ByteTimeUs = 11.0 * 1'000'000.0 / 38400.0;

    explicit SerialAdapter(SimNetwork& network) : network_(network) {}

    void setLineRateEmulation(bool on) { lineRate_ = on; }
    bool isOnline() const { return online_; }
    std::uint8_t macId() const { return macId_; }

    // Bytes arrived from the driver at time nowUs.
    void receive(const QByteArray& bytes, std::int64_t nowUs);
    // Time passed: queues the periodic status message while online.
    void tick(std::int64_t nowUs);
    // The frames due at nowUs, in the order they go on the line.
    QByteArray takeDue(std::int64_t nowUs);
    // When tick() or takeDue() has work next: a queued frame or the next status message.
    std::optional<std::int64_t> nextWakeUs() const;

    // Called with one decoded line for every request to a node, for the verbose log.
    std::function<void(const QString&)> log;

private:
    struct Pending {
        std::int64_t dueUs;
        QByteArray frame;
        bool endsRequest;
    };

    void handleFrame(const QByteArray& payload, std::int64_t readyUs);
    void handleRequest(const QByteArray& payload, std::int64_t readyUs);
    void queue(const QByteArray& payload, std::int64_t readyUs, bool endsRequest = false);
    void queueStatus(std::int64_t nowUs);
    void queueReply(std::uint8_t transferStatus, std::uint8_t slot, const CipReply& reply,
                    std::int64_t readyUs);

    SimNetwork& network_;
    bool lineRate_ = false;
    bool online_ = false;
    std::uint8_t macId_ = 0;
    std::uint8_t dataRate_ = 0;
    bool requestInProgress_ = false;
    std::int64_t nextStatusUs_ = 0;
    double inputLineFreeUs_ = 0;
    double outputLineFreeUs_ = 0;
    bool delayedReply_ = false;  // set while queuing a reply the node answers late

    // Receive framing
    bool synchronised_ = false;
    int expectedLength_ = 0;
    QByteArray buffer_;

    QList<Pending> outbox_;
};

}  // namespace corvix::sim
