#include "core/NetworkDescription.h"

#include "core/BridgeDescription.h"
#include "core/JsonFields.h"

#include "app/Conversions.h"
#include "app/CorvixError.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtEndian>

#include <cmath>

namespace corvix::sim {

using namespace json;

namespace {

bool IsFloatType(std::uint8_t dataType)
{
    return dataType == 0xCA || dataType == 0xCB || dataType == 11 || dataType == 12;
}

// A parameter value: a number (stored little-endian in the parameter's size) or a text of hex
// bytes in network order ("0A 00").
QByteArray ValueBytes(const QJsonValue& value, const SimParameter& p, const QString& where)
{
    if (value.isUndefined())
        return {};
    if (value.isString()) {
        try {
            return HexTextToBytes(value.toString());
        } catch (const ConversionError& error) {
            Fail(where, error.message());
        }
    }
    if (!value.isDouble())
        Fail(where, QStringLiteral("expected a number or hex bytes"));
    QByteArray bytes(p.dataSize, '\0');
    const double number = value.toDouble();
    if (IsFloatType(p.dataType) && p.dataSize == 4) {
        qToLittleEndian(static_cast<float>(number), bytes.data());
        return bytes;
    }
    if (IsFloatType(p.dataType) && p.dataSize == 8) {
        qToLittleEndian(number, bytes.data());
        return bytes;
    }
    if (number != std::floor(number) || std::fabs(number) > 9.007199254740992e15)
        Fail(where, QStringLiteral("expected a whole number"));
    auto raw = static_cast<std::uint64_t>(static_cast<std::int64_t>(number));
    for (int i = 0; i < p.dataSize && i < 8; ++i, raw >>= 8)
        bytes[i] = static_cast<char>(raw & 0xFF);
    return bytes;
}

SimParameter ParseParameter(const QJsonObject& o, const QString& where)
{
    SimParameter p;
    p.instance = static_cast<std::uint16_t>(Required(o, QStringLiteral("instance"), where, 1, 0xFFFF));
    p.name = Text(o, QStringLiteral("name"), where);
    p.units = Text(o, QStringLiteral("units"), where);
    p.help = Text(o, QStringLiteral("help"), where);
    p.dataType = static_cast<std::uint8_t>(Integer(o, QStringLiteral("dataType"), where, 0, 0xFF, 0xC7));
    p.dataSize = static_cast<std::uint8_t>(Integer(o, QStringLiteral("dataSize"), where, 1, 0xFF, 2));
    p.readOnly = Flag(o, QStringLiteral("readOnly"), where);
    p.value = ValueBytes(o.value(QStringLiteral("value")), p, where + QStringLiteral(".value"));
    p.minimum = ValueBytes(o.value(QStringLiteral("min")), p, where + QStringLiteral(".min"));
    p.maximum = ValueBytes(o.value(QStringLiteral("max")), p, where + QStringLiteral(".max"));
    p.defaultValue = ValueBytes(o.value(QStringLiteral("default")), p, where + QStringLiteral(".default"));
    if (p.value.isEmpty())
        p.value = p.defaultValue.isEmpty() ? QByteArray(p.dataSize, '\0') : p.defaultValue;
    for (const QJsonValue& text : o.value(QStringLiteral("enum")).toArray()) {
        if (!text.isString())
            Fail(where + QStringLiteral(".enum"), QStringLiteral("expected texts"));
        p.enumStrings.append(text.toString());
    }
    return p;
}

std::uint8_t MacKey(const QString& key, const QString& where)
{
    bool ok = false;
    const uint mac = key.toUInt(&ok);
    if (!ok || mac > 63)
        Fail(where, QStringLiteral("\"%1\" is not a MAC ID from 0 to 63").arg(key));
    return static_cast<std::uint8_t>(mac);
}

QByteArray HexField(const QJsonObject& o, const QString& key, const QString& where, qsizetype size)
{
    QByteArray bytes;
    try {
        bytes = HexTextToBytes(Text(o, key, where));
    } catch (const ConversionError& error) {
        Fail(where + QLatin1Char('.') + key, error.message());
    }
    if (bytes.size() != size)
        Fail(where + QLatin1Char('.') + key, QStringLiteral("expected %1 bytes").arg(size));
    return bytes;
}

SimScanner ParseScanner(const QJsonObject& o, const QString& where)
{
    SimScanner s;
    s.runMode = Flag(o, QStringLiteral("runMode"), where);
    s.autoAddressRecovery = Flag(o, QStringLiteral("autoAddressRecovery"), where);
    s.refuseRecoveryTwo = Flag(o, QStringLiteral("refuseRecoveryTwo"), where);
    s.adrSpaceTotal = static_cast<std::uint16_t>(
        Integer(o, QStringLiteral("adrSpaceTotal"), where, 0, 0xFFFF, s.adrSpaceTotal));
    if (o.contains(QStringLiteral("settings")))
        s.settings = HexField(o, QStringLiteral("settings"), where, SimScanner::SettingsSize);
    const QJsonObject scanList = o.value(QStringLiteral("scanList")).toObject();
    for (auto it = scanList.begin(); it != scanList.end(); ++it)
        s.scanList[MacKey(it.key(), where)] =
            HexField(scanList, it.key(), where + QStringLiteral(".scanList"), SimScanner::ScanRecordSize);
    const QJsonObject faults = o.value(QStringLiteral("faultTable")).toObject();
    for (auto it = faults.begin(); it != faults.end(); ++it)
        s.faultTable[MacKey(it.key(), where)] = static_cast<std::uint8_t>(
            Integer(faults, it.key(), where + QStringLiteral(".faultTable"), 0, 0xFF, 0));
    const QJsonObject recovery = o.value(QStringLiteral("configRecovery")).toObject();
    for (auto it = recovery.begin(); it != recovery.end(); ++it)
        s.configRecovery[MacKey(it.key(), where)] = static_cast<std::uint8_t>(
            Integer(recovery, it.key(), where + QStringLiteral(".configRecovery"), 0, 2, 0));
    for (const auto& [key, flags] : {std::pair{QStringLiteral("quickConnect"), &s.quickConnect},
                                     std::pair{QStringLiteral("addressRecovery"), &s.addressRecovery}}) {
        for (const QJsonValue& mac : o.value(key).toArray())
            (*flags)[MacKey(QString::number(mac.toInt(-1)), where + QLatin1Char('.') + key)] = true;
    }
    return s;
}

SimNode ParseNode(const QJsonObject& o, const QString& where)
{
    if (o.contains(QStringLiteral("eds")))
        Fail(where, QStringLiteral("nodes from EDS files are not supported yet; give \"identity\" "
                                   "and \"parameters\""));
    SimNode node;
    node.macId = static_cast<std::uint8_t>(Required(o, QStringLiteral("macId"), where, 0, 63));
    node.dataRate = static_cast<std::uint8_t>(Integer(o, QStringLiteral("dataRate"), where, 0, 2, 0));
    node.quickConnect = Flag(o, QStringLiteral("quickConnect"), where);
    node.identity = Identity(o, where);

    const QJsonObject paramClass = o.value(QStringLiteral("parameterClass")).toObject();
    node.parameters.descriptor = static_cast<std::uint16_t>(
        Integer(paramClass, QStringLiteral("descriptor"), where, 0, 0xFFFF, 0));
    node.parameters.configAssembly = static_cast<std::uint16_t>(
        Integer(paramClass, QStringLiteral("configAssembly"), where, 0, 0xFFFF, 0));
    const QJsonArray params = o.value(QStringLiteral("parameters")).toArray();
    for (qsizetype i = 0; i < params.size(); ++i) {
        const QString pWhere = where + QStringLiteral(".parameters[%1]").arg(i);
        SimParameter p = ParseParameter(params[i].toObject(), pWhere);
        if (node.parameters.find(p.instance))
            Fail(pWhere, QStringLiteral("instance %1 given twice").arg(p.instance));
        node.parameters.parameters.append(p);
    }
    const QJsonArray groups = o.value(QStringLiteral("groups")).toArray();
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const QJsonObject g = groups[i].toObject();
        SimGroup group{Text(g, QStringLiteral("name"), where), {}};
        for (const QJsonValue& member : g.value(QStringLiteral("members")).toArray()) {
            const int instance = member.toInt(-1);
            if (instance < 1 || instance > 0xFFFF)
                Fail(where + QStringLiteral(".groups[%1]").arg(i),
                     QStringLiteral("members are parameter instances from 1 to 65535"));
            group.members.append(static_cast<std::uint16_t>(instance));
        }
        node.parameters.groups.append(group);
    }
    if (o.contains(QStringLiteral("scanner")))
        node.scanner = ParseScanner(o.value(QStringLiteral("scanner")).toObject(), where + QStringLiteral(".scanner"));
    return node;
}

}  // namespace

