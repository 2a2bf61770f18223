#include "core/NetworkDescription.h"

#include "core/BridgeDescription.h"
#include "core/EdsNode.h"
#include "core/JsonFields.h"

#include "app/Conversions.h"
#include "app/CorvixError.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace corvix::sim {

using namespace json;

namespace {

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

// With an "eds" file the identity comes from the file; the description may add what differs
// from one unit to the next.
void ApplyUnitIdentity(SimIdentity& identity, const QJsonObject& node, const QString& where)
{
    const QJsonObject o = node.value(QStringLiteral("identity")).toObject();
    const QString idWhere = where + QStringLiteral(".identity");
    for (const char* fromFile : {"vendorId", "deviceType", "productCode", "majorRevision", "productName"})
        if (o.contains(QLatin1String(fromFile)))
            Fail(idWhere, QStringLiteral("\"%1\" comes from the EDS file").arg(QLatin1String(fromFile)));
    identity.minorRevision = static_cast<std::uint8_t>(
        Integer(o, QStringLiteral("minorRevision"), idWhere, 0, 0xFF, identity.minorRevision));
    identity.status = static_cast<std::uint16_t>(Integer(o, QStringLiteral("status"), idWhere, 0, 0xFFFF, 0));
    identity.serialNumber = static_cast<std::uint32_t>(
        Integer(o, QStringLiteral("serialNumber"), idWhere, 0, 0xFFFFFFFF, 0));
}

EdsSource EdsOf(const QJsonObject& o, const QString& where, const QString& folder)
{
    try {
        return ReadEdsSource(ResolveEdsFile(Text(o, QStringLiteral("eds"), where), folder));
    } catch (const CorvixError& error) {
        Fail(where + QStringLiteral(".eds"), error.message());
    }
}

SimNode ParseNode(const QJsonObject& o, const QString& where, const QString& folder)
{
    SimNode node;
    node.macId = static_cast<std::uint8_t>(Required(o, QStringLiteral("macId"), where, 0, 63));
    node.dataRate = static_cast<std::uint8_t>(Integer(o, QStringLiteral("dataRate"), where, 0, 2, 0));
    node.quickConnect = Flag(o, QStringLiteral("quickConnect"), where);
    const bool fromEds = o.contains(QStringLiteral("eds"));
    if (fromEds) {
        const EdsSource eds = EdsOf(o, where, folder);
        FillNodeFromEds(node, eds, o.value(QStringLiteral("values")).toObject(), where);
        ApplyUnitIdentity(node.identity, o, where);
        if (o.contains(QStringLiteral("scanner")) && !node.scanner)
            Fail(where + QStringLiteral(".scanner"),
                 QStringLiteral("%1 describes no scanner").arg(QFileInfo(eds.path).fileName()));
    } else {
        // A node without an EDS file: identity only, as a device the library does not know.
        if (o.contains(QStringLiteral("values")))
            Fail(where + QStringLiteral(".values"), QStringLiteral("parameter values need an \"eds\" file"));
        node.identity = Identity(o, where);
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

SimDescription ParseNetworkDescription(const QByteArray& json, const QString& folder)
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
        SimNode node = ParseNode(o, where, folder);
        if (network.node(node.macId))
            Fail(where, QStringLiteral("MAC ID %1 is used twice").arg(node.macId));
        const auto mac = node.macId;
        network.addNode(std::move(node));
        if (o.contains(QStringLiteral("faults")))
            ApplyFaults(network, o.value(QStringLiteral("faults")).toObject(), mac);
    }
    ApplyFaults(network, root.value(QStringLiteral("faults")).toObject(), std::nullopt);
    return {std::move(network), ParseBridge(root.value(QStringLiteral("bridge")).toObject(), folder)};
}

SimDescription LoadNetworkDescription(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Cannot read %1: %2").arg(fileName, file.errorString()));
    return ParseNetworkDescription(file.readAll(), QFileInfo(fileName).absolutePath());
}

}  // namespace corvix::sim
