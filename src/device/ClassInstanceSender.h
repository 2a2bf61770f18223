#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

#include "device/ClassInstanceReplyPort.h"
#include "device/ClassInstanceRequest.h"

namespace corvix {

class TDeviceNetDevice;
class TDeviceNetWork;

// Sends the class/instance editor's requests to one device through the network's driver and
// turns the replies into the text the editor shows. Everything the user is told goes through
// UserPrompt::current().
class TClassInstanceSender : public QObject {
    Q_OBJECT
public:
    TClassInstanceSender(TDeviceNetWork* network, TDeviceNetDevice* device,
                         QObject* parent = nullptr);
    ~TClassInstanceSender() override;

    // Sends the request the fields describe. Refused, with the user told why, when the driver
    // cannot send ("DLL not found...", "Function does not exists in driver software"), when the
    // data text is malformed ("Tx-data format not correct") or when a number field does not
    // fit its place in the request.
    //
    // A driver may handle events while it waits to send: the sender may be destroyed before
    // Send returns, so callers touch nothing of theirs after a Send that returned true.
    bool Send(const ClassInstanceFields& fields);

    // Requests sent whose replies have not come yet (a driver may drop one without answering).
    int Outstanding() const { return port_->Outstanding(); }

    static const QString& NotAvailableText();

Q_SIGNALS:
    // A reply came while the network is online: the data bytes or the error reply's status.
    void replyShown(const QString& text);

private:
    void handleReply(const TClassInstanceReplyPort::Reply& reply);

    QPointer<TDeviceNetWork> network_;
    TDeviceNetDevice* device_;
    std::unique_ptr<TClassInstanceReplyPort> port_;
};

}  // namespace corvix
