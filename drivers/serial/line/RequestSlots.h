#pragma once

#include "line/SerialLine.h"

#include <CorvixDriverContract.h>

#include <array>

namespace corvix::serial {

// One request as it travels to the adapter and back.
struct RequestSlot {
    std::uint32_t tag = 0;
    std::uint8_t transferStatus = 0;
    std::uint8_t number = 0;
    std::uint8_t macId = 0;
    std::uint8_t service = 0;
    RequestPath path;
    QByteArray requestData;
    QByteArray replyData;
    bool replied = false;
    bool inUse = false;
    CorvixReplyCallback replyCallback = nullptr;
    std::int64_t sentAtMs = 0;
};

// The adapter numbers requests by slot; it knows slots 0 to 2 and we only ever use slot 1, so
// one request at a time is in progress. Time is handed in (milliseconds of a steady clock), so
// the table and its ageing run without timers.
class RequestSlotTable {
public:
    static constexpr int SlotCount = 3;
    static constexpr int RequestSlotNumber = 1;
    // A request the adapter has not answered by then is given up: the adapter's own time-outs
    // are far shorter, so no reply is coming any more.
    static constexpr std::int64_t ReleaseAgeMs = 11'000;
    // How often the ageing check runs.
    static constexpr int CheckPeriodMs = 3000;

    // Takes the request slot; -1 when it is busy.
    int allocate(std::int64_t nowMs);
    void free(int number);
    void freeAll() { free(RequestSlotNumber); }
    void freeOfMac(std::uint8_t macId);
    // Releases the request in progress, without a reply, once it is ReleaseAgeMs old.
    bool releaseAged(std::int64_t nowMs);

    RequestSlot& slot(int number) { return slots_.at(std::size_t(number)); }
    int inProgress() const { return inProgress_; }

private:
    std::array<RequestSlot, SlotCount> slots_{};
    int inProgress_ = 0;
};

// Counts 10 ms ticks of silence while the adapter is online. The adapter sends a status or
// acknowledge message at least every few seconds; after 300 silent ticks the connection to it
// is taken as lost, reported once, and the watchdog stays quiet until armed again.
class Watchdog {
public:
    static constexpr int TickMs = 10;
    static constexpr int SilentTicks = 300;

    void arm()
    {
        armed_ = true;
        ticks_ = 0;
    }
    void disarm() { armed_ = false; }
    void heard() { ticks_ = 0; }
    // True when this tick is the one to report the time-out; canReport tells whether there is
    // anyone to report to (without, the watchdog keeps counting).
    bool tick(bool canReport)
    {
        if (!armed_)
            return false;
        ++ticks_;
        if (ticks_ <= SilentTicks || !canReport)
            return false;
        armed_ = false;
        ticks_ = 0;
        return true;
    }
    bool isArmed() const { return armed_; }

private:
    bool armed_ = false;
    int ticks_ = 0;
};

}  // namespace corvix::serial
