#include "app/Registry.h"

#include <QSettings>

namespace corvix {

namespace {

const char* const organisation = "Tarnwell";
const char* const application = "Velmora Corvix for DeviceNet";

bool readable(const QSettings& settings) { return settings.status() != QSettings::AccessError; }

}  // namespace

std::unique_ptr<QSettings> OpenSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QString::fromLatin1(organisation),
                                       QString::fromLatin1(application));
}

void WriteRegString(const QString& name, const QString& value)
{
    OpenSettings()->setValue(name, value);
}

void WriteRegBool(const QString& name, bool value) { OpenSettings()->setValue(name, value); }

void WriteRegInteger(const QString& name, int value) { OpenSettings()->setValue(name, value); }

bool RegValueExists(const QString& name)
{
    const auto settings = OpenSettings();
    return readable(*settings) && settings->contains(name);
}

void ReadRegString(const QString& name, QString& result)
{
    const auto settings = OpenSettings();
    if (readable(*settings) && settings->contains(name)) {
        result = settings->value(name).toString();
    }
}

bool ReadRegBool(const QString& name)
{
    const auto settings = OpenSettings();
    return readable(*settings) && settings->value(name, false).toBool();
}

int ReadRegInteger(const QString& name, int defaultValue)
{
    const auto settings = OpenSettings();
    if (!readable(*settings)) {
        return 0;
    }
    bool ok = false;
    const int value = settings->value(name).toInt(&ok);
    return settings->contains(name) && ok ? value : defaultValue;
}

}  // namespace corvix
