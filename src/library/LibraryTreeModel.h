#pragma once

#include <QAbstractItemModel>
#include <QByteArrayList>
#include <QStringList>

#include <memory>
#include <vector>

namespace corvix {

// The installed devices as a tree of vendors (level 0), device profiles (level 1) and devices
// (level 2), built from the index files. A device node carries two texts: its file stem
// ("eds\90_12_3_1.", add "eds" or "ico") and its profile icon ("ICONS\Profile12.ICO"). Icons
// are offered as file paths; the window loads them.
class LibraryTreeModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Role {
        LevelRole = Qt::UserRole + 1,  // int: 0 vendor, 1 profile, 2 device
        NodeDataRole,                  // QStringList: the two texts of a device node
        IconFileRole,                  // QString: icon file of the node, empty when none exists
        ExpandedIconFileRole,          // QString: icon of an expanded vendor or profile node
    };

    static const QString unknownVendorText;

    explicit LibraryTreeModel(QObject* parent = nullptr);
    ~LibraryTreeModel() override;

    void Clear();

    // Rebuilds the tree from the lines of Library.inf, Vendown.inf and Profiles.inf. Index lines
    // that are not of the installed form (a file copied into "eds" by hand) are left out, each
    // with a line in Messages().
    void Build(const QString& libraryPath, const QByteArrayList& indexLines,
               const QByteArrayList& vendorLines, const QByteArrayList& profileLines);

    const QStringList& Messages() const { return messages_; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    struct Node;

    Node* nodeOf(const QModelIndex& index) const;
    QString iconFile(const Node& node, bool expanded) const;

    std::unique_ptr<Node> root_;
    QString libraryPath_;
    QStringList messages_;
};

}  // namespace corvix
