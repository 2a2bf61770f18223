#pragma once

#include <CorvixDriverContract.h>

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "app/CallbackThunk.h"

namespace corvix {

class TDeviceNetWork;

// The way back from the driver to the class/instance editor. A driver keeps the reply address
// of a request until it answers or drops the request or its session ends, and the user may
// close the editor before that. So the editor does not destroy a port that still has requests
// out: it hands it to Release(), and the port frees itself once nothing can come through it
// any more: after the last awaited reply, when the driver session it was used in has ended, or
// with the network at the latest (whose destructor closes the driver before it frees its
// children).
class TClassInstanceReplyPort : public QObject {
    Q_OBJECT
public:
    struct Reply {
        uint32_t tag;
        uint8_t transferStatus;
        uint8_t service;
        QByteArray data;
        // Whether a request sent through the port was still waiting for it; a driver that
        // reports one failure more than once finds none the second time.
        bool awaited;
    };
    using Receiver = std::function<void(const Reply&)>;

    explicit TClassInstanceReplyPort(Receiver receiver);
    ~TClassInstanceReplyPort() override;

    CorvixReplyCallback Address() const { return thunk_.address(); }
    // A request is about to go out through the network's current driver session. Requests of
    // an earlier session are forgotten: after its end no reply of it can come.
    void Expect(const TDeviceNetWork& network);
    int Outstanding() const { return outstanding_; }

    // The receiver is going away. The port goes at once when no request is out, else as told
    // above; the receiver is never called again.
    static void Release(std::unique_ptr<TClassInstanceReplyPort> port, TDeviceNetWork* network);

private:
    void arrived(uint32_t tag, uint8_t transferStatus, uint8_t service, uint32_t length,
                 const uint8_t* data);
    bool sessionOpen(const TDeviceNetWork& network) const;
    // After Release: stays with the network while a reply can still come, else goes.
    void settle(bool fromCallback);

    Receiver receiver_;
    bool released_ = false;
    bool inReply_ = false;
    int outstanding_ = 0;
    CorvixDriverHandle session_ = 0;
    QPointer<TDeviceNetWork> network_;
    CallbackThunk<CorvixReplyCallback> thunk_;
};

}  // namespace corvix
