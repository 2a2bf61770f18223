#include "core/BridgeDescription.h"

#include "app/Conversions.h"
#include "app/CorvixError.h"
#include "core/JsonFields.h"

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

}  // namespace

BridgeConfig ParseBridge(const QJsonObject& bridge)
{
    const QString where = QStringLiteral("bridge");
    BridgeConfig config = BridgeConfig::standard();
    if (bridge.contains(QStringLiteral("identity")))
        config.identity = Identity(bridge, where);
    if (bridge.contains(QStringLiteral("ports"))) {
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
