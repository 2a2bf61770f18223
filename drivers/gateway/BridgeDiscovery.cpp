#include "gateway/BridgeDiscovery.h"

#include "library/LibraryFolder.h"

#include <QFile>

namespace corvix::gateway {

namespace {

constexpr int MaxPorts = 64;
constexpr int MaxProductName = 63;
constexpr int MaxPortText = 63;

std::uint16_t U16(const QByteArray& bytes, qsizetype at)
{
    return std::uint16_t(std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8);
}

// The decimal number after the first "=" that follows the keyword's first occurrence.
long NumberAfter(const QByteArray& text, const char* keyword)
{
    const qsizetype at = text.indexOf(keyword);
    const qsizetype equals = at < 0 ? -1 : text.indexOf('=', at);
    if (equals < 0)
        return 0;
    qsizetype end = equals + 1;
    while (end < text.size() && (text[end] == ' ' || text[end] == '\t'))
        ++end;
    const qsizetype start = end;
    while (end < text.size() && end - start < 9 && text[end] >= '0' && text[end] <= '9')
        ++end;
    return text.mid(start, end - start).toLong();
}

// The text between the first double quote at or after from and the next one; from is moved past
// the closing quote. Nothing when the quotes are missing.
std::optional<QByteArray> Quoted(const QByteArray& text, qsizetype& from)
{
    const qsizetype open = text.indexOf('"', from);
    const qsizetype close = open < 0 ? -1 : text.indexOf('"', open + 1);
    if (close < 0)
        return std::nullopt;
    from = close + 1;
    return text.mid(open + 1, close - open - 1);
}

std::optional<BridgePortRecord> ReadPort(const QByteArray& text, qsizetype at)
{
    BridgePortRecord port;
    qsizetype from = text.indexOf('=', at);
    if (from < 0)
        return std::nullopt;
    ++from;
    while (from < text.size() && text[from] == ' ')
        ++from;
    qsizetype end = from;
    while (end < text.size() && text[end] != ',' && text[end] != ' ' && text[end] != ';')
        ++end;
    port.type = text.mid(from, std::min<qsizetype>(end - from, MaxPortText));
    from = end;
    const auto name = Quoted(text, from);
    const auto path = name ? Quoted(text, from) : std::nullopt;
    if (!path)
        return std::nullopt;
    port.name = name->left(MaxPortText);
    for (const QByteArray& number : path->simplified().split(' ')) {
        bool ok = false;
        const uint value = number.toUInt(&ok, 16);
        if (!ok || value > 0xFF || port.objectPath.size() == 4)
            return std::nullopt;
        port.objectPath.append(char(value));
    }
    const qsizetype comma = text.indexOf(',', from);
    if (port.objectPath.size() != 4 || comma < 0)
        return std::nullopt;
    qsizetype digits = comma + 1;
    while (digits < text.size() && text[digits] == ' ')
        ++digits;
    qsizetype stop = digits;
    while (stop < text.size() && stop - digits < 5 && text[stop] >= '0' && text[stop] <= '9')
        ++stop;
    bool ok = false;
    port.number = text.mid(digits, stop - digits).toInt(&ok);
    if (!ok)
        return std::nullopt;
    return port;
}

}  // namespace

QString EdsFileName(std::uint16_t vendorId, std::uint16_t deviceType, std::uint16_t productCode,
                    std::uint8_t majorRevision)
{
    return QStringLiteral("%1_%2_%3_%4.eds")
        .arg(vendorId)
        .arg(deviceType)
        .arg(productCode)
        .arg(majorRevision);
}

QString BridgeIdentity::edsFileName() const
{
    return EdsFileName(vendorId, deviceType, productCode, majorRevision);
}

std::optional<BridgeIdentity> ParseListIdentity(const QByteArray& datagram)
{
    constexpr qsizetype NameAt = 63;
    if (datagram.size() < NameAt || U16(datagram, 0) != 0x0063)
        return std::nullopt;
    BridgeIdentity identity;
    identity.ipAddress = std::uint32_t(std::uint8_t(datagram[36])) << 24 |
                         std::uint32_t(std::uint8_t(datagram[37])) << 16 |
                         std::uint32_t(std::uint8_t(datagram[38])) << 8 |
                         std::uint8_t(datagram[39]);
    identity.vendorId = U16(datagram, 48);
    identity.deviceType = U16(datagram, 50);
    identity.productCode = U16(datagram, 52);
    identity.majorRevision = std::uint8_t(datagram[54]);
    identity.minorRevision = std::uint8_t(datagram[55]);
    identity.serialNumber = U16(datagram, 58) | std::uint32_t(U16(datagram, 60)) << 16;
    const int nameLength = std::uint8_t(datagram[62]);
    if (datagram.size() < NameAt + nameLength)
        return std::nullopt;
    identity.productName = datagram.mid(NameAt, nameLength);
    return identity;
}

BridgeEds ParseBridgeEds(const QByteArray& text)
{
    BridgeEds eds;
    qsizetype from = text.indexOf("ProdName");
    if (from >= 0)
        eds.productName = Quoted(text, from).value_or(QByteArray()).left(MaxProductName);
    eds.vendorId = std::uint16_t(NumberAfter(text, "VendCode"));
    eds.deviceType = std::uint16_t(NumberAfter(text, "ProdType"));
    eds.productCode = std::uint16_t(NumberAfter(text, "ProdCode"));
    eds.majorRevision = std::uint8_t(NumberAfter(text, "MajRev"));
    const qsizetype section = text.indexOf("[Port]");
    if (section < 0)
        return eds;
    for (int n = 1; n <= MaxPorts; ++n) {
        const qsizetype at = text.indexOf("Port" + QByteArray::number(n), section);
        if (at < 0)
            break;
        const auto port = ReadPort(text, at);
        if (!port)
            break;
        eds.ports.append(*port);
    }
    return eds;
}

std::optional<BridgeEds> ReadBridgeEds(const QString& folder, const QString& fileName)
{
    QFile file(FindFileIgnoringCase(folder, fileName));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return ParseBridgeEds(file.readAll());
}

QString BridgeEdsFolder()
{
    return DefaultLibraryPath() + QStringLiteral("eds/");
}

}  // namespace corvix::gateway
