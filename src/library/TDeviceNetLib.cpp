#include "library/TDeviceNetLib.h"

#include "app/CorvixError.h"
#include "app/EdsValueReaders.h"
#include "app/Files.h"
#include "app/UserPrompt.h"
#include "app/Windows1252.h"
#include "device/DeviceNetDevice.h"
#include "library/EdsKeywordCheck.h"
#include "library/EdsNormaliser.h"
#include "library/EdsTestDevice.h"
#include "library/EdsWizardLog.h"
#include "library/LibraryFolder.h"
#include "library/LibraryIndex.h"
#include "library/LibraryTreeModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace corvix {

namespace {

const QString indexFileName = QStringLiteral("Library.inf");

// The bytes of a file, or nothing when it cannot be read.
std::optional<QByteArray> readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return file.readAll();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// The lines of an index file; a missing one is created empty, as an empty list it stands for.
QByteArrayList loadOrCreate(const QString& path)
{
    if (const auto bytes = readFile(path)) {
        return SplitTextLines(*bytes);
    }
    if (!QFileInfo::exists(path)) {
        QFile(path).open(QIODevice::WriteOnly);
    }
    return {};
}

}  // namespace

bool IsInstalledFileStem(const QString& stem)
{
    const QStringList parts = QString(stem).replace(u'\\', u'/').split(u'/');
    return parts.size() >= 2 && parts.first().compare(QLatin1String("eds"), Qt::CaseInsensitive) == 0 &&
           std::none_of(parts.begin(), parts.end(), [](const QString& part) {
               return part.isEmpty() || part == QLatin1String("..") || part == QLatin1String(".");
           }) &&
           stem.endsWith(u'.');
}

TDeviceNetLib::TDeviceNetLib(QObject* owner, UserPrompt* prompt, const QString& libraryPath)
    : TFieldbusLibAbstract(owner, prompt)
{
    QString path = libraryPath.isEmpty() ? DefaultLibraryPath() : libraryPath;
    path.replace(u'\\', u'/');
    if (!path.endsWith(u'/')) {
        path += u'/';
    }
    libraryPath_ = path;
    ForceFolder(libraryPath_);
    SeedLibraryFolder(libraryPath_, LibrarySeedFolder());
}

void TDeviceNetLib::log(const QString& line) const
{
    if (wizardLog_) {
        wizardLog_->AddLogLine(line);
    }
}

void TDeviceNetLib::RebuildLibrary()
{
    const QStringList files = FindFiles(libraryPath_ + QStringLiteral("eds/*.eds"), faAnyFile);
    const QDir library(libraryPath_);
    QByteArrayList lines;
    lines.reserve(files.size());
    for (const QString& file : files) {
        QCoreApplication::processEvents();
        const QString relative = library.relativeFilePath(file);
        const QByteArray text = readFile(file).value_or(QByteArray());
        try {
            lines.append(LibraryIndexLine(relative, text));
        } catch (const ConversionError& error) {
            throw ConversionError(relative + QStringLiteral(": ") + error.message());
        }
    }
    SortLibraryIndex(lines);
    if (!writeFile(libraryPath_ + indexFileName, JoinTextLines(lines))) {
        throw FileError(QStringLiteral("Cannot write %1").arg(libraryPath_ + indexFileName));
    }
    Q_EMIT LibraryRebuilt();
}

bool TDeviceNetLib::InstallEdsFile(const QString& fileName)
{
    const auto raw = readFile(fileName);
    if (!raw) {
        log(QStringLiteral("Error : Cannot read %1").arg(fileName));
        return false;
    }
    return installNormalised(fileName, NormaliseEdsText(*raw));
}

