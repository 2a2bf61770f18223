#include "LibraryTestSupport.h"

#include "app/CorvixError.h"
#include "library/LibraryIndex.h"

#include <QFileInfo>

namespace corvix::test {

namespace {

using RebuildTest = LibraryTest;

TEST_F(RebuildTest, WritesOneSortedLinePerFileWithCrLf)
{
    for (const auto& [code, name] : {std::pair<QByteArray, QByteArray>{"3", "zeta"},
                                     {"1", "Alpha"}}) {
        ASSERT_TRUE(library->InstallEdsFile(
            source("d.eds", MiniEds("10", "12", code, "1", "3", name))));
    }
    ASSERT_TRUE(library->InstallEdsFile(source("e.eds", MiniEds("1", "7", "2", "0x02", "0"))));
    // A file copied in by hand keeps its name; the index holds it in lower case.
    QDir(libraryFile("eds")).mkdir("Sub");
    QFile::copy(libraryFile("eds/1_7_2_2.eds"), libraryFile("eds/Sub/Hand.EDS"));

    int rebuilt = 0;
    QObject::connect(library.get(), &TFieldbusLibAbstract::LibraryRebuilt, [&] { ++rebuilt; });
    library->RebuildLibrary();
    EXPECT_EQ(rebuilt, 1);
    EXPECT_EQ(read(libraryFile("Library.inf")),
              "eds\\1_7_2_2.eds Test Device Rev: 2.0\r\n"
              "eds\\10_12_1_1.eds Alpha Rev: 1.3\r\n"
              "eds\\10_12_3_1.eds zeta Rev: 1.3\r\n"
              "eds\\sub\\hand.eds Test Device Rev: 2.0\r\n");
}

TEST_F(RebuildTest, ABadRevisionStopsTheRebuildAndKeepsTheOldIndex)
{
    ASSERT_TRUE(library->InstallEdsFile(source("d.eds", MiniEds("1", "7", "2", "1"))));
    library->RebuildLibrary();
    const QByteArray before = read(libraryFile("Library.inf"));
    QFile broken(libraryFile("eds/1_7_3_1.eds"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("ProdName=\"x\";\r\nMajRev=1;\r\nMinRev=one;\r\n");
    broken.close();
    try {
        library->RebuildLibrary();
        ADD_FAILURE() << "no error";
    } catch (const ConversionError& error) {
        EXPECT_EQ(error.message(), "eds/1_7_3_1.eds: 'one' is not a valid integer value");
    }
    EXPECT_EQ(read(libraryFile("Library.inf")), before);
}

TEST(LibraryIndexLines, SplitLikeTheIndexFilesAreRead)
{
    EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd"), (QByteArrayList{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitTextLines("a\r\n\r\n"), (QByteArrayList{"a", ""}));
    EXPECT_TRUE(SplitTextLines("").isEmpty());
}

using RemoveTest = LibraryTest;

TEST_F(RemoveTest, DeletesFileAndIconOfTheNodeAndNothingOutsideTheLibrary)
{
    source("d.ico", "icon");
    ASSERT_TRUE(library->InstallEdsFile(source("d.eds", MiniEds("1", "7", "2", "1"))));
    const QString outside = source("x.eds", "keep");

    EXPECT_FALSE(library->RemoveLibraryDevice({"eds\\..\\..\\src\\x.", "ICONS\\Profile7.ICO"}));
    EXPECT_FALSE(library->RemoveLibraryDevice({"Library.", ""}));
    EXPECT_TRUE(QFileInfo::exists(outside));

    EXPECT_TRUE(library->RemoveLibraryDevice({"eds\\1_7_2_1.", "ICONS\\Profile7.ICO"}));
    EXPECT_FALSE(QFileInfo::exists(libraryFile("eds/1_7_2_1.eds")));
    EXPECT_FALSE(QFileInfo::exists(libraryFile("eds/1_7_2_1.ico")));
    EXPECT_FALSE(library->RemoveLibraryDevice({"eds\\1_7_2_1.", "ICONS\\Profile7.ICO"}));
}

}  // namespace

}  // namespace corvix::test
