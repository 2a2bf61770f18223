#include "device/ClassInstanceReplyPort.h"

#include "network/DeviceNetWork.h"

namespace corvix {

TClassInstanceReplyPort::TClassInstanceReplyPort(Receiver receiver)
    : receiver_(std::move(receiver)),
      thunk_([this](uint32_t tag, uint8_t transferStatus, uint8_t service, uint32_t length,
                    const uint8_t* data) { arrived(tag, transferStatus, service, length, data); })
{
}

TClassInstanceReplyPort::~TClassInstanceReplyPort() = default;

void TClassInstanceReplyPort::Expect(const TDeviceNetWork& network)
{
    if (!sessionOpen(network)) {
        outstanding_ = 0;
        session_ = network.DriverHandle;
    }
    ++outstanding_;
}

bool TClassInstanceReplyPort::sessionOpen(const TDeviceNetWork& network) const
{
    return network.DriverModule() && network.DriverHandle != 0 && network.DriverHandle == session_;
}

void TClassInstanceReplyPort::Release(std::unique_ptr<TClassInstanceReplyPort> port,
                                      TDeviceNetWork* network)
{
    if (!port) {
        return;
    }
    TClassInstanceReplyPort* kept = port.release();
    kept->released_ = true;
    kept->network_ = network;
    // Released from inside its own reply (the receiver's message box let the user close the
    // editor): the reply settles the port when it is done.
    if (!kept->inReply_) {
        kept->settle(false);
    }
}

void TClassInstanceReplyPort::arrived(uint32_t tag, uint8_t transferStatus, uint8_t service,
                                      uint32_t length, const uint8_t* data)
{
    const bool awaited = outstanding_ > 0;
    if (awaited) {
        --outstanding_;
    }
    if (!released_) {
        inReply_ = true;
        receiver_({tag, transferStatus, service,
                   data ? QByteArray(reinterpret_cast<const char*>(data), qsizetype(length))
                        : QByteArray(),
                   awaited});
        inReply_ = false;
    }
    if (released_) {
        settle(true);
    }
}

void TClassInstanceReplyPort::settle(bool fromCallback)
{
    if (outstanding_ > 0 && network_ && sessionOpen(*network_)) {
        if (parent() != network_) {
            setParent(network_);
            connect(network_, &TDeviceNetWork::connectionStateChanged, this,
                    [this] { settle(true); });
        }
        return;
    }
    // From a reply or a signal the caller is still running the port's code: it goes once
    // control is back in the event loop.
    if (fromCallback) {
        deleteLater();
    } else {
        delete this;
    }
}

}  // namespace corvix
