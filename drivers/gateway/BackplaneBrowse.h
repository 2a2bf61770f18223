#pragma once

#include "gateway/BridgeDiscovery.h"
#include "gateway/EnipReceiver.h"

#include <QHostAddress>
#include <QTcpSocket>

#include <functional>

namespace corvix::gateway {

// The identity of the module in one backplane slot.
struct SlotModule {
    int slot = 0;
    std::uint16_t vendorId = 0;
    std::uint16_t deviceType = 0;
    std::uint16_t productCode = 0;
    std::uint8_t majorRevision = 0;
    QByteArray productName;
};

// Reads the slot count of a bridge's backplane port, then the identity of every slot through
// that backplane, over a connection of its own that it closes after the last slot answered.
class BackplaneBrowse : public QObject {
public:
    BackplaneBrowse(const QHostAddress& bridge, quint16 tcpPort, QByteArray portPath,
                    std::function<void(const SlotModule&)> found, QObject* parent = nullptr);

private:
    void handle(const EnipEvent& event);
    void send(std::uint32_t tag, const QByteArray& request);

    QTcpSocket socket_;
    EnipReceiver receiver_;
    QByteArray portPath_;
    std::function<void(const SlotModule&)> found_;
    std::uint32_t sessionHandle_ = 0;
    int slots_ = 0;
    int answered_ = 0;
};

// The Identity object's Get_Attributes_All data of a module; nothing when it is too short.
std::optional<SlotModule> ParseSlotIdentity(int slot, const QByteArray& data);

}  // namespace corvix::gateway
