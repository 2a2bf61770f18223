// The network file of a network document: its frame, loading and saving.
#include "network/DeviceNetWork.h"

#include "app/CorvixError.h"
#include "app/Files.h"
#include "app/Registry.h"
#include "app/UserPrompt.h"
#include "device/DeviceNetDevice.h"
#include "network/DeviceSectionHeader.h"
#include "network/FileLines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace corvix {

namespace {

const QString NetworkBegin = QStringLiteral("$Network Begin");
const QString NetworkEnd = QStringLiteral("$NetWork End");
const QString DriverBegin = QStringLiteral("$Driver Begin");
const QString DriverEnd = QStringLiteral("$Driver End");
const QString DeviceBegin = QStringLiteral("$Device Begin");
const QString DeviceEnd = QStringLiteral("$Device End");

void ShowError(const QString& text)
{
    UserPrompt::current().message(text, PromptIcon::Error);
}

}  // namespace

QStringList TDeviceNetWork::SaveToLines()
{
    QStringList lines = {NetworkBegin, Caption, DriverBegin, DriverFile, DriverConfig, DriverEnd};
    for (const auto& device : devices_) {
        lines += device->WriteSection();
    }
    lines.append(NetworkEnd);
    Q_EMIT changed();
    return lines;
}

bool TDeviceNetWork::LoadFromLines(const QStringList& lines)
{
    if (FindMarkerLine(lines, NetworkBegin) < 0 || FindMarkerLine(lines, NetworkEnd) < 0) {
        ShowError(
            QStringLiteral("The selected file was of wrong format or was not compatible "
                           "with the actual device!"));
        return false;
    }
    devices_.clear();
    DriverFile.clear();
    DriverConfig.clear();
    Q_EMIT deviceListChanged();
    const qsizetype driver = FindMarkerLine(lines, DriverBegin);
    if (driver >= 0) {
        if (driver + 2 >= lines.size()) {
            ShowError(QStringLiteral("The driver section at line %1 ends before its driver file "
                                     "and driver settings lines.")
                          .arg(driver + 1));
            return false;
        }
        DriverFile = lines.at(driver + 1);
        DriverConfig = lines.at(driver + 2);
    }
    const bool loaded = loadDeviceSections(lines);
    ShowProgress(QString(), int(lines.size()), 0);
    return loaded;
}

bool TDeviceNetWork::loadDeviceSections(const QStringList& lines)
{
    const int total = int(lines.size());
    for (qsizetype begin = FindMarkerLine(lines, DeviceBegin); begin >= 0;
         begin = FindMarkerLine(lines, DeviceBegin, begin + 1)) {
        const qsizetype end = FindMarkerLine(lines, DeviceEnd, begin + 1);
        if (end < 0) {
            ShowError(QStringLiteral("The device section at line %1 has no \"$Device End\" line.")
                          .arg(begin + 1));
            return false;
        }
        ShowProgress(QStringLiteral("Loading"), total, int(end + 1));
        const QStringList section = lines.mid(begin, end - begin + 1);
        try {
            const DeviceSectionHeader header = ReadDeviceSectionHeader(section, begin + 1);
            // A MAC ID given twice keeps the first device and skips the later section; as for a
            // browse answer, the first device is marked missing when the identities differ.
            if (TDeviceNetDevice* device =
                    AddDevice(header.macId, header.vendorId, header.deviceType, header.productCode,
                              header.majorRevision, header.name)) {
                device->ReadSection(section);
            }
        } catch (const CorvixError& error) {
            ShowError(error.message());
            return false;
        }
        begin = end;
    }
    return true;
}

bool TDeviceNetWork::LoadFromFile(const QString& path)
{
    FilePath = path;
    Caption = QFileInfo(path).fileName();
    bool loaded = false;
    try {
        loaded = LoadFromLines(ReadLinesFromFile(path));
    } catch (const FileError& error) {
        ShowError(error.message());
    }
    SavedFlag = true;
    Q_EMIT changed();
    return loaded;
}

bool TDeviceNetWork::writeFile(const QString& path, const QStringList& lines)
{
    try {
        WriteLinesToFile(path, lines);
    } catch (const FileError& error) {
        ShowError(error.message());
        return false;
    }
    SavedFlag = true;
    Q_EMIT changed();
    return true;
}

bool TDeviceNetWork::SaveNetwork()
{
    // An unchanged network is not written.
    if (IsSaved()) {
        return true;
    }
    const bool saved = !FilePath.isEmpty() && QFileInfo(FilePath).isFile()
                           ? writeFile(FilePath, SaveToLines())
                           : SaveNetworkAs();
    IsStartupNetwork = false;
    Q_EMIT changed();
    return saved;
}

bool TDeviceNetWork::SaveNetworkAs()
{
    const QString dataFolder = QCoreApplication::applicationDirPath() + QStringLiteral("/data");
    ForceFolder(dataFolder);
    QString lastFolder;
    ReadRegString(QStringLiteral("LastNetWorkDataLocation"), lastFolder);
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.folder = lastFolder.isEmpty() ? dataFolder : lastFolder;
    request.fileName = Caption;
    request.filter = QStringLiteral("Saved network data files (*.net)");
    request.defaultSuffix = QStringLiteral("net");
    const QStringList chosen = UserPrompt::current().chooseFiles(request);
    if (chosen.isEmpty()) {
        // The network keeps no path it was never saved under, so the next Save asks again.
        Q_EMIT changed();
        return false;
    }
    // The caption line holds the caption the network had when the user chose to save it.
    const QStringList lines = SaveToLines();
    const QString path = chosen.first();
    FilePath = path;
    Caption = QFileInfo(path).fileName();
    if (!writeFile(path, lines)) {
        return false;
    }
    WriteRegString(QStringLiteral("LastNetWorkDataLocation"),
                   QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
    return true;
}

}  // namespace corvix
