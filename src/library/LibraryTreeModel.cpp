#include "library/LibraryTreeModel.h"

#include "app/Windows1252.h"
#include "library/LibraryFolder.h"
#include "library/LibraryIndex.h"

#include <algorithm>
#include <optional>

namespace corvix {

struct LibraryTreeModel::Node {
    QString text;
    int level = -1;
    QStringList data;
    Node* parent = nullptr;
    std::vector<std::unique_ptr<Node>> children;

    Node* add(QString childText, QStringList childData = {})
    {
        auto child = std::make_unique<Node>();
        child->text = std::move(childText);
        child->level = level + 1;
        child->data = std::move(childData);
        child->parent = this;
        children.push_back(std::move(child));
        return children.back().get();
    }

    int row() const
    {
        const auto& siblings = parent->children;
        const auto it = std::find_if(siblings.begin(), siblings.end(),
                                     [this](const auto& sibling) { return sibling.get() == this; });
        return int(it - siblings.begin());
    }
};

const QString LibraryTreeModel::unknownVendorText =
    QStringLiteral("Non ODVA members or not registered on 07-18-2003");

namespace {

// A decimal number written as the file names of the library write it; nothing for anything
// else (empty, letters, too long to be an identity value).
std::optional<int> decimal(const QByteArray& text)
{
    const qsizetype digitsStart = text.startsWith('-') ? 1 : 0;
    if (text.size() == digitsStart || text.size() - digitsStart > 9) {
        return std::nullopt;
    }
    for (qsizetype i = digitsStart; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
    }
    return text.toInt();
}

struct IndexEntry {
    int vendor;
    int profile;
    QByteArray stem;  // up to and including the dot before "eds"
    QByteArray text;  // product name and revision
};

std::optional<IndexEntry> parseIndexLine(const QByteArray& line)
{
    const qsizetype slash = line.indexOf('\\');
    const qsizetype first = slash < 0 ? -1 : line.indexOf('_', slash + 1);
    const qsizetype second = first < 0 ? -1 : line.indexOf('_', first + 1);
    const qsizetype extension = second < 0 ? -1 : line.indexOf(".eds ", second + 1);
    if (extension < 0) {
        return std::nullopt;
    }
    const auto vendor = decimal(line.mid(slash + 1, first - slash - 1));
    const auto profile = decimal(line.mid(first + 1, second - first - 1));
    if (!vendor || !profile) {
        return std::nullopt;
    }
    return IndexEntry{*vendor, *profile, line.left(extension + 1), line.mid(extension + 5)};
}

QString vendorName(const QByteArrayList& vendorLines, int vendor)
{
    // Names on the first half of the lines, codes on the second, in the same order.
    const qsizetype half = vendorLines.size() / 2;
    const QByteArray code = QByteArray::number(vendor);
    for (qsizetype i = half; i < vendorLines.size(); ++i) {
        if (vendorLines[i].compare(code, Qt::CaseInsensitive) == 0) {
            QByteArray name = vendorLines[i - half];
            if (!name.isEmpty() && static_cast<unsigned char>(name.back()) < 13) {
                name.chop(1);
            }
            return DecodeWindows1252(name);
        }
    }
    return LibraryTreeModel::unknownVendorText;
}

QString profileName(const QByteArrayList& profileLines, int profile)
{
    if (profile >= 0 && profile < profileLines.size()) {
        return DecodeWindows1252(profileLines[profile]);
    }
    return QStringLiteral("Vendor Specific (%1)").arg(profile);
}

template <typename NodeType>
void sortTree(NodeType& node)
{
    std::stable_sort(node.children.begin(), node.children.end(),
                     [](const auto& a, const auto& b) { return LibraryTextLess(a->text, b->text); });
    for (auto& child : node.children) {
        sortTree(*child);
    }
}

}  // namespace

LibraryTreeModel::LibraryTreeModel(QObject* parent)
    : QAbstractItemModel(parent), root_(std::make_unique<Node>())
{
}

LibraryTreeModel::~LibraryTreeModel() = default;

void LibraryTreeModel::Clear()
{
    beginResetModel();
    root_ = std::make_unique<Node>();
    messages_.clear();
    endResetModel();
}

void LibraryTreeModel::Build(const QString& libraryPath, const QByteArrayList& indexLines,
                             const QByteArrayList& vendorLines,
                             const QByteArrayList& profileLines)
{
    beginResetModel();
    root_ = std::make_unique<Node>();
    messages_.clear();
    libraryPath_ = libraryPath;
    std::optional<int> previousVendor;
    std::optional<int> previousProfile;
    Node* vendorNode = nullptr;
    Node* profileNode = nullptr;
    for (qsizetype i = 0; i < indexLines.size(); ++i) {
        const auto entry = parseIndexLine(indexLines[i]);
        if (!entry) {
            messages_.append(QStringLiteral("Library.inf line %1 skipped, it names no installed "
                                            "EDS file (eds\\vendor_type_code_revision.eds): %2")
                                 .arg(i + 1)
                                 .arg(DecodeWindows1252(indexLines[i])));
            continue;
        }
        const QString profileText = profileName(profileLines, entry->profile);
        if (entry->vendor != previousVendor) {
            vendorNode = root_->add(vendorName(vendorLines, entry->vendor));
            profileNode = vendorNode->add(profileText);
        } else if (entry->profile != previousProfile) {
            profileNode = vendorNode->add(profileText);
        }
        profileNode->add(DecodeWindows1252(entry->text),
                         {DecodeWindows1252(entry->stem),
                          QStringLiteral("ICONS\\Profile%1.ICO").arg(entry->profile)});
        previousVendor = entry->vendor;
        previousProfile = entry->profile;
    }
    sortTree(*root_);
    endResetModel();
}

LibraryTreeModel::Node* LibraryTreeModel::nodeOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : root_.get();
}

