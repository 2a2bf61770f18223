#include "TDeviceNetAdapter.h"

#include <cerrno>

namespace corvix::serial {

namespace {

std::string WithSystemCode(const char* text)
{
    return text + std::to_string(errno);
}

}  // namespace

TDeviceNetAdapter::TDeviceNetAdapter(QObject* parent) : QObject(parent)
{
    connect(&port_, &QSerialPort::readyRead, this, &TDeviceNetAdapter::readWaiting);
    connect(&port_, &QSerialPort::errorOccurred, this, &TDeviceNetAdapter::portError);
}

TDeviceNetAdapter::~TDeviceNetAdapter()
{
    try {
        ClosePort();
    } catch (const std::exception&) {
        // The port goes away with us in any case.
    }
}

void TDeviceNetAdapter::OpenPort()
{
    ClosePort();
    port_.setPortName(Port);
    errno = 0;
    if (!port_.open(QIODevice::ReadWrite))
        throw EComHandle(WithSystemCode("Unable to open driver at port: "));
    port_.setReadBufferSize(ReadBufSize);
    const bool lineSet = port_.setBaudRate(LineBitRate) && port_.setDataBits(QSerialPort::Data8) &&
                         port_.setParity(QSerialPort::OddParity) &&
                         port_.setStopBits(QSerialPort::OneStop) &&
                         port_.setFlowControl(FlowControl.OutCtsFlow || FlowControl.OutDsrFlow
                                                  ? QSerialPort::HardwareControl
                                                  : QSerialPort::NoFlowControl);
    if (!lineSet) {
        const std::string message = WithSystemCode("Unable to set com state: ");
        port_.close();
        throw EComState(message);
    }
    // Adapters that take power from the modem lines expect them off. Devices without modem lines
    // (USB bridges without them, pseudo-terminals) refuse this, which does them no harm.
    if (!FlowControl.OutCtsFlow && !FlowControl.OutDsrFlow)
        port_.setRequestToSend(false);
    port_.setDataTerminalReady(false);
    port_.clearError();
    reader_.reset();
    pending_.clear();
    connected_ = true;
    SendBytes(GoOnlineFrame(MacId, BaudRate));
}

void TDeviceNetAdapter::ClosePort()
{
    if (!connected_)
        return;
    connected_ = false;
    if (port_.isOpen()) {
        // Tell the adapter, and give the command the time to leave before the port goes.
        port_.write(GoOfflineFrame());
        port_.waitForBytesWritten(100);
        port_.close();
    }
    reader_.reset();
    pending_.clear();
}

void TDeviceNetAdapter::SendBytes(const QByteArray& frame)
{
    errno = 0;
    if (!connected_ || port_.write(frame) != frame.size())
        throw EComIO(WithSystemCode("Operation failed: "));
}

void TDeviceNetAdapter::readWaiting()
{
    QList<QByteArray> payloads;
    reader_.feed(port_.readAll(), payloads);
    pending_ += payloads;
    // Messages are handed on from the event loop, not from inside the port's readyRead: a host
    // that opens a dialog in its reply callback (an error question) waits there in a loop of
    // its own, and the port does not signal readyRead again while its handler runs. The
    // adapter's status messages would go unheard and the watchdog would take the network
    // offline while the question is open.
    scheduleDelivery();
}

void TDeviceNetAdapter::scheduleDelivery()
{
    if (!pending_.isEmpty() && !deliveryQueued_) {
        deliveryQueued_ = true;
        QMetaObject::invokeMethod(this, &TDeviceNetAdapter::deliverNext, Qt::QueuedConnection);
    }
}

void TDeviceNetAdapter::deliverNext()
{
    deliveryQueued_ = false;
    if (pending_.isEmpty())
        return;
    // A message handler may close the port (and so this adapter's owner may stop it); what is
    // still pending is dropped then.
    if (!connected_ || !OnRxMessage) {
        pending_.clear();
        return;
    }
    const QByteArray payload = pending_.takeFirst();
    // The next message is queued before this one is handled, so that a handler waiting in a
    // loop of its own still gets it; nothing of this object is touched after the handler.
    scheduleDelivery();
    OnRxMessage(payload);
}

void TDeviceNetAdapter::portError(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::ResourceError || !connected_)
        return;
    // The device is gone: close without the offline command, which could not be written.
    connected_ = false;
    port_.close();
    reader_.reset();
    pending_.clear();
    if (OnPortLost)
        OnPortLost();
}

}  // namespace corvix::serial
