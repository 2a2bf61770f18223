// The network and device commands on our example EDS files, run as a user runs them.
#include "library/EdsNormaliser.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct CliResult {
    int exitCode;
    QString out;
    QString err;
};

class NetworkCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The library in stored form: normalised files named by their keys.
        QDir(folder.path()).mkpath(QStringLiteral("lib/eds"));
        const struct {
            const char* file;
            const char* key;
        } files[] = {{"example_io_block.eds", "1313_7_101_1"},
                     {"Velmora_DNS100_Scanner.eds", "1313_12_100_1"}};
        for (const auto& f : files) {
            QFile in(QStringLiteral(CORVIX_SOURCE_DIR "/data/eds/") + QLatin1String(f.file));
            ASSERT_TRUE(in.open(QIODevice::ReadOnly));
            QFile out(folder.filePath(QStringLiteral("lib/eds/") + QLatin1String(f.key) +
                                      QStringLiteral(".eds")));
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(corvix::NormaliseEdsText(in.readAll()));
        }
        net = folder.filePath(QStringLiteral("plant.net"));
    }

    CliResult corvix(QStringList arguments)
    {
        arguments << QStringLiteral("--library") << folder.filePath(QStringLiteral("lib"));
        QProcess process;
        process.start(QStringLiteral(CORVIX_BIN_DIR "/corvix"), arguments);
        if (!process.waitForFinished(30000)) {
            process.kill();
            return {-1, {}, QStringLiteral("corvix did not finish")};
        }
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QByteArray bytes(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QTemporaryDir folder;
    QString net;
};

}  // namespace

TEST_F(NetworkCli, BuildEditShowAndMoveDeviceDataThroughDevFiles)
{
    const QString dev = folder.filePath(QStringLiteral("block.dev"));
    const QStringList steps[] = {
        {"network", "new", net},
        {"network", "add", net, "--mac", "12", "--key", "1313_7_101_1", "--name", "Belt"},
        {"network", "add", net, "--mac", "0", "--key", "1313_12_100_1"},
        {"network", "add", net, "--mac", "30", "--key", "1_2_3_4"},
        {"network", "set", net, "--mac", "12", "--param", "1", "1"},
        {"network", "rename", net, "--mac", "0", "Main scanner"},
        {"device", "export", net, "--mac", "12", "-o", dev},
        {"network", "move", net, "--mac", "12", "--to", "13"},
        {"network", "add", net, "--mac", "14", "--key", "1313_7_101_1"},
        {"device", "import", net, "--mac", "14", dev},
        {"network", "remove", net, "--mac", "30"},
    };
    for (const QStringList& step : steps) {
        const CliResult run = corvix(step);
        ASSERT_EQ(run.exitCode, 0) << step.join(' ').toStdString() << ": "
                                   << run.err.toStdString();
    }
    const CliResult show = corvix({"network", "show", net, "--json"});
    ASSERT_EQ(show.exitCode, 0) << show.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(show.out.toUtf8()).object();
    const QJsonArray devices = json["devices"].toArray();
    ASSERT_EQ(devices.size(), 3);
    EXPECT_EQ(devices[0]["name"].toString(), "Main scanner");
    EXPECT_TRUE(devices[0].toObject().contains("scanner"));
    EXPECT_EQ(devices[1]["macId"].toInt(), 13);
    EXPECT_EQ(devices[1]["name"].toString(), "Belt");
    // The imported device took the exported name and values.
    EXPECT_EQ(devices[2]["name"].toString(), "Belt");
    EXPECT_EQ(devices[2]["parameters"], devices[1]["parameters"]);

    // Exporting again gives the same file but for the MAC ID line.
    const QString again = folder.filePath(QStringLiteral("again.dev"));
    ASSERT_EQ(corvix({"device", "export", net, "--mac", "14", "-o", again}).exitCode, 0);
    EXPECT_EQ(bytes(again), bytes(dev).replace("\r\n12\r\n", "\r\n14\r\n"));
    const CliResult text = corvix({"network", "show", net});
    EXPECT_TRUE(text.out.contains("Example IO-88 Block")) << text.out.toStdString();
}

TEST_F(NetworkCli, BadInputFailsWithAReason)
{
    ASSERT_EQ(corvix({"network", "new", net}).exitCode, 0);
    QFile other(folder.filePath(QStringLiteral("other.dev")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("$Device Begin\r\n1\r\n9\r\n9\r\n9\r\n9\r\nx\r\n0\r\n$Device End\r\n");
    other.close();
    ASSERT_EQ(corvix({"network", "add", net, "--mac", "1", "--key", "1313_7_101_1"}).exitCode, 0);
    const struct {
        QStringList arguments;
        int exitCode;
    } cases[] = {
        {{"network", "show", folder.filePath("missing.net")}, 1},
        {{"network", "add", net, "--mac", "1", "--key", "1313_7_101_1"}, 1},
        {{"network", "add", net, "--mac", "2", "--key", "not-a-key"}, 1},
        {{"network", "add", net, "--mac", "64", "--key", "1313_7_101_1"}, 2},
        {{"network", "remove", net, "--mac", "5"}, 1},
        {{"network", "rename", net, "--mac", "1", "$Device End"}, 1},
        {{"network", "set", net, "--mac", "1", "--param", "999", "1"}, 1},
        {{"network", "move", net, "--mac", "1", "--to", "1"}, 1},
        {{"network", "frobnicate", net}, 2},
        {{"device", "import", net, "--mac", "1", other.fileName()}, 1},
        {{"device", "import", net, "--mac", "1", net}, 1},
        {{"device", "export", net, "--mac", "1"}, 2},
    };
    for (const auto& c : cases) {
        const CliResult run = corvix(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << c.arguments.join(' ').toStdString();
    }
}
