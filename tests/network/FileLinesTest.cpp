// Line splitting and joining of network and device files, and their safe writing.
#include "app/CorvixError.h"
#include "network/DeviceLayout.h"
#include "network/FileLines.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace corvix;

TEST(FileLines, EveryLineEndIsAcceptedAndCodePageBytesSurvive)
{
    const struct {
        const char* name;
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {"crlf", "a\r\nb\r\n", {"a", "b"}},
        {"lf", "a\nb\n", {"a", "b"}},
        {"cr", "a\rb\r", {"a", "b"}},
        {"mixed", "a\r\n\rb\nc", {"a", "", "b", "c"}},
        {"lf cr is two endings", "a\n\rb", {"a", "", "b"}},
        {"no final ending", "a\r\nb", {"a", "b"}},
        {"empty lines kept", "\r\n\r\n", {"", ""}},
        {"empty file", "", {}},
        {"code page 1252", "M\xFC" "ller \x80\r\n", {QStringLiteral(u"Müller €")}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitFileLines(c.bytes), c.lines) << c.name;
    }
    EXPECT_EQ(JoinFileLines({QStringLiteral(u"Müller €"), "", "x"}),
              QByteArray("M\xFC" "ller \x80\r\n\r\nx\r\n"));
}

TEST(FileLines, MarkersIgnoreCaseButNotBlanksAndNumbersAreStrict)
{
    EXPECT_TRUE(IsMarkerLine("$NETWORK END", "$NetWork End"));
    EXPECT_TRUE(IsMarkerLine("$network end", "$NetWork End"));
    EXPECT_FALSE(IsMarkerLine(" $NetWork End", "$NetWork End"));
    EXPECT_FALSE(IsMarkerLine("$NetWork End ", "$NetWork End"));

    const struct {
        QString line;
        std::optional<int> value;
    } numbers[] = {{"0", 0},     {"63", 63},      {"64", std::nullopt}, {"", std::nullopt},
                   {"-1", std::nullopt}, {"+1", std::nullopt}, {" 1", std::nullopt},
                   {"1a", std::nullopt}, {"99999999999", std::nullopt}, {"0x10", std::nullopt}};
    for (const auto& n : numbers) {
        EXPECT_EQ(ParseDecimalLine(n.line, 63), n.value) << n.line.toStdString();
    }
}

TEST(FileLines, WriteReplacesAWholeFileOrLeavesTheOldOne)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("net.net");
    WriteLinesToFile(path, {"old"});
    WriteLinesToFile(path, {"new", "lines"});
    EXPECT_EQ(ReadLinesFromFile(path), QStringList({"new", "lines"}));

    // The write fails part-way (the file size limit stops it after a few bytes): the old file
    // must stay as it was, and no temporary file may be left behind.
    const QStringList big(2000, QStringLiteral("a line of the new network file"));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(WriteLinesToFile(path, big), FileError);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(ReadLinesFromFile(path), QStringList({"new", "lines"}));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({"net.net"}));

    // A name that cannot be created.
    EXPECT_THROW(WriteLinesToFile(folder.filePath("no/such/folder/x.net"), {"x"}), FileError);
    EXPECT_THROW(ReadLinesFromFile(folder.filePath("missing.net")), FileError);
}

TEST(FileLines, HugeFilesAreRefusedBeforeReading)
{
    QTemporaryDir folder;
    QFile file(folder.filePath("huge.net"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(MaxLineFileSize + 1));  // sparse, costs no disk
    file.close();
    EXPECT_THROW(ReadLinesFromFile(file.fileName()), FileError);
}

TEST(DeviceLayout, RowsSnakeLeftToRightThenRightToLeft)
{
    const struct {
        const char* name;
        int count, listWidth, columnWidth, columnsPerRow;
        QList<QPoint> positions;
    } cases[] = {
        {"three on one row", 3, 50 + 3 * 100, 100, 3, {{75, 50}, {175, 50}, {275, 50}}},
        {"seven in three rows",
         7,
         50 + 3 * 100,
         100,
         3,
         {{75, 50}, {175, 50}, {275, 50}, {275, 200}, {175, 200}, {75, 200}, {75, 350}}},
        {"second pair starts left to right again",
         5,
         50 + 2 * 10,
         10,
         2,
         {{75, 50}, {85, 50}, {85, 200}, {75, 200}, {75, 350}}},
        {"narrower than one column still gives one", 2, 10, 100, 1, {{75, 50}, {75, 200}}},
        {"no font width", 2, 500, 0, 1, {{75, 50}, {75, 200}}},
        {"no devices", 0, 500, 100, 4, {}},
    };
    for (const auto& c : cases) {
        const DeviceLayout layout = ArrangeDevices(c.count, c.listWidth, c.columnWidth);
        EXPECT_EQ(layout.columnsPerRow, c.columnsPerRow) << c.name;
        EXPECT_EQ(layout.positions, c.positions) << c.name;
    }
}
