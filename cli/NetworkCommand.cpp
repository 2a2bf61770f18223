#include "CliCommand.h"
#include "CliSupport.h"
#include "NetworkCliSupport.h"

#include "app/CorvixError.h"
#include "device/DeviceJson.h"
#include "device/DeviceNetDevice.h"
#include "network/FileLines.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace corvix::cli {

namespace {

const QString UnsafeNameMessage =
    QStringLiteral("A device name cannot hold a line break or start with \"$\".");

// The device as the device JSON shows it, with the scan list of a scanner added.
QJsonObject DeviceSummary(TDeviceNetDevice& device)
{
    QJsonObject json = DeviceToJson(device);
    if (device.ScannerConfig) {
        QJsonArray scanList;
        for (int macId = 0; macId < TDevScannerCfgClass::EntryCount; ++macId) {
            if (device.ScannerConfig->IsInScanList(macId)) {
                scanList.append(macId);
            }
        }
        QJsonObject scanner = json["scanner"].toObject();
        scanner.insert("scanList", scanList);
        json.insert("scanner", scanner);
    }
    return json;
}

QString DeviceText(const QJsonObject& d)
{
    const QJsonObject identity = d["identity"].toObject();
    QString text = QStringLiteral("MAC %1  %2_%3_%4_%5  %6")
                       .arg(d["macId"].toInt(), 2)
                       .arg(identity["vendorCode"].toInt())
                       .arg(identity["productType"].toInt())
                       .arg(identity["productCode"].toInt())
                       .arg(identity["majorRevision"].toInt())
                       .arg(d["productName"].toString());
    if (!d["name"].toString().isEmpty()) {
        text += QStringLiteral("  \"%1\"").arg(d["name"].toString());
    }
    if (d["withoutEds"].toBool()) {
        text += QStringLiteral("  [without EDS file]");
    }
    if (d["quickConnect"].toObject()["enabled"].toBool()) {
        text += QStringLiteral("  [Quick Connect]");
    }
    for (const QJsonValue& p : d["parameters"].toArray()) {
        const QJsonObject value = p.toObject()["value"].toObject();
        text += QStringLiteral("\n    %1 = %2 (raw %3)")
                    .arg(p.toObject()["displayName"].toString(),
                         value["displayWithUnits"].toString(), value["raw"].toString());
    }
    if (d.contains("scanner")) {
        QStringList macs;
        for (const QJsonValue& m : d["scanner"].toObject()["scanList"].toArray()) {
            macs.append(QString::number(m.toInt()));
        }
        text += QStringLiteral("\n    scanner, scan list: %1")
                    .arg(macs.isEmpty() ? QStringLiteral("empty")
                                        : macs.join(QStringLiteral(", ")));
    }
    return text;
}

int Show(TDeviceNetWork& network, bool json)
{
    QJsonArray devices;
    for (const auto& device : network.Devices()) {
        devices.append(DeviceSummary(*device));
    }
    if (json) {
        PrintOut(QString::fromUtf8(
            QJsonDocument(QJsonObject{{"caption", network.Caption},
                                      {"driverFile", network.DriverFile},
                                      {"driverConfig", network.DriverConfig},
                                      {"devices", devices}})
                .toJson(QJsonDocument::Indented)));
        return ExitSuccess;
    }
    PrintOut(QStringLiteral("%1\nDriver: %2\nDriver settings: %3\nDevices: %4")
                 .arg(network.Caption, network.DriverFile, network.DriverConfig)
                 .arg(devices.size()));
    for (const QJsonValue& device : devices) {
        PrintOut(DeviceText(device.toObject()));
    }
    return ExitSuccess;
}

TDevParameterClass* FindParameter(TDeviceNetDevice& device, const QString& which)
{
    for (const auto& parameter : device.Parameters()) {
        if (QString::number(parameter->Number()) == which ||
            parameter->DisplayName().section(QStringLiteral(": "), 1) == which ||
            parameter->DisplayName() == which) {
            return parameter.get();
        }
    }
    return nullptr;
}

// Runs one edit on a loaded network and saves it; the edit returns an error text or nothing.
int Edit(TDeviceNetWork& network, const std::function<QString()>& edit)
{
    const QString error = edit();
    if (!error.isEmpty()) {
        PrintError(error);
        return ExitFailed;
    }
    return WriteNetwork(network) ? ExitSuccess : ExitFailed;
}

int RunNetwork(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Network files: new FILE | show FILE | add FILE --mac N --key KEY [--name NAME] |\n"
        "remove FILE --mac N | rename FILE --mac N NAME | set FILE --mac N --param P VALUE |\n"
        "move FILE --mac N --to M"));
    NetworkOptions options;
    options.addTo(parser, true);
    const QCommandLineOption key(QStringLiteral("key"),
                                 QStringLiteral("Library key vendor_type_code_major."),
                                 QStringLiteral("KEY"));
    const QCommandLineOption name(QStringLiteral("name"), QStringLiteral("Device name."),
                                  QStringLiteral("NAME"));
    const QCommandLineOption param(QStringLiteral("param"),
                                   QStringLiteral("Parameter number or name."),
                                   QStringLiteral("P"));
    const QCommandLineOption to(QStringLiteral("to"), QStringLiteral("New MAC ID."),
                                QStringLiteral("M"));
    parser.addOptions({key, name, param, to});
    parser.addPositionalArgument(QStringLiteral("ACTION"), QStringLiteral("What to do."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The network file."));
    if (const auto done = ParseCommandLine(parser, arguments)) {
        return *done;
    }
    const QStringList positional = parser.positionalArguments();
    const QString action = positional.value(0);
    static const QStringList takeValue = {QStringLiteral("rename"), QStringLiteral("set")};
    const int expected = takeValue.contains(action) ? 3 : 2;
    if (positional.size() != expected) {
        PrintError(QStringLiteral("network %1 takes %2 arguments; see --help.")
                       .arg(action.isEmpty() ? QStringLiteral("ACTION") : action)
                       .arg(expected));
        return ExitUsage;
    }
    const QString path = positional.at(1);
    const QString libraryFolder = LibraryFolder(parser, options);
    if (action == QLatin1String("new")) {
        TDeviceNetWork network(libraryFolder);
        network.Caption = QFileInfo(path).fileName();
        WriteLinesToFile(path, network.SaveToLines());
        return ExitSuccess;
    }
    static const QStringList known = {"show", "add", "remove", "rename", "set", "move"};
    if (!known.contains(action)) {
        PrintError(QStringLiteral("Unknown network action '%1'.").arg(action));
        return ExitUsage;
    }
    std::optional<int> mac;
    if (action != QLatin1String("show") && !(mac = MacOption(parser, options))) {
        return ExitUsage;
    }
    const auto network = OpenNetwork(path, libraryFolder);
    if (!network) {
        return ExitFailed;
    }
    if (action == QLatin1String("show")) {
        return Show(*network, parser.isSet(options.json));
    }
    if (action == QLatin1String("add")) {
        return Edit(*network, [&]() -> QString {
            if (network->DeviceAt(*mac)) {
                return QStringLiteral("MAC ID %1 already holds a device.").arg(*mac);
            }
            if (!IsFileSafeName(parser.value(name))) {
                return UnsafeNameMessage;
            }
            network->DropLibraryFile(parser.value(key) + QStringLiteral(".eds"), *mac);
            if (parser.isSet(name)) {
                network->RenameDevice(*mac, parser.value(name));
            }
            return {};
        });
    }
    TDeviceNetDevice* device = network->DeviceAt(*mac);
    if (!device) {
        PrintError(QStringLiteral("No device at MAC ID %1.").arg(*mac));
        return ExitFailed;
    }
    if (action == QLatin1String("remove")) {
        return Edit(*network, [&] { network->DeleteDevice(*mac); return QString(); });
    }
    if (action == QLatin1String("rename")) {
        return Edit(*network, [&] {
            return network->RenameDevice(*mac, positional.at(2)) ? QString() : UnsafeNameMessage;
        });
    }
    if (action == QLatin1String("set")) {
        return Edit(*network, [&]() -> QString {
            TDevParameterClass* parameter = FindParameter(*device, parser.value(param));
            if (!parameter) {
                return QStringLiteral("The device has no parameter '%1'.").arg(parser.value(param));
            }
            PrintOut(parameter->SetFromUserText(positional.at(2)));
            return {};
        });
    }
    const auto target = ParseNumber(parser.value(to));
    return Edit(*network, [&]() -> QString {
        if (!target || !network->ChangeMacId(*mac, int(*target))) {
            return QStringLiteral("--to needs a free MAC ID from 0 to 63.");
        }
        return {};
    });
}

}  // namespace

CliCommand NetworkCommand()
{
    return {QStringLiteral("network"),
            QStringLiteral("Create, show and edit network files (.net)."),
            [](const QStringList& arguments) -> int {
                try {
                    return RunNetwork(arguments);
                } catch (const CorvixError& error) {
                    PrintError(error.message());
                    return ExitFailed;
                }
            }};
}

}  // namespace corvix::cli
