#pragma once

#include "TDeviceNetAdapter.h"
#include "line/RequestSlots.h"

#include <CorvixDriverContract.h>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>

namespace corvix::serial {

// One driver session: the adapter port, the request slot, the watchdog and the ageing of
// unanswered requests, and the callbacks of the host. Everything runs on the host's thread.
class SerialSession : public QObject {
    Q_OBJECT
public:
    explicit SerialSession(CorvixStatusCallback statusCallback);
    ~SerialSession() override;

    // Opens the port and arms the watchdog; on failure tells the user and stays without a port.
    void StartAdapter(const LineSettings& settings);
    // Ends everything that could call the host again; safe to run more than once.
    void StopDriver();

    void NetWorkWho(CorvixBrowseCallback browseCallback);
    void NetWorkRequest(std::uint32_t tag, std::uint8_t macId, const char* pathText,
                        std::uint8_t service, std::uint32_t dataLength, const std::uint8_t* data,
                        CorvixReplyCallback replyCallback);
    // The settings text handed back to the host; stays valid while the session lives.
    QByteArray settingsText;

    // True while the session is inside a host callback or waits in NetWorkRequest, when it must
    // not be destroyed under its own feet.
    bool isBusy() const { return busy_ > 0; }

    // The clock of the slot table, for tests that step time themselves.
    std::int64_t nowMs() const { return clock_.elapsed(); }

private:
    void OnRxMessage(const QByteArray& payload);
    void HandleReply(const QByteArray& payload);
    void Timer1Timer();
    void CheckSlots();
    void ReportStatus(std::uint32_t code);
    void PortLost();

    std::unique_ptr<TDeviceNetAdapter> adapter_;
    RequestSlotTable slots_;
    Watchdog watchdog_;
    QTimer timer1_;
    QTimer maintainer_;
    QElapsedTimer clock_;
    CorvixStatusCallback statusCallback_ = nullptr;
    CorvixBrowseCallback browseCallback_ = nullptr;
    bool stopped_ = false;
    int busy_ = 0;
};

}  // namespace corvix::serial
