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
    // A message handler may close the port (and so this adapter's owner may stop it); stop
    // handing on messages then.
    for (const QByteArray& payload : payloads) {
        if (!connected_ || !OnRxMessage)
            return;
        OnRxMessage(payload);
    }
}

void TDeviceNetAdapter::portError(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::ResourceError || !connected_)
        return;
    // The device is gone: close without the offline command, which could not be written.
    connected_ = false;
    port_.close();
    reader_.reset();
    if (OnPortLost)
        OnPortLost();
}

}  // namespace corvix::serial
