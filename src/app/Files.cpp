#include "app/Files.h"

#include "app/CorvixError.h"

#include <QDir>
#include <QFileInfo>

namespace corvix {

namespace {

void collect(const QDir& folder, const QString& mask, QDir::Filters hidden, QStringList& result)
{
    const QDir::SortFlags order = QDir::Name | QDir::IgnoreCase;
    for (const QFileInfo& file :
         folder.entryInfoList({mask}, QDir::Files | hidden, order)) {
        result.append(file.absoluteFilePath());
    }
    for (const QFileInfo& sub :
         folder.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | hidden, order)) {
        collect(QDir(sub.absoluteFilePath()), mask, hidden, result);
    }
}

}  // namespace

QStringList FindFiles(const QString& maskPath, unsigned attributes)
{
    const QString path = QDir::fromNativeSeparators(QString(maskPath).replace(u'\\', u'/'));
    const QFileInfo info(path);
    QStringList result;
    const QDir folder(info.path());
    if (!folder.exists()) {
        return result;
    }
    const QDir::Filters hidden = (attributes & faHidden) ? QDir::Hidden : QDir::Filters();
    collect(folder, info.fileName().isEmpty() ? QStringLiteral("*") : info.fileName(), hidden,
            result);
    return result;
}

bool ForceFolder(const QString& folder)
{
    if (folder.isEmpty()) {
        throw FileError(QStringLiteral("A directory could not be created as needed!"));
    }
    QString path = QString(folder).replace(u'\\', u'/');
    if (path.endsWith(u'/')) {
        path.chop(1);
    }
    // The root ("/" or "C:") always exists. Other short relative names are real folders here,
    // so they are created like any other rather than reported as made.
    if (path.isEmpty() || (path.size() == 2 && path[1] == u':') || QFileInfo(path).isDir()) {
        return true;
    }
    return QDir().mkpath(path);
}

}  // namespace corvix
