#include <gtest/gtest.h>

#include "device/ClassInstanceFields.h"

namespace corvix {
namespace {

TEST(ClassInstanceFields, NumberFieldsReadDecimalOrHexadecimal)
{
    const struct {
        const char* text;
        std::optional<int64_t> value;
    } cases[] = {
        {"15", 15},
        {"0x0F", 15},
        {"0x0e", 14},
        {"0XFF", 255},
        {" 0x100 ", 256},
        {"-1", -1},
        {"0", 0},
        {"65536", 65536},
        {"99999999999999999999999", NumberFieldLimit},  // far out of range stays out of range
        {"0xFFFFFFFFFFFFFFFFFFFF", NumberFieldLimit},
        {"", std::nullopt},
        {"0x", std::nullopt},
        {"0x1G", std::nullopt},
        {"1F", std::nullopt},  // hexadecimal needs its prefix
        {"1 2", std::nullopt},
        {"- 1", std::nullopt},
        {"+1", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadNumberField(QString::fromLatin1(c.text)), c.value) << c.text;
    }
    EXPECT_EQ(ReadNumberField(QStringLiteral("\u0661\u0662")), std::nullopt);  // digits, not 0-9
}

TEST(ClassInstanceFields, SpinStepsKeepTheFormAndTheRange)
{
    const struct {
        const char* text;
        int steps;
        std::optional<QString> stepped;
    } cases[] = {
        {"0xFF", 1, "0x100"},
        {"0x01", -1, "0x00"},
        {"0x0e", 1, "0x0F"},  // written anew in upper case
        {"0x0", 1, "0x01"},   // at least two digits
        {"0xFFFE", 1, "0xFFFF"},
        {"0xFFFF", 1, std::nullopt},
        {"65535", 1, std::nullopt},
        {"70000", 1, std::nullopt},
        {"70000", -1, "69999"},
        {"0", -1, std::nullopt},
        {"0x00", -1, std::nullopt},
        {"-3", 1, "-2"},
        {"9", 1, "10"},  // decimal stays decimal
        {"255", 1, "256"},
        {"65530", 10, "65535"},  // a page step stops at the end of the range
        {"5", -10, "0"},
        {"abc", 1, std::nullopt},
        {"", -1, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StepNumberField(QString::fromLatin1(c.text), c.steps), c.stepped)
            << c.text << " by " << c.steps;
    }
}

TEST(ClassInstanceFields, ClassEntriesNameTheirClassFirst)
{
    const QStringList& entries = ClassInstanceClassEntries();
    ASSERT_EQ(entries.size(), 39);
    EXPECT_EQ(entries.first(), QStringLiteral("01 Identity"));
    EXPECT_EQ(entries.last(), QStringLiteral("35 Trip Point Object"));
    // A sorted list keeps this order, so entry 0 is the class the class field starts with.
    QStringList sorted = entries;
    sorted.sort();
    EXPECT_EQ(sorted, entries);
    for (const QString& entry : entries) {
        const std::optional<int64_t> classId = ReadNumberField(ClassTextOfEntry(entry));
        ASSERT_TRUE(classId) << entry.toStdString();
        EXPECT_EQ(entry.left(3),
                  QStringLiteral("%1 ").arg(*classId, 2, 16, QLatin1Char('0')).toUpper());
    }
    EXPECT_EQ(ClassTextOfEntry(QStringLiteral("0F Parameter")), QStringLiteral("0x0F"));
}

}  // namespace
}  // namespace corvix
