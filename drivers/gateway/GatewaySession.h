#pragma once

#include "gateway/EnipReceiver.h"
#include "gateway/GatewaySettings.h"
#include "gateway/TransactionTable.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace corvix::gateway {

// One driver session (one per owner window): the TCP connection to the chosen bridge with its
// registered EtherNet/IP session, the request table and the callbacks of the host. Everything
// runs on the host's thread, driven by socket notifications and the 100-ms time-out check.
class GatewaySession : public QObject, private TransactionSink {
public:
    GatewaySession(CorvixDriverHandle handle, void* ownerWindow);
    ~GatewaySession() override;

    CorvixDriverHandle handle() const { return handle_; }
    void* ownerWindow() const { return ownerWindow_; }
    void setStatusCallback(CorvixStatusCallback callback) { statusCallback_ = callback; }
    void reportStatus(std::uint32_t code);

    // Connects to the bridge; reports online (4) once the bridge has registered the session.
    void goOnline(const GatewaySettings& settings);
    const QByteArray& settingsText() const { return settingsText_; }

    void request(Request request);
    void browse(CorvixBrowseCallback callback);

    // Ends the session for the host: no callback follows. Returns whether the object may be
    // deleted now; otherwise it deletes itself later from the event loop.
    bool close();

private:
    void send(const Request& request, const QByteArray& route) override;
    void reply(const Request& request, std::uint8_t transferStatus, std::uint8_t replyService,
               const QByteArray& data) override;
    void browseRecord(const QByteArray& record) override;
    void status(std::uint32_t code) override;

    void readData();
    void checkTimeouts();
    template <typename Work>
    void dispatch(Work work);

    CorvixDriverHandle handle_;
    void* ownerWindow_;
    CorvixStatusCallback statusCallback_ = nullptr;
    CorvixBrowseCallback browseCallback_ = nullptr;
    QByteArray settingsText_;
    QTcpSocket socket_;
    QTimer checkTimer_;
    QElapsedTimer clock_;
    EnipReceiver receiver_;
    std::unique_ptr<TransactionTable> table_;
    std::uint32_t sessionHandle_ = 0;
    bool registered_ = false;
    bool closed_ = false;
    int dispatchDepth_ = 0;
};

}  // namespace corvix::gateway