void ApplyFaults(SimNetwork& network, const QJsonObject& faults, std::optional<std::uint8_t> macId)
{
    const QString where = macId ? QStringLiteral("faults of MAC ID %1").arg(*macId) : QStringLiteral("faults");
    NodeFaults node;
    node.dropReplies = Flag(faults, QStringLiteral("dropReplies"), where);
    node.delayMs = static_cast<int>(Integer(faults, QStringLiteral("delayMs"), where, 0, 60000, 0));
    if (faults.contains(QStringLiteral("errorStatus")))
        node.errorStatus = static_cast<std::uint8_t>(
            Integer(faults, QStringLiteral("errorStatus"), where, 1, 0xFF, 0));
    if (macId) {
        network.nodeFaults[*macId] = node;
        return;
    }
    network.networkFaults = node;
    network.silentAdapter = Flag(faults, QStringLiteral("silentAdapter"), where);
    network.bridgeResourceUnavailable = Flag(faults, QStringLiteral("bridgeResourceUnavailable"), where);
    const QString statusText = Text(faults, QStringLiteral("status"), where);
    if (statusText.isEmpty() || statusText == QLatin1String("online"))
        network.statusOverride.reset();
    else if (statusText == QLatin1String("busoff"))
        network.statusOverride = status::BusOff;
    else if (statusText == QLatin1String("duplicate"))
        network.statusOverride = status::DuplicateMac;
    else if (statusText == QLatin1String("nopower"))
        network.statusOverride = status::NoPower;
    else
        Fail(where + QStringLiteral(".status"), QStringLiteral("expected online, busoff, duplicate or nopower"));
}

