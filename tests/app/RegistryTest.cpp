#include "app/Registry.h"

#include <QSettings>

#include <gtest/gtest.h>

using namespace corvix;

// The test main points the settings at a private temporary folder, so these never touch the
// user's settings.
class Registry : public ::testing::Test {
protected:
    void SetUp() override { OpenSettings()->clear(); }
};

TEST_F(Registry, MissingValuesGiveTheDefaults)
{
    EXPECT_FALSE(RegValueExists("Nothing"));
    EXPECT_FALSE(ReadRegBool("Nothing"));
    EXPECT_EQ(ReadRegInteger("Nothing", 42), 42);
    QString text = "unchanged";
    ReadRegString("Nothing", text);
    EXPECT_EQ(text, "unchanged");
}

TEST_F(Registry, WrittenValuesReadBack)
{
    WriteRegString("ExecPath", "C:\\Program Files\\Velmora");
    WriteRegBool("ViewHardWare", true);
    WriteRegInteger("BaudRate", -7);
    QString text;
    ReadRegString("ExecPath", text);
    EXPECT_EQ(text, "C:\\Program Files\\Velmora");
    EXPECT_TRUE(ReadRegBool("ViewHardWare"));
    EXPECT_EQ(ReadRegInteger("BaudRate", 0), -7);
    EXPECT_TRUE(RegValueExists("BaudRate"));
}

TEST_F(Registry, ANonNumberStoredUnderAnIntegerNameGivesTheDefault)
{
    WriteRegString("Port", "COM1");
    EXPECT_EQ(ReadRegInteger("Port", 3), 3);
}
