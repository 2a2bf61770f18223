#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <memory>
#include <optional>

#include "device/DeviceNetDevice.h"

namespace corvix::cli {

// The bytes of a file; prints the error and returns nothing when it cannot be read.
std::optional<QByteArray> ReadInputFile(const QString& path);

// A device built from a raw EDS file as the library would install it (normalised first), at
// MAC ID 0 with no network; prints the error and returns nothing when it cannot be read or built.
std::unique_ptr<TDeviceNetDevice> DeviceFromEdsFile(const QString& path);

// Compact JSON of an object on standard output.
void PrintJson(const QJsonObject& object);

// The sub-commands of "corvix eds", one per file; each takes the arguments after its name with
// argument 0 naming it ("corvix eds show").
int EdsNormalise(const QStringList& arguments);
int EdsCheck(const QStringList& arguments);
int EdsShow(const QStringList& arguments);
int EdsParam(const QStringList& arguments);

}  // namespace corvix::cli
