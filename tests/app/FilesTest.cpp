#include "app/CorvixError.h"
#include "app/Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace corvix;

namespace {

void touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

}  // namespace

TEST(FindFiles, FolderFirstThenSubfoldersRecursivelyIgnoringCase)
{
    QTemporaryDir root;
    const QString base = root.path();
    for (const char* name : {"b.so", "A.SO", "notes.txt", "sub/c.so", "sub/deeper/d.so",
                             "another/e.so", ".hidden.so"}) {
        touch(base + "/" + name);
    }
    const QStringList found = FindFiles(base + "/*.so", faReadOnly | faSysFile | faArchive);
    const QStringList expected = {base + "/A.SO", base + "/b.so", base + "/another/e.so",
                                  base + "/sub/c.so", base + "/sub/deeper/d.so"};
    EXPECT_EQ(found, expected);
    EXPECT_TRUE(FindFiles(base + "/*.so", faAnyFile).contains(base + "/.hidden.so"));
    EXPECT_TRUE(FindFiles(base + "/missing/*.so", faAnyFile).isEmpty());
    // Backslash separators, as stored texts carry them, find the same files.
    EXPECT_EQ(FindFiles(QString(base + "/sub/*.so").replace('/', '\\'), faAnyFile).size(), 2);
}

TEST(ForceFolder, CreatesParentsAndAcceptsExistingFolders)
{
    QTemporaryDir root;
    const QString deep = root.path() + "/a/b/c\\";
    EXPECT_TRUE(ForceFolder(deep));
    EXPECT_TRUE(QFileInfo(root.path() + "/a/b/c").isDir());
    EXPECT_TRUE(ForceFolder(root.path()));
    EXPECT_TRUE(ForceFolder("/"));
}

TEST(ForceFolder, FailsWhereAFileBlocksTheWay)
{
    QTemporaryDir root;
    touch(root.path() + "/file");
    EXPECT_FALSE(ForceFolder(root.path() + "/file/sub"));
}

TEST(ForceFolder, EmptyPathRaises)
{
    try {
        ForceFolder("");
        FAIL() << "no error raised";
    } catch (const FileError& error) {
        EXPECT_EQ(error.message(), "A directory could not be created as needed!");
    }
}
