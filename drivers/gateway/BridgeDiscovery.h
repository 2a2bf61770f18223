#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

// What the set-up dialog learns about bridges: their ListIdentity answers, their installed EDS
// files, and the route to the DeviceNet port the user picks.
namespace corvix::gateway {

struct BridgeIdentity {
    std::uint32_t ipAddress = 0;  // host order
    std::uint16_t vendorId = 0;
    std::uint16_t deviceType = 0;
    std::uint16_t productCode = 0;
    std::uint8_t majorRevision = 0;
    std::uint8_t minorRevision = 0;
    std::uint32_t serialNumber = 0;
    QByteArray productName;

    QString edsFileName() const;
};

// "%d_%d_%d_%d.eds" of vendor ID, device type, product code and major revision: the name of an
// installed EDS file.
QString EdsFileName(std::uint16_t vendorId, std::uint16_t deviceType, std::uint16_t productCode,
                    std::uint8_t majorRevision);

// The identity item of a ListIdentity reply; nothing for a datagram that is not one.
std::optional<BridgeIdentity> ParseListIdentity(const QByteArray& datagram);

struct BridgePortRecord {
    QByteArray type;  // "DeviceNet", "TCP", "Backplane" ...
    QByteArray name;
    QByteArray objectPath;  // four bytes, e.g. 20 66 24 01
    int number = 0;

    bool isBackplane() const {
        return objectPath.size() == 4 && std::uint8_t(objectPath[1]) == 0x66;
    }
};

struct BridgeEds {
    std::uint16_t vendorId = 0;
    std::uint16_t deviceType = 0;
    std::uint16_t productCode = 0;
    std::uint8_t majorRevision = 0;
    QByteArray productName;
    QList<BridgePortRecord> ports;

    bool matches(std::uint16_t vendor, std::uint16_t type, std::uint16_t product,
                 std::uint8_t major) const
    {
        return vendorId == vendor && deviceType == type && productCode == product
               && majorRevision == major;
    }
};

// Reads the identity and the [Port] entries of an installed EDS file (fileName inside folder,
// letter case of the name ignored); nothing when there is no such file.
std::optional<BridgeEds> ReadBridgeEds(const QString& folder, const QString& fileName);
// The same on the file's text.
BridgeEds ParseBridgeEds(const QByteArray& text);

// The folder of the installed EDS files.
QString BridgeEdsFolder();

}  // namespace corvix::gateway