bool TDeviceNetLib::installNormalised(const QString& fileName, const QByteArray& text)
{
    QString report;
    if (!CheckEdsKeywords(text, report)) {
        log(report);
        return false;
    }
    QStringList errors;
    if (!CheckEdsTestDevice(text, errors)) {
        for (const QString& line : errors) {
            log(line);
        }
        return false;
    }
    QString key;
    try {
        key = EdsFileKey(text);
    } catch (const CorvixError& error) {
        log(error.message());
        return false;
    }
    const QString folder = libraryPath_ + QStringLiteral("eds/");
    ForceFolder(folder);
    const QString target = folder + key + QStringLiteral(".eds");
    if (QFileInfo::exists(target) &&
        !prompt().confirmYesNo(QStringLiteral("This device does already exist. Do you want to "
                                              "proceed and overwrite the existing device?"))) {
        return false;
    }
    if (!writeFile(target, text)) {
        log(QStringLiteral("Error : Cannot write %1").arg(target));
        return false;
    }
    storeIcon(fileName, text, key);
    return true;
}

void TDeviceNetLib::storeIcon(const QString& sourceFile, const QByteArray& text,
                              const QString& key) const
{
    const QFileInfo source(sourceFile);
    // The name comes from the normalised text, so "my_dev.ico" is looked for as "mydev.ico".
    const QString named = DecodeWindows1252(ReadQuotedValue(text, "Icon=", 0, text.size()));
    QString icon = named.contains(u'/') || named.contains(u'\\')
                       ? QString()
                       : FindFileIgnoringCase(source.absolutePath(), named);
    if (icon.isEmpty()) {
        const QString fallback = source.fileName().chopped(qMin(3, source.fileName().size())) +
                                 QStringLiteral("ico");
        icon = FindFileIgnoringCase(source.absolutePath(), fallback);
    }
    if (icon.isEmpty()) {
        return;
    }
    if (const auto bytes = readFile(icon)) {
        writeFile(libraryPath_ + QStringLiteral("eds/") + key + QStringLiteral(".ico"), *bytes);
    }
}

int TDeviceNetLib::InstallEdsFiles(const QStringList& fileNames)
{
    int installed = 0;
    for (const QString& fileName : fileNames) {
        if (InstallEdsFile(fileName)) {
            ++installed;
            log(QStringLiteral("Successfully installed: ") + fileName);
        } else {
            log(QStringLiteral("Failed to install: ") + fileName);
        }
    }
    return installed;
}

void TDeviceNetLib::FillLibraryTree(LibraryTreeModel& model)
{
    const QString indexPath = libraryPath_ + indexFileName;
    model.Clear();
    if (!QFileInfo::exists(indexPath)) {
        RebuildLibrary();
    }
    const QByteArrayList index = SplitTextLines(readFile(indexPath).value_or(QByteArray()));
    if (index.isEmpty()) {
        if (QFileInfo::exists(indexPath)) {
            RebuildLibrary();
        }
        return;
    }
    model.Build(libraryPath_, index, loadOrCreate(libraryPath_ + QStringLiteral("Vendown.inf")),
                loadOrCreate(libraryPath_ + QStringLiteral("Profiles.inf")));
}

bool TDeviceNetLib::RemoveLibraryDevice(const QStringList& nodeData)
{
    // The text comes from Library.inf, which may have been edited by hand: only files inside
    // "eds/" are ever deleted.
    if (nodeData.isEmpty() || !IsInstalledFileStem(nodeData.first())) {
        return false;
    }
    bool removed = false;
    for (const char* extension : {"eds", "ico"}) {
        const QString file =
            FindLibraryFile(libraryPath_, nodeData.first() + QLatin1String(extension));
        removed = (!file.isEmpty() && QFile::remove(file)) || removed;
    }
    return removed;
}

QByteArray TDeviceNetLib::ReadInstalledEds(const QString& relativePath) const
{
    const QString file = FindLibraryFile(libraryPath_, relativePath);
    const auto bytes = file.isEmpty() ? std::nullopt : readFile(file);
    if (!bytes) {
        throw FileError(QStringLiteral("Cannot open file \"%1\".").arg(relativePath));
    }
    return *bytes;
}

std::unique_ptr<TDeviceNetDevice> TDeviceNetLib::CreateDeviceFromEdsFile(
    TDeviceNetWork* owner, int macId, const QString& relativePath) const
{
    return TDeviceNetDevice::CreateFromEds(owner, relativePath, ReadInstalledEds(relativePath),
                                           macId);
}

}  // namespace corvix
