#include <QJsonArray>

#include "CliCommand.h"
#include "CliSupport.h"
#include "EdsSupport.h"
#include "device/DeviceJson.h"

namespace corvix::cli {

namespace {

QString joined(const QJsonArray& array, const QString& separator = QStringLiteral(", "))
{
    QStringList texts;
    for (const QJsonValue& value : array) {
        texts.append(value.isDouble() ? QString::number(value.toInteger()) : value.toString());
    }
    return texts.join(separator);
}

QString number(const QJsonObject& object, const char* key)
{
    return QString::number(object.value(QLatin1String(key)).toInteger());
}

QString rawAndDisplay(const QJsonObject& pair)
{
    return pair["raw"].toString() + QStringLiteral(" (") + pair["display"].toString() + u')';
}

void printParameter(const QJsonObject& p)
{
    PrintOut(QStringLiteral("  Parameter %1").arg(p["displayName"].toString()));
    PrintOut(QStringLiteral("    Units: %1").arg(p["units"].toString()));
    PrintOut(QStringLiteral("    Request path: %1 (size %2)")
                 .arg(p["requestPath"].toString(), p["linkPathSize"].toString()));
    PrintOut(QStringLiteral("    Descriptor: %1  Data type: %2  Size: %3  Read-only: %4")
                 .arg(p["descriptor"].toString(), p["dataTypeCode"].toString(),
                      p["dataSize"].toString(),
                      p["readOnly"].toBool() ? QStringLiteral("yes") : QStringLiteral("no")));
    PrintOut(QStringLiteral("    Minimum: %1  Maximum: %2  Default: %3")
                 .arg(rawAndDisplay(p["minimum"].toObject()),
                      rawAndDisplay(p["maximum"].toObject()),
                      rawAndDisplay(p["default"].toObject())));
    PrintOut(QStringLiteral("    Value: %1").arg(rawAndDisplay(p["value"].toObject())));
    if (!p["enumStrings"].toArray().isEmpty()) {
        PrintOut(QStringLiteral("    Enumeration: %1")
                     .arg(joined(p["enumStrings"].toArray(), QStringLiteral(" | "))));
    }
    const QJsonObject s = p["scaling"].toObject();
    PrintOut(QStringLiteral("    Scaling: multiplier %1, divisor %2, base %3, offset %4, "
                            "precision %5; links %6, %7, %8, %9")
                 .arg(s["multiplier"].toString(), s["divisor"].toString(), s["base"].toString(),
                      s["offset"].toString(), s["precision"].toString(),
                      s["multiplierLink"].toString(), s["divisorLink"].toString(),
                      s["baseLink"].toString(), s["offsetLink"].toString()));
    // The help text may hold line breaks of its own (CR followed by a blank).
    QString help = p["helpText"].toString();
    help.replace(u'\r', QStringLiteral("\n      "));
    PrintOut(QStringLiteral("    Help: %1").arg(help));
}

void printTables(const char* direction, const QJsonObject& t)
{
    PrintOut(QStringLiteral("  %1 tables (element width %2 bytes):")
                 .arg(QLatin1String(direction), number(t, "elementWidth")));
    const QJsonArray names = t["names"].toArray();
    for (qsizetype i = 0; i < names.size(); ++i) {
        PrintOut(QStringLiteral("    %1: size %2, read-only bits %3, type %4")
                     .arg(names[i].toString(), t["sizes"][i].toString(),
                          t["readOnlyBits"][i].toString(), t["types"][i].toString()));
    }
    for (const QJsonValue& value : t["linearMappingTables"].toArray()) {
        const QJsonObject linear = value.toObject();
        PrintOut(QStringLiteral("    Linear mapping %1: first address %2, prefix '%3', "
                                "suffix '%4'")
                     .arg(linear["name"].toString(), number(linear, "firstAddress"),
                          linear["prefix"].toString(), linear["suffix"].toString()));
    }
}

void printScanner(const QJsonObject& s)
{
    PrintOut(QStringLiteral("Scanner:"));
    printTables("Input", s["inputTables"].toObject());
    printTables("Output", s["outputTables"].toObject());
    PrintOut(QStringLiteral("  Slave mode: %1  Shared inputs: %2  ADR: %3  Quick Connect: %4")
                 .arg(s["slaveMode"].toBool())
                 .arg(s["sharedInputs"].toBool())
                 .arg(s["adrSupported"].toBool())
                 .arg(s["quickConnectSupported"].toBool()));
    PrintOut(QStringLiteral("  Expected packet rate %1 ms, interscan delay %2 ms, transmit "
                            "retries %3, background poll ratio %4, map alignment %5")
                 .arg(number(s, "expectedPacketRate"), number(s, "interscanDelay"),
                      number(s, "transmitRetries"), number(s, "backgroundPollRatio"),
                      number(s, "mapAlignment")));
}

void printDevice(const QJsonObject& d)
{
    const QJsonObject id = d["identity"].toObject();
    PrintOut(QStringLiteral("Product name: %1").arg(d["productName"].toString()));
    PrintOut(QStringLiteral("Identity: vendor %1, product type %2, product code %3, major "
                            "revision %4")
                 .arg(number(id, "vendorCode"), number(id, "productType"),
                      number(id, "productCode"), number(id, "majorRevision")));
    PrintOut(QStringLiteral("Information:"));
    for (const QJsonValue& line : d["edsInfo"].toArray()) {
        PrintOut(QStringLiteral("  ") + line.toString());
    }
    const QJsonObject qc = d["quickConnect"].toObject();
    PrintOut(QStringLiteral("Quick Connect: support %1, second field %2")
                 .arg(number(qc, "support"), number(qc, "secondField")));
    const QJsonObject io = d["io"].toObject();
    PrintOut(QStringLiteral("Default connections: %1").arg(number(io, "defaultConnections")));
    PrintOut(QStringLiteral("I/O sizes in/out: poll %1/%2, strobe %3/%4, change of state %5/%6, "
                            "cyclic %7/%8")
                 .arg(number(io, "pollInputSize"), number(io, "pollOutputSize"),
                      number(io, "strobeInputSize"), number(io, "strobeOutputSize"),
                      number(io, "cosInputSize"), number(io, "cosOutputSize"),
                      number(io, "cyclicInputSize"), number(io, "cyclicOutputSize")));
    PrintOut(
        QStringLiteral("Parameter class descriptor: %1").arg(number(d, "paramClassDescriptor")));
    const QJsonArray parameters = d["parameters"].toArray();
    PrintOut(QStringLiteral("Parameters: %1").arg(parameters.size()));
    for (const QJsonValue& p : parameters) {
        printParameter(p.toObject());
    }
    PrintOut(QStringLiteral("Groups:"));
    for (const QJsonValue& g : d["groups"].toArray()) {
        PrintOut(
            QStringLiteral("  %1: %2").arg(g["name"].toString(), joined(g["members"].toArray())));
    }
    PrintOut(QStringLiteral("Definition errors:"));
    for (const QJsonValue& line : d["definitionErrors"].toArray()) {
        PrintOut(QStringLiteral("  ") + line.toString());
    }
    if (d.contains(QLatin1String("scanner"))) {
        printScanner(d["scanner"].toObject());
    }
}

}  // namespace

int EdsShow(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints the device an EDS file describes: identity, information lines, "
                       "Quick Connect, I/O sizes, parameters, groups, definition errors and a "
                       "scanner's tables and settings."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The EDS file."));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print JSON."));
    parser.addOption(json);
    if (const auto done = ParseCommandLine(parser, arguments)) {
        return *done;
    }
    if (parser.positionalArguments().size() != 1) {
        PrintError(QStringLiteral("%1 takes exactly one FILE.").arg(arguments.value(0)));
        return ExitUsage;
    }
    const auto device = DeviceFromEdsFile(parser.positionalArguments().first());
    if (!device) {
        return ExitFailed;
    }
    const QJsonObject object = DeviceToJson(*device);
    if (parser.isSet(json)) {
        PrintJson(object);
    } else {
        printDevice(object);
    }
    return ExitSuccess;
}

}  // namespace corvix::cli
