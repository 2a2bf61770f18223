#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/SharedLibrary.h"
#include "app/ToolHost.h"

namespace corvix {
namespace {

// Builds a Tools folder from the test tool libraries: the file names fix the order in which the
// host finds them (sorted by name, subfolders after the folder's own files).
class ToolHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        qputenv("CORVIX_TEST_TOOL_LOG", log().toLocal8Bit());
    }
    void TearDown() override { qunsetenv("CORVIX_TEST_TOOL_LOG"); }

    void Place(const QString& variant, const QString& name)
    {
        const QString built = QStringLiteral(CORVIX_TEST_DRIVER_DIR "/../tools/") + variant +
                              SharedLibrary::fileMask().mid(1);
        const QString target = tools().filePath(name + SharedLibrary::fileMask().mid(1));
        QDir().mkpath(QFileInfo(target).path());
        ASSERT_TRUE(QFile::copy(built, target)) << qPrintable(built);
    }
    void PlaceGarbage(const QString& name)
    {
        QFile file(tools().filePath(name + SharedLibrary::fileMask().mid(1)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a library");
    }
    QDir tools() const { return QDir(folder.filePath(QStringLiteral("Tools"))); }
    QString log() const { return folder.filePath(QStringLiteral("runs.txt")); }
    QStringList Runs() const
    {
        QFile file(log());
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QTemporaryDir folder;
};

TEST_F(ToolHostTest, CaptionsOfToolsInFileOrderSkippingNonTools)
{
    Place(QStringLiteral("alpha"), QStringLiteral("1_alpha"));
    PlaceGarbage(QStringLiteral("2_broken"));
    Place(QStringLiteral("plain"), QStringLiteral("3_plain"));
    Place(QStringLiteral("beta"), QStringLiteral("4_beta"));
    Place(QStringLiteral("norun"), QStringLiteral("sub/0_norun"));

    EXPECT_EQ(FindTools(tools().path()),
              (QStringList{QStringLiteral("Node Setup"), QStringLiteral("Node Setup"),
                           QStringLiteral("Inspector")}));
}

TEST_F(ToolHostTest, EmptyOrMissingFolderHasNoTools)
{
    EXPECT_TRUE(FindTools(tools().path()).isEmpty());
    QDir().mkpath(tools().path());
    EXPECT_TRUE(FindTools(tools().path()).isEmpty());
}

TEST_F(ToolHostTest, RunsEveryToolOfTheCaptionWithTheBinding)
{
    Place(QStringLiteral("alpha"), QStringLiteral("1_alpha"));
    Place(QStringLiteral("plain"), QStringLiteral("2_plain"));
    Place(QStringLiteral("beta"), QStringLiteral("3_beta"));
    Place(QStringLiteral("norun"), QStringLiteral("4_norun"));
    int module = 0;
    const QString moduleText = QString::asprintf("%p", static_cast<void*>(&module));

    const ToolTarget target{true, 63, 7, &module};
    EXPECT_EQ(RunTool(tools().path(), QStringLiteral("Node Setup"), target), 2);
    EXPECT_EQ(Runs(),
              (QStringList{QStringLiteral("alpha 7 ") + moduleText + QStringLiteral(" 63"),
                           QStringLiteral("beta 7 ") + moduleText + QStringLiteral(" 63")}));
    // A tool without Run, or an unknown caption, runs nothing.
    EXPECT_EQ(RunTool(tools().path(), QStringLiteral("Inspector"), target), 0);
    EXPECT_EQ(RunTool(tools().path(), QStringLiteral("node setup"), target), 0);
    EXPECT_EQ(Runs().size(), 2);
}

TEST_F(ToolHostTest, NothingRunsOfflineOrWithoutASelectedNode)
{
    Place(QStringLiteral("alpha"), QStringLiteral("1_alpha"));
    const struct {
        const char* name;
        ToolTarget target;
    } cases[] = {
        {"offline", {false, 5, 7, nullptr}},
        {"no selection", {true, -1, 7, nullptr}},
        {"MAC ID out of range", {true, 64, 7, nullptr}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RunTool(tools().path(), QStringLiteral("Node Setup"), c.target), 0);
    }
    EXPECT_TRUE(Runs().isEmpty());
}

}  // namespace
}  // namespace corvix
