#include <gtest/gtest.h>

#include "device/ClassInstanceHexText.h"

namespace corvix {

void PrintTo(const HexDataEdit& edit, std::ostream* out)
{
    *out << '"' << edit.text.toStdString() << "\" caret " << edit.caret;
}

namespace {

// Types every character of keys at the caret, one after the other; refused keys change nothing.
HexDataEdit TypeAll(HexDataEdit edit, const QString& keys)
{
    for (const QChar key : keys) {
        if (const auto typed = TypeHexDigit(edit.text, edit.caret, key)) {
            edit = *typed;
        }
    }
    return edit;
}

TEST(ClassInstanceHexText, TypingSpacesThePairs)
{
    const struct {
        const char* name;
        HexDataEdit before;
        const char* keys;
        HexDataEdit after;
    } cases[] = {
        {"pairs", {"", 0}, "0102AB", {"01 02 AB", 8}},
        {"lower case turned upper", {"", 0}, "0a1b", {"0A 1B", 5}},
        {"other keys refused", {"", 0}, "0 g-x\t1", {"01", 2}},
        {"after a blank no second blank", {"01 ", 3}, "2", {"01 2", 4}},
        {"a single digit waits for its pair", {"01 0", 4}, "2F", {"01 02 F", 7}},
        {"in the middle", {"01 02", 2}, "F", {"01 F 02", 4}},
        {"at the start", {"01", 0}, "F", {"F01", 1}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TypeAll(c.before, QString::fromLatin1(c.keys)), c.after) << c.name;
    }
    EXPECT_FALSE(TypeHexDigit(QStringLiteral("01"), 2, u' '));
    EXPECT_FALSE(TypeHexDigit(QString(), 0, QChar(0x0661)));  // a digit, but not 0-9
}

TEST(ClassInstanceHexText, PastedTextIsTypedDigitByDigit)
{
    EXPECT_EQ(PasteHexDigits(QString(), 0, QStringLiteral("01 02 ab\r\n0x1f;")),
              (HexDataEdit{"01 02 AB 01 F", 13}));
    EXPECT_EQ(PasteHexDigits(QStringLiteral("01"), 2, QStringLiteral("0203")),
              (HexDataEdit{"01 02 03", 8}));
    EXPECT_EQ(PasteHexDigits(QStringLiteral("01"), 2, QStringLiteral("no, xyz!")),
              (HexDataEdit{"01", 2}));
}

TEST(ClassInstanceHexText, DataCheck)
{
    const struct {
        const char* text;
        bool valid;
    } cases[] = {
        {"", true},        {"01", true},     {"01 02 AB", true}, {"01 2", false},
        {"01  02", false}, {"01 ", false},   {" 01", false},     {"0102", false},
        {"01 ab", false},  {"01 0G", false}, {"01\n", false},    {"01\n02", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsHexDataText(QString::fromLatin1(c.text)), c.valid) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace corvix