QModelIndex LibraryTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    const Node* node = nodeOf(parent);
    if (column != 0 || row < 0 || size_t(row) >= node->children.size()) {
        return {};
    }
    return createIndex(row, 0, node->children[size_t(row)].get());
}

QModelIndex LibraryTreeModel::parent(const QModelIndex& child) const
{
    const Node* node = nodeOf(child);
    if (!child.isValid() || node->parent == root_.get()) {
        return {};
    }
    return createIndex(node->parent->row(), 0, node->parent);
}

int LibraryTreeModel::rowCount(const QModelIndex& parent) const
{
    return parent.column() > 0 ? 0 : int(nodeOf(parent)->children.size());
}

int LibraryTreeModel::columnCount(const QModelIndex& /*parent*/) const
{
    return 1;
}

QString LibraryTreeModel::iconFile(const Node& node, bool expanded) const
{
    switch (node.level) {
    case 0:
        return FindLibraryFile(libraryPath_, expanded ? QStringLiteral("ICONS\\VendorOpen.ico")
                                                      : QStringLiteral("ICONS\\VendorClosed.ico"));
    case 1:
        return FindLibraryFile(libraryPath_, expanded ? QStringLiteral("ICONS\\ProfileOpen.ico")
                                                      : QStringLiteral("ICONS\\ProfileClosed.ico"));
    default: {
        // The device's own icon, else its profile's, else the default one.
        QString file = FindLibraryFile(libraryPath_, node.data.value(0) + QStringLiteral("ico"));
        if (file.isEmpty()) {
            file = FindLibraryFile(libraryPath_, node.data.value(1));
        }
        return file.isEmpty() ? FindLibraryFile(libraryPath_, QStringLiteral("ICONS\\Default.ico"))
                              : file;
    }
    }
}

QVariant LibraryTreeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) {
        return {};
    }
    const Node& node = *nodeOf(index);
    switch (role) {
    case Qt::DisplayRole:
        return node.text;
    case LevelRole:
        return node.level;
    case NodeDataRole:
        return node.data;
    case IconFileRole:
        return iconFile(node, false);
    case ExpandedIconFileRole:
        return node.level < 2 ? iconFile(node, true) : QVariant();
    default:
        return {};
    }
}

}  // namespace corvix
