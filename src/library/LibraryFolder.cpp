#include "library/LibraryFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace corvix {

namespace {

QString& seedFolderOverride()
{
    static QString folder;
    return folder;
}

QString withSlash(QString path)
{
    path.replace(u'\\', u'/');
    if (!path.endsWith(u'/')) {
        path += u'/';
    }
    return path;
}

void copyMissing(const QDir& from, const QDir& to)
{
    for (const QFileInfo& entry :
         from.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to.filePath(entry.fileName());
        if (entry.isDir()) {
            if (!to.exists(entry.fileName()) && !to.mkdir(entry.fileName())) {
                continue;
            }
            copyMissing(QDir(entry.absoluteFilePath()), QDir(target));
        } else if (!QFileInfo::exists(target)) {
            QFile::copy(entry.absoluteFilePath(), target);
            QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
        }
    }
}

}  // namespace

QString DefaultLibraryPath()
{
    const QString configured = qEnvironmentVariable("CORVIX_LIBRARY_PATH");
    if (!configured.isEmpty()) {
        return withSlash(configured);
    }
    return withSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) +
           QStringLiteral("Tarnwell/Velmora Corvix for DeviceNet/lib/dev/");
}

QString LibrarySeedFolder()
{
    if (!seedFolderOverride().isEmpty()) {
        return seedFolderOverride();
    }
    return QCoreApplication::applicationDirPath() + QStringLiteral("/data");
}

void SetLibrarySeedFolder(const QString& folder)
{
    seedFolderOverride() = folder;
}

void SeedLibraryFolder(const QString& libraryPath, const QString& seedFolder)
{
    const QDir seed(seedFolder);
    if (seedFolder.isEmpty() || !seed.exists()) {
        return;
    }
    const QDir library(libraryPath);
    for (const QString& name : {QStringLiteral("Vendown.inf"), QStringLiteral("Profiles.inf")}) {
        const QString target = library.filePath(name);
        if (seed.exists(name) && !QFileInfo::exists(target)) {
            QFile::copy(seed.filePath(name), target);
            QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
        }
    }
    if (seed.exists(QStringLiteral("ICONS")) &&
        (library.exists(QStringLiteral("ICONS")) || library.mkdir(QStringLiteral("ICONS")))) {
        copyMissing(QDir(seed.filePath(QStringLiteral("ICONS"))),
                    QDir(library.filePath(QStringLiteral("ICONS"))));
    }
}

QString FindFileIgnoringCase(const QString& folder, const QString& fileName)
{
    if (fileName.isEmpty()) {
        return {};
    }
    const QDir dir(folder);
    const QString exact = dir.filePath(fileName);
    if (QFileInfo(exact).isFile()) {
        return exact;
    }
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0) {
            return dir.filePath(entry);
        }
    }
    return {};
}

QString FindLibraryFile(const QString& libraryPath, const QString& relativePath)
{
    const QStringList parts = QString(relativePath).replace(u'\\', u'/').split(u'/');
    QString folder = libraryPath;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const QDir dir(folder);
        if (QFileInfo(dir.filePath(parts[i])).isDir()) {
            folder = dir.filePath(parts[i]);
            continue;
        }
        const QStringList matches =
            dir.entryList({parts[i]}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
        if (matches.isEmpty()) {
            return {};
        }
        folder = dir.filePath(matches.first());
    }
    return FindFileIgnoringCase(folder, parts.last());
}

}  // namespace corvix
