#include "LibraryTestSupport.h"

#include "library/LibraryTreeModel.h"

#include <QFileInfo>

namespace corvix::test {

namespace {

// The tree as indented lines: "vendor", "  profile", "    device | data texts".
QStringList Dump(const LibraryTreeModel& model, const QModelIndex& parent = {}, int depth = 0)
{
    QStringList lines;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex node = model.index(row, 0, parent);
        QString line = QString(depth * 2, u' ') + node.data().toString();
        const QStringList data = node.data(LibraryTreeModel::NodeDataRole).toStringList();
        if (!data.isEmpty()) {
            line += " | " + data.join(" | ");
        }
        lines << line << Dump(model, node, depth + 1);
    }
    return lines;
}

const QByteArrayList vendors = {"Vendor Ten", "Vendor One\t", "10", "1"};
const QByteArrayList profiles = {"Generic", "Reserved", "Reserved", "Reserved", "Reserved",
                                 "Reserved", "Reserved", "Discrete I/O"};

TEST(LibraryTree, GroupsConsecutiveLinesByVendorAndProfile)
{
    LibraryTreeModel model;
    model.Build("/lib/",
                {"eds\\1_7_2_1.eds Block B Rev: 1.1", "eds\\1_7_3_1.eds block a Rev: 1.2",
                 "eds\\1_100_4_1.eds Odd Rev: 2.0", "eds\\10_0_1_1.eds Ten Rev: 1.0",
                 "eds\\77_7_1_3.eds Stranger Rev: 3.1", "eds\\1_7_9_1.eds Late Rev: 1.0"},
                vendors, profiles);
    EXPECT_EQ(Dump(model), (QStringList{
                               LibraryTreeModel::unknownVendorText,
                               "  Discrete I/O",
                               "    Stranger Rev: 3.1 | eds\\77_7_1_3. | ICONS\\Profile7.ICO",
                               "Vendor One",
                               "  Discrete I/O",
                               "    block a Rev: 1.2 | eds\\1_7_3_1. | ICONS\\Profile7.ICO",
                               "    Block B Rev: 1.1 | eds\\1_7_2_1. | ICONS\\Profile7.ICO",
                               "  Vendor Specific (100)",
                               "    Odd Rev: 2.0 | eds\\1_100_4_1. | ICONS\\Profile100.ICO",
                               // Not next to its vendor's other lines: a group of its own.
                               "Vendor One",
                               "  Discrete I/O",
                               "    Late Rev: 1.0 | eds\\1_7_9_1. | ICONS\\Profile7.ICO",
                               "Vendor Ten",
                               "  Generic",
                               "    Ten Rev: 1.0 | eds\\10_0_1_1. | ICONS\\Profile0.ICO",
                           }));
    EXPECT_TRUE(model.Messages().isEmpty());
    const QModelIndex vendor = model.index(1, 0);
    EXPECT_EQ(vendor.data(LibraryTreeModel::LevelRole).toInt(), 0);
    EXPECT_EQ(model.index(0, 0, model.index(0, 0, vendor)).data(LibraryTreeModel::LevelRole), 2);
    EXPECT_EQ(model.parent(model.index(0, 0, vendor)), vendor);
}

TEST(LibraryTree, HandWrittenIndexLinesAreSkippedWithAMessage)
{
    LibraryTreeModel model;
    model.Build("/lib/",
                {"eds\\my device.eds Copied Rev: 1.0", "eds\\1_x_2_1.eds Letters Rev: 1.0", "",
                 "eds\\1_7_2_1.eds", "nothing at all", "eds\\1_7_2_1.eds Kept Rev: 1.0",
                 "eds\\99999999999_7_2_1.eds Huge Rev: 1.0"},
                vendors, profiles);
    EXPECT_EQ(Dump(model), (QStringList{"Vendor One", "  Discrete I/O",
                                        "    Kept Rev: 1.0 | eds\\1_7_2_1. | ICONS\\Profile7.ICO"}));
    ASSERT_EQ(model.Messages().size(), 6);
    EXPECT_TRUE(model.Messages().first().startsWith("Library.inf line 1 skipped"));
    EXPECT_TRUE(model.Messages().first().endsWith("eds\\my device.eds Copied Rev: 1.0"));
}

TEST(LibraryTree, DamagedNameListsNeverStopTheTree)
{
    const struct {
        const char* name;
        QByteArrayList vendorLines, profileLines;
        QString vendor, profile;
    } cases[] = {
        {"empty", {}, {}, LibraryTreeModel::unknownVendorText, "Vendor Specific (7)"},
        {"truncated vendors", {"Vendor Ten", "Vendor One", "10"}, profiles,
         LibraryTreeModel::unknownVendorText, "Discrete I/O"},
        {"odd line count keeps the halves", {"Vendor One", "1", "stray"}, {"a", "b"},
         "Vendor One", "Vendor Specific (7)"},
        {"a name that looks like a code", {"1", "Hand Made", "5", "1"}, profiles, "Hand Made",
         "Discrete I/O"},
        {"empty name lines", {"", "", "1", "7"}, profiles, "", "Discrete I/O"},
        {"code with blank is no match", {"Vendor One", "1 "}, profiles,
         LibraryTreeModel::unknownVendorText, "Discrete I/O"},
    };
    for (const auto& c : cases) {
        LibraryTreeModel model;
        model.Build("/lib/", {"eds\\1_7_2_1.eds D Rev: 1.0"}, c.vendorLines, c.profileLines);
        EXPECT_EQ(Dump(model), (QStringList{c.vendor, "  " + c.profile,
                                            "    D Rev: 1.0 | eds\\1_7_2_1. | ICONS\\Profile7.ICO"}))
            << c.name;
    }
}

using FillTest = LibraryTest;

TEST_F(FillTest, AMissingIndexIsRebuiltAndMissingNameListsAreCreatedEmpty)
{
    ASSERT_TRUE(library->InstallEdsFile(source("d.eds", MiniEds("1", "7", "2", "1", "4", "Dev"))));
    LibraryTreeModel model;
    library->FillLibraryTree(model);
    EXPECT_EQ(Dump(model), (QStringList{LibraryTreeModel::unknownVendorText,
                                        "  Vendor Specific (7)",
                                        "    Dev Rev: 1.4 | eds\\1_7_2_1. | ICONS\\Profile7.ICO"}));
    EXPECT_TRUE(QFileInfo::exists(libraryFile("Library.inf")));
    EXPECT_EQ(read(libraryFile("Vendown.inf")), "");
    EXPECT_EQ(read(libraryFile("Profiles.inf")), "");
}

TEST_F(FillTest, DeviceIconIsItsOwnThenItsProfilesThenTheDefault)
{
    QDir(libraryFile("")).mkpath("ICONS");
    QDir(libraryFile("")).mkpath("eds");
    for (const char* name : {"ICONS/profile7.ico", "ICONS/Default.ico", "eds/1_7_2_1.ico"}) {
        QFile file(libraryFile(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    LibraryTreeModel model;
    model.Build(library->LibraryPath(),
                {"eds\\1_7_2_1.eds A Rev: 1.0", "eds\\1_7_3_1.eds B Rev: 1.0",
                 "eds\\1_9_3_1.eds C Rev: 1.0"},
                {}, {});
    const QModelIndex vendor = model.index(0, 0);
    const auto icon = [&](int profile, int row) {
        return model.index(row, 0, model.index(profile, 0, vendor))
            .data(LibraryTreeModel::IconFileRole)
            .toString();
    };
    EXPECT_EQ(icon(0, 0), libraryFile("eds/1_7_2_1.ico"));
    EXPECT_EQ(icon(0, 1), libraryFile("ICONS/profile7.ico"));
    EXPECT_EQ(icon(1, 0), libraryFile("ICONS/Default.ico"));
    EXPECT_EQ(vendor.data(LibraryTreeModel::IconFileRole).toString(), "");
}

}  // namespace

}  // namespace corvix::test
