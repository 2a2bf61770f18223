#include "core/EdsSource.h"

#include "app/CorvixError.h"
#include "device/DeviceNetDevice.h"
#include "library/EdsNormaliser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace corvix::sim {

QString ResolveEdsFile(const QString& name, const QString& descriptionFolder)
{
    if (name.isEmpty())
        throw FileError(QStringLiteral("an EDS file name is empty"));
    if (QFileInfo(name).isAbsolute()) {
        if (QFileInfo(name).isFile())
            return name;
        throw FileError(QStringLiteral("EDS file %1 not found").arg(name));
    }
    const QStringList folders = {
        descriptionFolder.isEmpty() ? QDir::currentPath() : descriptionFolder,
        QCoreApplication::applicationDirPath() + QStringLiteral("/data/eds"),
    };
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo(path).isFile())
            return QDir::cleanPath(path);
    }
    throw FileError(QStringLiteral("EDS file %1 not found in %2").arg(name, folders.join(QStringLiteral(" or "))));
}

EdsSource ReadEdsSource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    EdsSource source{path, NormaliseEdsText(file.readAll()), nullptr};
    const QString fileName = QFileInfo(path).fileName();
    try {
        source.device = TDeviceNetDevice::CreateFromEds(nullptr, fileName, source.text, 0);
    } catch (const CorvixError& error) {
        throw ConversionError(QStringLiteral("%1: %2").arg(fileName, error.message()));
    }
    // A node that silently lacks a parameter of its file would mislead whoever tests against
    // it, so every definition fault stops the simulator.
    if (!source.device->DefinitionErrors.isEmpty())
        throw ConversionError(
            QStringLiteral("%1: %2").arg(fileName, source.device->DefinitionErrors.first()));
    if (source.device->VendorCode == 0 && source.device->ProductCode == 0)
        throw ConversionError(QStringLiteral("%1: no device identity (VendCode, ProdCode)").arg(fileName));
    return source;
}

}  // namespace corvix::sim
