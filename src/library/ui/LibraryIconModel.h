#pragma once

#include <QHash>
#include <QIcon>
#include <QIdentityProxyModel>
#include <QSet>

namespace corvix {

// The library tree as the panel shows it: vendors and profiles with open and closed icons,
// device nodes with the built-in device image until their profile is first expanded, then with
// their own icon, their profile's or the default one. Each icon file is loaded once per fill,
// so the devices of one profile share one image. Device nodes can be dragged onto networks.
class LibraryIconModel : public QIdentityProxyModel {
    Q_OBJECT
public:
    // Built-in images are taken from the library at libraryPath.
    explicit LibraryIconModel(const QString& libraryPath, QObject* parent = nullptr);

    // The tree view reports expanding and collapsing here.
    void SetExpanded(const QModelIndex& index, bool expanded);

    // Icon files loaded since the last fill.
    int LoadedIconCount() const { return static_cast<int>(icons_.size()); }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

private:
    QIcon icon(const QString& file) const;
    void forget();

    QString libraryPath_;
    mutable QHash<QString, QIcon> icons_;
    QSet<QPersistentModelIndex> expanded_;
    QSet<QPersistentModelIndex> iconsLoaded_;  // profiles whose devices show their icons
};

}  // namespace corvix
