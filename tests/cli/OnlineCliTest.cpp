// "corvix online" as a user runs it, against the simulator running as its own program.
#include "CliRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using corvix::test::CliRun;
using corvix::test::RunCorvix;

namespace {

// corvix-sim with the demo network behind a simulated adapter on a pseudo-terminal. Its
// standard input stays open: the simulator ends when it closes.
class SimulatorProcess {
public:
    SimulatorProcess()
    {
        process.start(
            QStringLiteral(CORVIX_BIN_DIR "/corvix-sim"),
            {QStringLiteral("--network"), QStringLiteral(CORVIX_SOURCE_DIR "/data/sim/demo.json"),
             QStringLiteral("--serial")});
        if (process.waitForReadyRead(10000)) {
            // "serial /dev/pts/N"
            terminal = QString::fromLocal8Bit(process.readLine()).trimmed().section(u' ', 1, 1);
        }
    }
    ~SimulatorProcess()
    {
        process.closeWriteChannel();
        if (!process.waitForFinished(3000)) {
            process.kill();
            process.waitForFinished(3000);
        }
    }
    QStringList driverOptions() const
    {
        return {QStringLiteral("online"),
                QStringLiteral("--driver"),
                QStringLiteral("SerialAdapterDriver"),
                QStringLiteral("--settings"),
                terminal + QStringLiteral(",63,2"),
                QStringLiteral("--timeout"),
                QStringLiteral("3000")};
    }

    QProcess process;
    QString terminal;
};

TEST(OnlineCli, ArgumentsAreCheckedBeforeAnythingIsSent)
{
    const QStringList serial = {QStringLiteral("--driver"), QStringLiteral("SerialAdapterDriver"),
                                QStringLiteral("--settings"), QStringLiteral("/nonexistent,63,2")};
    const struct {
        QStringList arguments;
        int exitCode;
        const char* error;
    } cases[] = {
        {{}, 2, "online needs a COMMAND"},
        {{QStringLiteral("jump")}, 2, "Unknown online command"},
        {{QStringLiteral("browse")}, 2, "Give --network FILE.net"},
        {{QStringLiteral("--driver"), QStringLiteral("NoSuchDriver"), QStringLiteral("browse")},
         2,
         "No driver 'NoSuchDriver' found."},
        {serial + QStringList{QStringLiteral("request"), QStringLiteral("64"),
                              QStringLiteral("0x0E"), QStringLiteral("20 01 24 01")},
         2, "'64' is not a MAC ID"},
        {serial + QStringList{QStringLiteral("request"), QStringLiteral("1"),
                              QStringLiteral("0x0E"), QStringLiteral("20 01 zz")},
         2, "Invalid request path"},
        {serial + QStringList{QStringLiteral("request"), QStringLiteral("1"),
                              QStringLiteral("0x0E"), QStringLiteral("20 01 24 01"),
                              QStringLiteral("GG")},
         2, ""},
        {serial + QStringList{QStringLiteral("set-mac"), QStringLiteral("1")}, 2,
         "Wrong number of arguments"},
        {serial + QStringList{QStringLiteral("param"), QStringLiteral("read")}, 2,
         "Wrong arguments"},
        {serial + QStringList{QStringLiteral("--timeout"), QStringLiteral("0"),
                              QStringLiteral("browse")},
         2, "--timeout"},
        // A port that cannot be opened: the driver says so, and the command ends.
        {serial + QStringList{QStringLiteral("browse")}, 1, "The network did not come online."},
    };
    for (const auto& c : cases) {
        const CliRun run = RunCorvix(QStringList{QStringLiteral("online")} + c.arguments);
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromLatin1(c.error))) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    for (const char* level : {"", "browse", "request", "param", "set-mac"}) {
        QStringList arguments = {QStringLiteral("online")};
        if (*level) arguments << serial << QString::fromLatin1(level);
        const CliRun run = RunCorvix(arguments + QStringList{QStringLiteral("--help")});
        EXPECT_EQ(run.exitCode, 0) << level;
        EXPECT_TRUE(run.out.startsWith(QStringLiteral("Usage:"))) << level;
    }
}

TEST(OnlineCli, BrowseRequestAndMacIdChangeOnTheSimulator)
{
    SimulatorProcess simulator;
    ASSERT_FALSE(simulator.terminal.isEmpty());
    const QStringList online = simulator.driverOptions();

    CliRun run =
        RunCorvix(online + QStringList{QStringLiteral("browse"), QStringLiteral("--json")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonArray records = QJsonDocument::fromJson(run.outBytes).array();
    ASSERT_EQ(records.size(), 64);
    EXPECT_TRUE(records[5].toObject()[QStringLiteral("present")].toBool());
    EXPECT_EQ(records[5].toObject()[QStringLiteral("vendorId")].toInt(), 1313);
    EXPECT_FALSE(records[6].toObject()[QStringLiteral("present")].toBool());

    run = RunCorvix(online + QStringList{QStringLiteral("request"), QStringLiteral("5"),
                                         QStringLiteral("0x0E"),
                                         QStringLiteral("20 01 24 01 30 01")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("Transfer status: 1 (Success)\nReply service: 0x8E\n"
                                      "Data: 21 05\n"));

    run = RunCorvix(online + QStringList{QStringLiteral("request"), QStringLiteral("5"),
                                         QStringLiteral("0x0E"),
                                         QStringLiteral("20 01 24 01 30 63")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.contains(QStringLiteral("Reply service: 0x94\nData: 14")));
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("Attribute not supported")));

    run = RunCorvix(
        online + QStringList{QStringLiteral("set-mac"), QStringLiteral("9"), QStringLiteral("20")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    run = RunCorvix(online + QStringList{QStringLiteral("browse"), QStringLiteral("--json")});
    const QJsonArray after = QJsonDocument::fromJson(run.outBytes).array();
    ASSERT_EQ(after.size(), 64);
    EXPECT_FALSE(after[9].toObject()[QStringLiteral("present")].toBool());
    EXPECT_TRUE(after[20].toObject()[QStringLiteral("present")].toBool());
}

}  // namespace
