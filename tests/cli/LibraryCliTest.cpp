// corvix library as a user runs it, on a library folder of the test's own.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct LibraryRun {
    int exitCode;
    QByteArray out;
    QString err;
};

LibraryRun corvixLibrary(const QString& library, const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(CORVIX_BIN_DIR "/corvix"),
                  QStringList{"library", "--library", library} + arguments);
    if (!process.waitForFinished(30000)) {
        process.kill();
        return {-1, {}, QStringLiteral("corvix did not finish")};
    }
    return {process.exitCode(), process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

const QString example = QStringLiteral(CORVIX_SOURCE_DIR "/data/eds/example_io_block.eds");

TEST(LibraryCli, InstallListTreeAndRemoveWithJson)
{
    QTemporaryDir dir;
    const QString library = dir.filePath("lib");
    const LibraryRun installed = corvixLibrary(library, {"install", example, "--json"});
    EXPECT_EQ(installed.exitCode, 0) << installed.err.toStdString();
    const QJsonObject report = QJsonDocument::fromJson(installed.out).object();
    EXPECT_EQ(report["installed"].toInt(), 1);
    EXPECT_EQ(report["log"].toArray().first().toString(), "Successfully installed: " + example);

    // The same identity again: kept without --yes, replaced with it.
    const LibraryRun kept = corvixLibrary(library, {"install", example});
    EXPECT_EQ(kept.exitCode, 1);
    EXPECT_EQ(kept.out, ("Failed to install: " + example + "\n").toUtf8());
    EXPECT_EQ(corvixLibrary(library, {"install", "--yes", example}).exitCode, 0);

    const QJsonArray list =
        QJsonDocument::fromJson(corvixLibrary(library, {"list", "--json"}).out).array();
    ASSERT_EQ(list.size(), 1);
    const QString file = list.first().toObject()["file"].toString();
    EXPECT_TRUE(file.startsWith("eds\\1313_")) << file.toStdString();

    const LibraryRun tree = corvixLibrary(library, {"tree"});
    EXPECT_EQ(tree.exitCode, 0);
    EXPECT_TRUE(tree.out.startsWith("Velmora Example Devices\n")) << tree.out.toStdString();

    const QString key = file.mid(4).chopped(4);
    EXPECT_EQ(corvixLibrary(library, {"remove", key}).exitCode, 0);
    EXPECT_EQ(corvixLibrary(library, {"remove", key}).exitCode, 1);
    EXPECT_TRUE(corvixLibrary(library, {"list"}).out.isEmpty());
}

TEST(LibraryCli, UsageErrors)
{
    QTemporaryDir dir;
    const QStringList cases[] = {
        {}, {"install"}, {"list", "x"}, {"remove"}, {"remove", "../x"}, {"remove", "1_2_3"},
        {"install", "a.eds", "--yes", "--no"}, {"frobnicate"},
    };
    for (const QStringList& arguments : cases) {
        const LibraryRun run = corvixLibrary(dir.filePath("lib"), arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << arguments.join(' ').toStdString();
    }
}

}  // namespace
