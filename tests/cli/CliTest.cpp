// The corvix command line as a user runs it: exit codes, standard output and standard error.
#include "CliRun.h"

#include <gtest/gtest.h>

using corvix::test::CliRun;

TEST(Cli, StatusTextTakesDecimalAndHexCodes)
{
    const struct {
        QStringList arguments;
        QString out;
    } cases[] = {
        {{"status-text", "0x14"},
         "Attribute not supported: The attribute specified in the request is not supported\n"},
        {{"status-text", "20"},
         "Attribute not supported: The attribute specified in the request is not supported\n"},
        {{"status-text", "0X5B"}, "Bus Off detected on port.\n"},
        {{"status-text", "1"}, "Unknown Error\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = corvix::test::RunCorvix(c.arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, c.out);
    }
}

TEST(Cli, UsageErrorsExitWithTwoAndExplainOnStandardError)
{
    const QStringList cases[] = {
        {},
        {"no-such-command"},
        {"status-text"},
        {"status-text", "12", "13"},
        {"status-text", "twelve"},
        {"status-text", "0x"},
        {"status-text", "-1"},
        {"status-text", "--bogus", "1"},
    };
    for (const QStringList& arguments : cases) {
        const CliRun run = corvix::test::RunCorvix(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << arguments.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << arguments.join(' ').toStdString();
    }
}

TEST(Cli, HelpOnEveryLevelAndVersion)
{
    const CliRun top = corvix::test::RunCorvix({"--help"});
    EXPECT_EQ(top.exitCode, 0);
    EXPECT_TRUE(top.out.contains("status-text"));
    const CliRun command = corvix::test::RunCorvix({"status-text", "--help"});
    EXPECT_EQ(command.exitCode, 0);
    EXPECT_TRUE(command.out.contains("CODE"));
    const CliRun version = corvix::test::RunCorvix({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.contains("3.5.1.3"));
}
