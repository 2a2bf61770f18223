#include "LocaleGuard.h"

#include "device/DataTypeErrors.h"
#include "device/DataTypeFactory.h"

#include <gtest/gtest.h>

#include <memory>

namespace corvix {
namespace {

using test::LocaleGuard;

DataTypeDefinition definition(const QString& defaultValue, const QString& minimum = {},
                              const QString& maximum = {})
{
    DataTypeDefinition result;
    result.defaultValue = defaultValue;
    result.minimum = minimum;
    result.maximum = maximum;
    return result;
}

struct ConstructionCase {
    const char* name;
    int code;
    DataTypeDefinition definition;
    const char* minimum;  // expected limits, or the error text when error is set
    const char* maximum;
    const char* value;
    const char* error = nullptr;
};

TEST(DataTypeConstruction, LimitsDefaultsAndDefinitionErrors)
{
    LocaleGuard locale(LocaleGuard::point());
    DataTypeDefinition zeroDivisor = definition("0");
    zeroDivisor.divisor = "0";
    DataTypeDefinition textMultiplier = definition("0");
    textMultiplier.multiplier = "two";

    const ConstructionCase cases[] = {
        {"usint type limits", 0xC6, definition("7"), "0", "255", "7"},
        {"sint type limits", 5, definition("-1"), "-128", "127", "-1"},
        {"int type limits", 0xC3, definition("0"), "-32768", "32767", "0"},
        {"dint type limits", 6, definition("0"), "-2147483648", "2147483647", "0"},
        {"udint type limits", 9, definition("0"), "0", "4294967295", "0"},
        {"lint type limits", 7, definition("0"), "-9223372036854775808", "9223372036854775807",
         "0"},
        {"uint given limits", 2, definition("5", "1", "10"), "1", "10", "5"},
        {"bounds are valid defaults", 2, definition("10", "1", "10"), "1", "10", "10"},
        {"binary default", 0xD1, definition("0b00000101"), "0", "255", "5"},
        {"hexadecimal limit", 0xC7, definition("1", "0", "0x00FF"), "0", "0x00FF", "1"},
        {"bool word default", 0xC1, definition("True"), "0", "1", "1"},
        {"date type limits", 17, definition("0"), "0", "65535", "0"},
        {"time of day type limits", 0xCE, definition("0"), "0", "86399999", "0"},
        {"date and time type limits", 19, definition("0"), "0", "281470768143359", "0"},
        {"string lengths", 0xD0, definition("", "0", "32"), "0", "32", ""},
        {"string of exact length", 0xDA, definition("ABCDEFGH", "8", "8"), "8", "8", "ABCDEFGH"},
        {"real type limits", 0xCA, definition("1.5"), "-3.40282347E+38", "3.40282347E+38", "1.5"},
        {"lreal type limits", 12, definition("0"), "-1.7976931348623158E+308",
         "1.7976931348623158E+308", "0"},

        {"sint default beyond type", 0xC2, definition("200"), "", "", "",
         "200 is not within the valid range of -128..127"},
        {"udint maximum beyond type", 0xC8, definition("0", "", "4294967296"), "", "", "",
         "4294967296 is not within the valid range of 0..4294967295"},
        {"minimum above maximum", 0xC7, definition("5", "10", "5"), "", "", "",
         "Defined minimum value is greater than defined maximum value"},
        {"default above maximum", 0xC7, definition("20", "0", "10"), "", "", "",
         "Defined default value is not within min/max range"},
        {"default no number", 0xC7, definition("abc"), "", "", "",
         "'abc' is not a valid integer value"},
        {"dint beyond 32 bits", 0xC4, definition("3000000000"), "", "", "",
         "'3000000000' is not a valid integer value"},
        {"bool default 2", 0xC1, definition("2"), "", "", "", "2 is not a valid Boolean value"},
        {"date beyond 65535", 0xCD, definition("70000"), "", "", "",
         "70000 is not within the valid range of 0..65535"},
        {"time of day beyond a day", 0xCE, definition("86400000"), "", "", "",
         "86400000 is not within the valid range of 0..86399999"},
        {"negative string length", 0xD0, definition("", "-1", "4"), "", "", "",
         "Negative string length defined"},
        {"string default too long", 0xD0, definition("ABC", "0", "2"), "", "", "",
         "Defined default value is not within min/max range"},
        {"string default too short", 0xD0, definition("A", "2", "4"), "", "", "",
         "Defined default value is not within min/max range"},
        {"string lengths reversed", 0xD0, definition("", "4", "2"), "", "", "",
         "Defined minimum value is greater than defined maximum value"},
        {"real default above maximum", 0xCA, definition("5", "0", "1"), "", "", "",
         "Defined default value is not within min/max range"},
        {"zero divisor", 0xC7, zeroDivisor, "", "", "",
         "Scaling divisor, multiplier and base must not be 0"},
        {"text multiplier", 0xC7, textMultiplier, "", "", "", "'two' is not a valid integer value"},
    };
    for (const ConstructionCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.error) {
            try {
                CreateDeviceNetDataType(c.code, c.definition);
                ADD_FAILURE() << "no error raised";
            } catch (const CorvixError& error) {
                EXPECT_EQ(error.message(), QString::fromUtf8(c.error));
            }
            continue;
        }
        const auto type = CreateDeviceNetDataType(c.code, c.definition);
        ASSERT_TRUE(type);
        EXPECT_EQ(type->Minimum(), QString::fromUtf8(c.minimum));
        EXPECT_EQ(type->Maximum(), QString::fromUtf8(c.maximum));
        EXPECT_EQ(type->Value(), QString::fromUtf8(c.value));
        EXPECT_EQ(type->DefaultValue(), QString::fromUtf8(c.value));
    }
}

TEST(DataTypeConstruction, RangeChecksRaiseTheRangeKind)
{
    LocaleGuard locale(LocaleGuard::point());
    EXPECT_THROW(CreateDeviceNetDataType(0xC6, definition("256")), RangeError);
    EXPECT_THROW(CreateDeviceNetDataType(0xCA, definition("0", "-1e39")), RangeError);
    EXPECT_THROW(CreateDeviceNetDataType(0xC6, definition("x")), ConversionError);
}

TEST(DataTypeConstruction, RealLimitsFollowTheLocaleSeparator)
{
    LocaleGuard locale(LocaleGuard::comma());
    const auto real = CreateDeviceNetDataType(0xCA, definition("1,5"));
    ASSERT_TRUE(real);
    EXPECT_EQ(real->Minimum(), QStringLiteral("-3,40282347E+38"));
    EXPECT_EQ(real->Value(), QStringLiteral("1,5"));
    // EDS files write a point whatever the locale.
    EXPECT_EQ(CreateDeviceNetDataType(0xCA, definition("2.5"))->Value(), QStringLiteral("2,5"));
}

TEST(DataTypeConstruction, CodesWithoutATypeGiveNothing)
{
    for (const int code : {0, 10, 26, 0xC9, 0xD4, 0xDC, 255}) {
        EXPECT_FALSE(CreateDeviceNetDataType(code, definition("0"))) << code;
    }
}

}  // namespace
}  // namespace corvix
