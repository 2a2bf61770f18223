#pragma once

#include "network/DeviceNetWork.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <memory>

namespace corvix::cli {

// Options every network and device command takes.
struct NetworkOptions {
    QCommandLineOption library{QStringLiteral("library"),
                               QStringLiteral("EDS library folder (default: the program's)."),
                               QStringLiteral("DIR")};
    QCommandLineOption json{QStringLiteral("json"), QStringLiteral("Answer in JSON.")};
    QCommandLineOption mac{QStringLiteral("mac"), QStringLiteral("MAC ID of the device (0..63)."),
                           QStringLiteral("N")};
    void addTo(QCommandLineParser& parser, bool withMac);
};

// The library folder the options choose.
QString LibraryFolder(const QCommandLineParser& parser, const NetworkOptions& options);
// The --mac value; nothing (after printing why) when it is missing or no MAC ID.
std::optional<int> MacOption(const QCommandLineParser& parser, const NetworkOptions& options);
// Loads a network file; nothing when it cannot be loaded (the reason went to standard error).
std::unique_ptr<TDeviceNetWork> OpenNetwork(const QString& path, const QString& libraryFolder);
// Writes the network to its file; false (the reason went to standard error) when that fails.
bool WriteNetwork(TDeviceNetWork& network);

}  // namespace corvix::cli
