#include "EdsSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include "CliSupport.h"
#include "app/CorvixError.h"
#include "library/EdsNormaliser.h"

namespace corvix::cli {

std::optional<QByteArray> ReadInputFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        PrintError(QStringLiteral("Cannot read '%1': %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    return file.readAll();
}

std::unique_ptr<TDeviceNetDevice> DeviceFromEdsFile(const QString& path)
{
    const auto bytes = ReadInputFile(path);
    if (!bytes) {
        return nullptr;
    }
    try {
        return TDeviceNetDevice::CreateFromEds(nullptr, QFileInfo(path).fileName(),
                                               NormaliseEdsText(*bytes), 0);
    } catch (const CorvixError& error) {
        PrintError(QStringLiteral("%1: %2").arg(path, error.message()));
        return nullptr;
    }
}

void PrintJson(const QJsonObject& object)
{
    PrintOut(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
}

}  // namespace corvix::cli
