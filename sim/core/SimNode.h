#pragma once

#include "core/CipMessage.h"
#include "core/ParameterObject.h"
#include "core/ScannerObjects.h"

namespace corvix::sim {

// What the Identity object (class 1, instance 1) reports.
struct SimIdentity {
    std::uint16_t vendorId = 0;
    std::uint16_t deviceType = 0;
    std::uint16_t productCode = 0;
    std::uint8_t majorRevision = 1;
    std::uint8_t minorRevision = 1;
    std::uint16_t status = 0;
    std::uint32_t serialNumber = 0;
    QString productName;
};

// One simulated DeviceNet node: the objects every node has, its parameters when it has any and
// the scanner objects when it is a scanner. Pure: a request in, a reply out.
class SimNode {
public:
    std::uint8_t macId = 0;
    std::uint8_t dataRate = 0;  // 0 = 125, 1 = 250, 2 = 500 kbit/s
    bool quickConnect = false;
    SimIdentity identity;
    SimParameterClass parameters;
    std::optional<SimScanner> scanner;

    CipReply handle(const CipRequest& request);

    // A Set of the MAC ID succeeded with this new address; the network moves the node after the
    // reply has gone out at the old address. Cleared by the network.
    std::optional<std::uint8_t> requestedMacId;

    // The 13-byte browse record (MAC ID, identity, serial number).
    QByteArray browseRecord() const;

private:
    CipReply handleIdentity(const CipRequest& request) const;
    CipReply handleDeviceNet(const CipRequest& request);
};

}  // namespace corvix::sim
