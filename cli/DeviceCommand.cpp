#include "CliCommand.h"
#include "CliSupport.h"
#include "NetworkCliSupport.h"

#include "app/CorvixError.h"
#include "network/DeviceFile.h"

namespace corvix::cli {

namespace {

int RunDevice(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Device data files: export FILE.net --mac N -o FILE.dev | "
                       "import FILE.net --mac N FILE.dev"));
    NetworkOptions options;
    options.addTo(parser, true);
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The device file to write."),
                                    QStringLiteral("FILE"));
    parser.addOption(output);
    parser.addPositionalArgument(QStringLiteral("ACTION"), QStringLiteral("export or import."));
    if (const auto done = ParseCommandLine(parser, arguments)) {
        return *done;
    }
    const QStringList positional = parser.positionalArguments();
    const QString action = positional.value(0);
    const bool exporting = action == QLatin1String("export");
    if (!(exporting || action == QLatin1String("import")) ||
        positional.size() != (exporting ? 2 : 3) || (exporting && !parser.isSet(output))) {
        PrintError(QStringLiteral("Use: device export FILE.net --mac N -o FILE.dev, or device "
                                  "import FILE.net --mac N FILE.dev."));
        return ExitUsage;
    }
    const auto mac = MacOption(parser, options);
    if (!mac) {
        return ExitUsage;
    }
    const auto network = OpenNetwork(positional.at(1), LibraryFolder(parser, options));
    if (!network) {
        return ExitFailed;
    }
    TDeviceNetDevice* device = network->DeviceAt(*mac);
    if (!device) {
        PrintError(QStringLiteral("No device at MAC ID %1.").arg(*mac));
        return ExitFailed;
    }
    if (exporting) {
        SaveDeviceFile(*device, parser.value(output));
        return ExitSuccess;
    }
    if (!LoadDeviceFile(*device, positional.at(2))) {
        PrintError(QStringLiteral("%1 holds the data of a device of another identity; nothing "
                                  "was loaded.")
                       .arg(positional.at(2)));
        return ExitFailed;
    }
    return WriteNetwork(*network) ? ExitSuccess : ExitFailed;
}

}  // namespace

CliCommand DeviceCommand()
{
    return {QStringLiteral("device"), QStringLiteral("Export and import device data files (.dev)."),
            [](const QStringList& arguments) -> int {
                try {
                    return RunDevice(arguments);
                } catch (const CorvixError& error) {
                    PrintError(error.message());
                    return ExitFailed;
                }
            }};
}

}  // namespace corvix::cli
