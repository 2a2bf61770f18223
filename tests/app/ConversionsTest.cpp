#include "app/Conversions.h"
#include "app/CorvixError.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace corvix;

namespace {

// The message a conversion raised, or "" when it did not raise.
template <typename Call>
QString errorOf(Call call)
{
    try {
        call();
    } catch (const ConversionError& error) {
        return error.message();
    }
    return {};
}

}  // namespace

TEST(BinaryToDecimalText, BinaryTextsBecomeDecimalOthersStay)
{
    const struct {
        QString in;
        QString out;
    } cases[] = {
        {"0b101", "5"},
        {"0B11111111", "255"},
        {"0b" + QString(64, u'1'), "-1"},  // the 64-bit value read as signed
        {"0b", "0"},                       // prefix only: an empty digit string
        {"101", "101"},
        {"0", "0"},
        {"", ""},
        {"0x1F", "0x1F"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BinaryToDecimalText(c.in), c.out) << c.in.toStdString();
    }
}

TEST(BinaryToDecimalText, BadBinaryTextsRaiseWithTheText)
{
    for (const QString& in : {QStringLiteral("0b102"), QStringLiteral("0b1 1"),
                              QStringLiteral("0b") + QString(65, u'1')}) {
        EXPECT_EQ(errorOf([&] { BinaryToDecimalText(in); }), in + " is not a valid binary value");
    }
}

TEST(BinaryTextToInt64, AcceptsPrefixAndSuffixForms)
{
    EXPECT_EQ(BinaryTextToInt64("1010B"), 10);
    EXPECT_EQ(BinaryTextToInt64("0b1010"), 10);
    EXPECT_EQ(BinaryTextToInt64(""), 0);
    EXPECT_EQ(errorOf([] { BinaryTextToInt64("0b12b"); }), "12 is not a valid binary value");
}

TEST(IntToBinaryText, KeepsTheRequestedWidth)
{
    const struct {
        int bits;
        int64_t value;
        QString text;
    } cases[] = {
        {8, 0x1FF, "0B11111111"}, {16, 0, "0B0"},     {16, -1, "0B" + QString(16, u'1')},
        {32, 5, "0B101"},         {64, -1, "0B" + QString(64, u'1')}, {12, 0x1FFF, "0B1111111111111"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IntToBinaryText(c.bits, c.value), c.text) << c.bits << " " << c.value;
    }
}

TEST(HexTextToBytes, ReadsBlankSeparatedHexBytes)
{
    const struct {
        QString in;
        QByteArray out;
    } cases[] = {
        {"41 42 43", "ABC"},
        {"", ""},
        {"0a ff", QByteArray("\x0a\xff", 2)},
        {"20 0F 24 01 ", QByteArray("\x20\x0f\x24\x01", 4)},  // the editor's trailing blank
        {"7", "\x07"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HexTextToBytes(c.in), c.out) << c.in.toStdString();
    }
}

TEST(HexTextToBytes, GarbageRaisesAConversionError)
{
    const QString garbage[] = {"4142", "41  42", " 41", "4G", "0x41", "41,42", "+1", "-1",
                               QString(100000, u'Z'), "41" + QString(50000, u' ')};
    for (const QString& in : garbage) {
        EXPECT_FALSE(errorOf([&] { HexTextToBytes(in); }).isEmpty()) << in.left(20).toStdString();
    }
}

TEST(HexTextToBytes, HandlesLongInputs)
{
    QStringList bytes;
    for (int i = 0; i < 100000; ++i) {
        bytes << QStringLiteral("%1").arg(i & 0xFF, 2, 16, QLatin1Char('0'));
    }
    EXPECT_EQ(HexTextToBytes(bytes.join(u' ')).size(), 100000);
}

TEST(BoolToText, OneAndZero)
{
    EXPECT_EQ(BoolToText(true), "1");
    EXPECT_EQ(BoolToText(false), "0");
}
