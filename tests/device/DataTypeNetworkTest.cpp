#include "LocaleGuard.h"

#include "app/Conversions.h"
#include "device/DataTypeFactory.h"

#include <gtest/gtest.h>

namespace corvix {
namespace {

using test::LocaleGuard;

QByteArray bytes(const char* hexText) { return HexTextToBytes(QString::fromLatin1(hexText)); }

std::unique_ptr<TDeviceNetDataTypes> typeOf(int code)
{
    DataTypeDefinition definition;
    definition.defaultValue = QStringLiteral("0");
    if (code == 0xD0 || code == 0xD5 || code == 0xDA) {
        definition.defaultValue.clear();
        definition.minimum = QStringLiteral("0");
        definition.maximum = QStringLiteral("300");
    }
    return CreateDeviceNetDataType(code, definition);
}

// One value each way: the raw value sent as bytes, and bytes received read back into a raw value
// ("#" is the locale's decimal separator).
struct WireCase {
    const char* name;
    int code;
    const char* value;
    const char* sent;
};

TEST(DataTypeNetwork, ValuesTravelLowByteFirstInBothDirections)
{
    const WireCase cases[] = {
        {"bool true", 0xC1, "1", "01"},
        {"sint negative", 0xC2, "-1", "FF"},
        {"usint", 0xC6, "255", "FF"},
        {"int negative", 0xC3, "-2", "FE FF"},
        {"uint", 0xC7, "4660", "34 12"},
        {"dint", 0xC4, "-2147483648", "00 00 00 80"},
        {"udint", 0xC8, "4294967295", "FF FF FF FF"},
        {"lint", 0xC5, "-2", "FE FF FF FF FF FF FF FF"},
        {"dword", 0xD3, "305419896", "78 56 34 12"},
        {"itime", 0xD8, "-300", "D4 FE"},
        {"real", 0xCA, "1#5", "00 00 C0 3F"},
        {"real negative small", 0xCA, "-0#1", "CD CC CC BD"},
        {"lreal", 0xCB, "1#5", "00 00 00 00 00 00 F8 3F"},
        {"date", 0xCD, "10227", "F3 27"},
        {"time of day", 0xCE, "86399999", "FF 5B 26 05"},
        {"date and time", 0xCF, "4294968296", "E8 03 00 00 01 00"},
        {"string", 0xD0, "ABC", "03 00 41 42 43"},
        {"string2", 0xD5, "ABC", "03 00 41 42 43"},
        {"short string", 0xDA, "ABC", "03 41 42 43"},
        {"string code page", 0xD0, "\xC3\xA9", "01 00 E9"},
        {"empty string", 0xD0, "", "00 00"},
    };
    for (const QLocale& locale : {LocaleGuard::point(), LocaleGuard::comma()}) {
        LocaleGuard guard(locale);
        for (const WireCase& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " in " + locale.name().toStdString());
            const QString value = QString::fromUtf8(c.value).replace(u'#', locale.decimalPoint());
            auto sender = typeOf(c.code);
            ASSERT_TRUE(sender);
            sender->SetValue(value);
            EXPECT_EQ(sender->ConvertValueToNetWorkFormat().toHex(' '), bytes(c.sent).toHex(' '));

            auto receiver = typeOf(c.code);
            const QString display = receiver->ConvertFromNetWorkFormatToValue(bytes(c.sent));
            EXPECT_EQ(receiver->Value(), value);
            EXPECT_EQ(display, receiver->GetValue(value));
        }
    }
}

TEST(DataTypeNetwork, BoolReadsOnlyOneAsTrue)
{
    auto type = typeOf(0xC1);
    type->SetValue(QStringLiteral("True"));
    EXPECT_EQ(type->ConvertValueToNetWorkFormat(), bytes("01"));
    type->SetValue(QStringLiteral("1"));
    EXPECT_EQ(type->ConvertFromNetWorkFormatToValue(bytes("02")), QStringLiteral("False"));
    EXPECT_EQ(type->Value(), QStringLiteral("0"));
}

// A reply that does not fit the type is no value: the old one stays, and its text comes back.
TEST(DataTypeNetwork, RepliesOfTheWrongSizeLeaveTheValue)
{
    const struct {
        int code;
        const char* value;
        QByteArray received;
    } cases[] = {
        {0xC1, "1", QByteArray()},
        {0xC1, "1", bytes("00 00")},
        {0xC7, "7", bytes("01")},
        {0xC7, "7", bytes("01 02 03")},
        {0xC8, "7", bytes("01 02")},
        {0xCA, "7", bytes("00 00 C0 3F 00")},
        {0xCF, "7", bytes("E8 03 00 00")},
        {0xD0, "AB", bytes("05 00 41 42")},
        {0xD0, "AB", bytes("05")},
        {0xDA, "AB", QByteArray()},
    };
    LocaleGuard guard(LocaleGuard::point());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.received.toHex(' ').toStdString());
        auto type = typeOf(c.code);
        type->SetValue(QString::fromUtf8(c.value));
        EXPECT_EQ(type->ConvertFromNetWorkFormatToValue(c.received),
                  type->GetValue(QString::fromUtf8(c.value)));
        EXPECT_EQ(type->Value(), QString::fromUtf8(c.value));
    }
}

TEST(DataTypeNetwork, StringsTakeTheCountedCharactersOnly)
{
    auto type = typeOf(0xD0);
    EXPECT_EQ(type->ConvertFromNetWorkFormatToValue(bytes("02 00 41 42 00 00")), QStringLiteral("AB"));
    auto shortString = typeOf(0xDA);
    EXPECT_EQ(shortString->ConvertFromNetWorkFormatToValue(bytes("01 41 42")), QStringLiteral("A"));
}

}  // namespace
}  // namespace corvix
