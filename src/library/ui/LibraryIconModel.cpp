#include "library/ui/LibraryIconModel.h"

#include <QMimeData>

#include "library/LibraryFolder.h"
#include "library/LibraryTreeModel.h"
#include "library/ui/LibraryDrag.h"

namespace corvix {

LibraryIconModel::LibraryIconModel(const QString& libraryPath, QObject* parent)
    : QIdentityProxyModel(parent), libraryPath_(libraryPath)
{
    connect(this, &QAbstractItemModel::modelReset, this, &LibraryIconModel::forget);
    connect(this, &QAbstractProxyModel::sourceModelChanged, this, &LibraryIconModel::forget);
}

void LibraryIconModel::forget()
{
    icons_.clear();
    expanded_.clear();
    iconsLoaded_.clear();
}

QIcon LibraryIconModel::icon(const QString& file) const
{
    if (file.isEmpty()) {
        return {};
    }
    auto found = icons_.find(file);
    if (found == icons_.end()) {
        found = icons_.insert(file, QIcon(file));
    }
    return *found;
}

void LibraryIconModel::SetExpanded(const QModelIndex& index, bool expanded)
{
    if (expanded) {
        expanded_.insert(index);
        // Device icons are loaded when their profile opens, not for the whole library at once.
        if (index.data(LibraryTreeModel::LevelRole).toInt() == 1 && !iconsLoaded_.contains(index)) {
            iconsLoaded_.insert(index);
            if (const int rows = rowCount(index); rows > 0) {
                Q_EMIT dataChanged(this->index(0, 0, index), this->index(rows - 1, 0, index),
                                   {Qt::DecorationRole});
            }
        }
    } else {
        expanded_.remove(index);
    }
    Q_EMIT dataChanged(index, index, {Qt::DecorationRole});
}

QVariant LibraryIconModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::ToolTipRole) {
        return QIdentityProxyModel::data(index, Qt::DisplayRole);  // long names are elided
    }
    if (role != Qt::DecorationRole || !index.isValid()) {
        return QIdentityProxyModel::data(index, role);
    }
    const int level = QIdentityProxyModel::data(index, LibraryTreeModel::LevelRole).toInt();
    if (level < 2) {
        return icon(QIdentityProxyModel::data(index, expanded_.contains(index)
                                                         ? LibraryTreeModel::ExpandedIconFileRole
                                                         : LibraryTreeModel::IconFileRole)
                        .toString());
    }
    if (!iconsLoaded_.contains(index.parent())) {
        return icon(FindLibraryFile(libraryPath_, QStringLiteral("ICONS\\Device.ico")));
    }
    return icon(QIdentityProxyModel::data(index, LibraryTreeModel::IconFileRole).toString());
}

Qt::ItemFlags LibraryIconModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QIdentityProxyModel::flags(index) & ~Qt::ItemIsEditable;
    if (index.data(LibraryTreeModel::LevelRole).toInt() == 2) {
        flags |= Qt::ItemIsDragEnabled;
    }
    return flags;
}

QStringList LibraryIconModel::mimeTypes() const
{
    return {LibraryDeviceMimeType()};
}

QMimeData* LibraryIconModel::mimeData(const QModelIndexList& indexes) const
{
    // Only a device node is dragged onto a network.
    if (indexes.isEmpty() || indexes.first().data(LibraryTreeModel::LevelRole).toInt() != 2) {
        return nullptr;
    }
    auto* data = new QMimeData;
    data->setData(
        LibraryDeviceMimeType(),
        indexes.first().data(LibraryTreeModel::NodeDataRole).toStringList().value(0).toUtf8());
    return data;
}

}  // namespace corvix
