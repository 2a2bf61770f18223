#include "network/DriverList.h"

#include "app/Files.h"
#include "app/SharedLibrary.h"
#include "app/Windows1252.h"

#include <CorvixDriverContract.h>

#include <QCoreApplication>
#include <QFileInfo>

namespace corvix {

namespace {

QString TextOf(const char* text)
{
    return text ? DecodeWindows1252(QByteArray(text)) : QString();
}

// A driver's icon lives beside it under the same base name.
QString IconBeside(const QString& file)
{
    const QFileInfo info(file);
    for (const char* suffix : {".png", ".ico"}) {
        const QString icon = info.path() + u'/' + info.completeBaseName() + QLatin1String(suffix);
        if (QFileInfo::exists(icon)) {
            return icon;
        }
    }
    return {};
}

}  // namespace

QString DefaultDriverFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Drivers");
}

bool ReadDriverEntry(const QString& file, DriverListEntry& entry)
{
    SharedLibrary library;
    if (!library.load(file)) {
        return false;
    }
    const auto name = library.function<CorvixDriverNameFn>(CORVIX_EXPORT_DRIVER_NAME);
    if (!name) {
        return false;
    }
    entry.file = file;
    entry.caption = TextOf(name());
    if (const auto help = library.function<CorvixGetHelpTextFn>(CORVIX_EXPORT_HELP_TEXT)) {
        entry.helpText = TextOf(help());
    }
    entry.iconFile = IconBeside(file);
    return true;
}

QList<DriverListEntry> ListDrivers(const QString& folder)
{
    QList<DriverListEntry> entries;
    for (const QString& file : FindFiles(folder + u'/' + SharedLibrary::fileMask(), faAnyFile)) {
        DriverListEntry entry;
        if (ReadDriverEntry(file, entry)) {
            entries.append(entry);
        }
    }
    return entries;
}

}  // namespace corvix
