#include "NetworkCliSupport.h"

#include "CliSupport.h"
#include "library/LibraryFolder.h"

namespace corvix::cli {

void NetworkOptions::addTo(QCommandLineParser& parser, bool withMac)
{
    parser.addOption(library);
    parser.addOption(json);
    if (withMac) {
        parser.addOption(mac);
    }
}

QString LibraryFolder(const QCommandLineParser& parser, const NetworkOptions& options)
{
    return parser.isSet(options.library) ? parser.value(options.library) : DefaultLibraryPath();
}

std::optional<int> MacOption(const QCommandLineParser& parser, const NetworkOptions& options)
{
    const auto mac = ParseNumber(parser.value(options.mac));
    if (!parser.isSet(options.mac) || !mac || *mac < 0 || *mac > 63) {
        PrintError(QStringLiteral("--mac needs a MAC ID from 0 to 63."));
        return std::nullopt;
    }
    return int(*mac);
}

std::unique_ptr<TDeviceNetWork> OpenNetwork(const QString& path, const QString& libraryFolder)
{
    auto network = std::make_unique<TDeviceNetWork>(libraryFolder);
    if (!network->LoadFromFile(path)) {
        return nullptr;
    }
    return network;
}

bool WriteNetwork(TDeviceNetWork& network)
{
    network.MarkModified();
    return network.SaveNetwork();
}

}  // namespace corvix::cli