SimDescription ParseNetworkDescription(const QByteArray& json)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        throw ConversionError(QStringLiteral("not a network description: %1 at offset %2")
                                  .arg(error.errorString())
                                  .arg(error.offset));
    if (!document.isObject())
        throw ConversionError(QStringLiteral("not a network description: expected a JSON object"));
    const QJsonObject root = document.object();
    SimNetwork network;
    const QJsonArray nodes = root.value(QStringLiteral("nodes")).toArray();
    for (qsizetype i = 0; i < nodes.size(); ++i) {
        const QString where = QStringLiteral("nodes[%1]").arg(i);
        const QJsonObject o = nodes[i].toObject();
        SimNode node = ParseNode(o, where);
        if (network.node(node.macId))
            Fail(where, QStringLiteral("MAC ID %1 is used twice").arg(node.macId));
        const auto mac = node.macId;
        network.addNode(std::move(node));
        if (o.contains(QStringLiteral("faults")))
            ApplyFaults(network, o.value(QStringLiteral("faults")).toObject(), mac);
    }
    ApplyFaults(network, root.value(QStringLiteral("faults")).toObject(), std::nullopt);
    return {std::move(network), ParseBridge(root.value(QStringLiteral("bridge")).toObject())};
}

SimDescription LoadNetworkDescription(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Cannot read %1: %2").arg(fileName, file.errorString()));
    return ParseNetworkDescription(file.readAll());
}

}  // namespace corvix::sim
