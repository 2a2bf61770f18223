#include "core/BridgeDescription.h"

#include "app/Conversions.h"
#include "app/CorvixError.h"
#include "app/EdsValueReaders.h"
#include "app/TextSearch.h"
#include "app/Windows1252.h"
#include "core/EdsNode.h"
#include "core/JsonFields.h"
#include "device/NumberText.h"

#include <QJsonArray>

namespace corvix::sim {

using namespace json;

namespace {

BridgePort ParsePort(const QJsonObject& o, const QString& where)
{
    BridgePort port;
    port.number = static_cast<std::uint16_t>(Required(o, QStringLiteral("number"), where, 0, 0xFFFF));
    port.type = Text(o, QStringLiteral("type"), where);
    port.name = Text(o, QStringLiteral("name"), where);
    try {
        port.objectPath = HexTextToBytes(Text(o, QStringLiteral("path"), where));
    } catch (const ConversionError& error) {
        Fail(where + QStringLiteral(".path"), error.message());
    }
    if (port.objectPath.size() != 4)
        Fail(where + QStringLiteral(".path"), QStringLiteral("expected 4 bytes"));
    return port;
}

// Identity and ports from the bridge's EDS file; the description may add the serial number.
void ApplyBridgeEds(BridgeConfig& config, const QJsonObject& bridge, const QString& folder)
{
    const QString where = QStringLiteral("bridge.eds");
    if (bridge.contains(QStringLiteral("ports")))
        Fail(QStringLiteral("bridge.ports"), QStringLiteral("the ports come from the EDS file"));
    const QJsonObject identity = bridge.value(QStringLiteral("identity")).toObject();
    for (auto it = identity.begin(); it != identity.end(); ++it)
        if (it.key() != QLatin1String("serialNumber"))
            Fail(QStringLiteral("bridge.identity.") + it.key(), QStringLiteral("comes from the EDS file"));
    try {
        const EdsSource eds = ReadEdsSource(ResolveEdsFile(Text(bridge, QStringLiteral("eds"), where), folder));
        config.identity = IdentityFromEds(eds);
        config.ports = ReadEdsPorts(eds.text);
    } catch (const CorvixError& error) {
        Fail(where, error.message());
    }
    if (config.ports.isEmpty())
        Fail(where, QStringLiteral("the file has no [Port] entries"));
    config.identity.serialNumber = static_cast<std::uint32_t>(
        Integer(identity, QStringLiteral("serialNumber"), QStringLiteral("bridge.identity"), 0, 0xFFFFFFFF, 0));
}

}  // namespace

QList<BridgePort> ReadEdsPorts(const QByteArray& text)
{
    QList<BridgePort> ports;
    const int64_t section = FindText(text, "[Port]", 0, text.size());
    if (section < 0)
        return ports;
    for (int n = 1;; ++n) {
        int64_t end = -1;
        const QByteArray key = "Port" + QByteArray::number(n) + '=';
        const QByteArrayList fields = ReadValueFields(text, key, section, text.size(), end);
        if (end < 0)
            return ports;
        const QString where = QStringLiteral("Port%1").arg(n);
        if (fields.size() < 4)
            throw ConversionError(where + QStringLiteral(": expected type, name, path and number"));
        BridgePort port;
        port.type = DecodeWindows1252(fields[0]);
        port.name = DecodeWindows1252(fields[1]);
        try {
            port.objectPath = HexTextToBytes(DecodeWindows1252(fields[2]));
        } catch (const ConversionError& error) {
            throw ConversionError(where + QStringLiteral(": ") + error.message());
        }
        if (port.objectPath.size() != 4)
            throw ConversionError(where + QStringLiteral(": the port's object path has 4 bytes"));
        const auto number = TryTextToInt64(DecodeWindows1252(fields[3]));
        if (!number || *number < 0 || *number > 0xFF)
            throw ConversionError(where + QStringLiteral(": the port number is from 0 to 255"));
        port.number = static_cast<std::uint16_t>(*number);
        ports.append(port);
    }
}

BridgeConfig ParseBridge(const QJsonObject& bridge, const QString& folder)
{
    const QString where = QStringLiteral("bridge");
    BridgeConfig config = BridgeConfig::standard();
    if (bridge.contains(QStringLiteral("eds")))
        ApplyBridgeEds(config, bridge, folder);
    else if (bridge.contains(QStringLiteral("identity")))
        config.identity = Identity(bridge, where);
    if (bridge.contains(QStringLiteral("ports")) && !bridge.contains(QStringLiteral("eds"))) {
        config.ports.clear();
        const QJsonArray ports = bridge.value(QStringLiteral("ports")).toArray();
        for (qsizetype i = 0; i < ports.size(); ++i)
            config.ports.append(ParsePort(ports[i].toObject(), where + QStringLiteral(".ports[%1]").arg(i)));
    }
    const QJsonArray modules = bridge.value(QStringLiteral("modules")).toArray();
    for (qsizetype i = 0; i < modules.size(); ++i) {
        const QString moduleWhere = where + QStringLiteral(".modules[%1]").arg(i);
        const QJsonObject o = modules[i].toObject();
        BridgeModule module;
        module.slot = static_cast<std::uint8_t>(Required(o, QStringLiteral("slot"), moduleWhere, 0, 0xFF));
        module.identity = Identity(o, moduleWhere);
        if (o.contains(QStringLiteral("deviceNetPort")))
            module.deviceNetPort = static_cast<std::uint16_t>(
                Integer(o, QStringLiteral("deviceNetPort"), moduleWhere, 0, 0xFF, 0));
        config.modules.append(module);
    }
    return config;
}

}  // namespace corvix::sim
