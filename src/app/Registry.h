#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace corvix {

// The program's per-user settings store: the "Tarnwell\Velmora Corvix for DeviceNet" key in the
// registry on Windows, the per-user configuration file elsewhere.
std::unique_ptr<QSettings> OpenSettings();

void WriteRegString(const QString& name, const QString& value);
void WriteRegBool(const QString& name, bool value);
void WriteRegInteger(const QString& name, int value);

// False when the settings store or the value is missing.
bool RegValueExists(const QString& name);

// Sets result to the stored value when it exists; leaves result unchanged otherwise.
void ReadRegString(const QString& name, QString& result);

// The stored flag; false when the value is missing.
bool ReadRegBool(const QString& name);

// The stored number; defaultValue when the value is missing, 0 when the store cannot be read.
int ReadRegInteger(const QString& name, int defaultValue);

}  // namespace corvix
