#pragma once

#include "line/SerialLine.h"

#include <QObject>
#include <QSerialPort>

#include <functional>
#include <stdexcept>

namespace corvix::serial {

// Error kinds of the port component. Their texts never reach the user directly: the session
// turns any failure to open into its own message.
class EComPort : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EComHandle : public EComPort {
    using EComPort::EComPort;
};
class EComState : public EComPort {
    using EComPort::EComPort;
};
class EComIO : public EComPort {
    using EComPort::EComPort;
};

struct TFlowControl {
    bool OutCtsFlow = false;
    bool OutDsrFlow = false;
};

// The serial port that carries the adapter line: fixed line settings (38400 bit/s, 8 data bits,
// odd parity, 1 stop bit, DTR and RTS off), the go-online and go-offline commands around the
// open port, and the receive framing that turns the byte stream into adapter messages.
class TDeviceNetAdapter : public QObject {
    Q_OBJECT
public:
    static constexpr int LineBitRate = 38400;

    explicit TDeviceNetAdapter(QObject* parent = nullptr);
    ~TDeviceNetAdapter() override;

    QString Port = QStringLiteral("COM1");
    std::uint8_t MacId = 63;
    std::uint8_t BaudRate = 2;
    int WriteBufSize = 8192;
    int ReadBufSize = 8192;
    TFlowControl FlowControl;

    // One complete received frame's payload.
    std::function<void(const QByteArray&)> OnRxMessage;
    // The port failed while open (device unplugged, terminal hung up); it is closed already.
    std::function<void()> OnPortLost;

    // Opens and configures the port and sends the go-online command; throws EComPort.
    void OpenPort();
    // Sends the go-offline command and closes the port; does nothing when closed.
    void ClosePort();
    bool isConnected() const { return connected_; }
    // Writes one frame; throws EComIO when the port refuses it.
    void SendBytes(const QByteArray& frame);

private:
    void readWaiting();
    void scheduleDelivery();
    void deliverNext();
    void portError(QSerialPort::SerialPortError error);

    QSerialPort port_;
    FrameReader reader_;
    bool connected_ = false;
    // Received messages not handed on yet; each goes from an event of its own.
    QList<QByteArray> pending_;
    bool deliveryQueued_ = false;
};

}  // namespace corvix::serial
