#include "gateway/GatewaySettings.h"

#include <QList>

namespace corvix::gateway {

namespace {

const QByteArray Prefix = "EtherNet/IP";
constexpr int MaxRouteBytes = 32;

}  // namespace

QByteArray GatewaySettings::text() const
{
    return Prefix + ',' + bridge.toString().toLatin1() + ',' + QByteArray::number(tcpPort) + ','
           + route.toHex(' ').toUpper() + ',' + QByteArray::number(timeoutMs);
}

std::optional<GatewaySettings> GatewaySettings::parse(const QByteArray& text)
{
    const QList<QByteArray> fields = text.split(',');
    if (fields.size() != 5 || fields[0] != Prefix)
        return std::nullopt;
    GatewaySettings settings;
    bool isIpv4 = false;
    settings.bridge = QHostAddress(QString::fromLatin1(fields[1]));
    settings.bridge.toIPv4Address(&isIpv4);
    bool portOk = false;
    const uint port = fields[2].toUInt(&portOk);
    bool timeoutOk = false;
    settings.timeoutMs = fields[4].toInt(&timeoutOk);
    for (const QByteArray& number : fields[3].split(' ')) {
        bool ok = false;
        const uint value = number.toUInt(&ok, 16);
        if (!ok || number.size() != 2)
            return std::nullopt;
        settings.route.append(char(value));
    }
    if (!isIpv4 || !portOk || port == 0 || port > 0xFFFF || !timeoutOk || settings.timeoutMs <= 0
        || settings.route.size() % 2 != 0 || settings.route.size() > MaxRouteBytes)
        return std::nullopt;
    settings.tcpPort = quint16(port);
    return settings;
}

}  // namespace corvix::gateway
