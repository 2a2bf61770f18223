#include "LocaleGuard.h"

#include "app/CorvixError.h"
#include "device/DataTypeFactory.h"

#include <gtest/gtest.h>

namespace corvix {
namespace {

using test::LocaleGuard;

DataTypeDefinition scaled(const QString& minimum, const QString& maximum, const QString& divisor,
                          const QString& offset, const QString& precision,
                          const QString& multiplier = QStringLiteral("1"))
{
    DataTypeDefinition result;
    result.defaultValue = minimum.isEmpty() ? QStringLiteral("0") : minimum;
    result.minimum = minimum;
    result.maximum = maximum;
    result.divisor = divisor;
    result.offset = offset;
    result.precision = precision;
    result.multiplier = multiplier;
    return result;
}

// Scaled integers: how a raw value is shown, and what a typed text gives back, with a "." and a
// "," locale. In the texts, "#" stands for the locale's decimal separator.
struct ScalingCase {
    const char* name;
    int code;
    DataTypeDefinition definition;
    const char* raw;
    const char* display;
    const char* typed;
    const char* rawAfterTyping;
};

TEST(DataTypeScaling, DisplayAndInputInBothLocales)
{
    const ScalingCase cases[] = {
        {"divisor and one decimal", 0xC7, scaled("", "", "10", "0", "1"), "1234", "12#3", "12#3",
         "1230"},
        {"decimals round half away", 0xC7, scaled("", "", "10", "0", "1"), "1235", "12#4", "12#35",
         "1235"},
        {"offset", 0xC3, scaled("", "", "1", "100", "0"), "5", "105", "105", "5"},
        {"negative with decimals", 0xC3, scaled("", "", "1", "0", "1"), "-5", "-0#5", "-0#5", "-5"},
        {"binary fraction below the unit", 0xC7, scaled("", "", "1", "0", "2"), "29", "0#29",
         "0#29", "29"},
        {"multiplier", 0xC2, scaled("", "", "1", "0", "0", "2"), "-5", "-10", "-10", "-5"},
        {"sint raw cut to 8 bits", 0xC2, scaled("", "", "1", "0", "0"), "255", "-1", "-1", "-1"},
        {"udint full range", 0xC8, scaled("", "", "1", "0", "0"), "4294967295", "4294967295",
         "4294967295", "4294967295"},
        {"typed beyond maximum keeps", 0xC7, scaled("0", "100", "1", "0", "0"), "7", "7", "101",
         "7"},
        {"typed wraps no sint", 0xC2, scaled("", "", "1", "0", "0"), "7", "7", "200", "7"},
        {"empty text keeps", 0xC7, scaled("", "", "1", "0", "0"), "7", "7", "", "7"},
        {"fraction cut toward zero", 0xC7, scaled("", "", "1", "0", "0"), "7", "7", "8#9", "8"},
        {"time span scales as dint", 0xDB, scaled("", "", "1", "0", "3"), "1500", "1#500",
         "2#25", "2250"},
    };
    for (const QLocale& locale : {LocaleGuard::point(), LocaleGuard::comma()}) {
        LocaleGuard guard(locale);
        const QString separator = locale.decimalPoint();
        const auto localised = [&separator](const char* text) {
            return QString::fromUtf8(text).replace(u'#', separator);
        };
        for (const ScalingCase& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " in " + locale.name().toStdString());
            const auto type = CreateDeviceNetDataType(c.code, c.definition);
            ASSERT_TRUE(type);
            type->SetValue(QString::fromUtf8(c.raw));
            EXPECT_EQ(type->GetValue(type->Value()), localised(c.display));
            EXPECT_EQ(type->Validate(localised(c.typed)), QString::fromUtf8(c.rawAfterTyping));
            EXPECT_EQ(type->Value(), QString::fromUtf8(c.rawAfterTyping));
        }
    }
}

TEST(DataTypeScaling, TextThatIsNoNumberRaises)
{
    LocaleGuard guard(LocaleGuard::comma());
    const auto type = CreateDeviceNetDataType(0xC7, scaled("", "", "1", "0", "1"));
    ASSERT_TRUE(type);
    for (const char* text : {"abc", "1.5", "1,2,3", "nan"}) {
        try {
            type->Validate(QString::fromUtf8(text));
            ADD_FAILURE() << text;
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.message(),
                      QStringLiteral("'%1' is not a valid floating point value").arg(text));
        }
    }
    EXPECT_EQ(type->Value(), QStringLiteral("0"));
}

// The other families: what typing a text gives (the returned text and the raw value kept).
struct InputCase {
    const char* name;
    int code;
    const char* defaultValue;
    const char* minimum;
    const char* maximum;
    const char* typed;
    const char* result;
    const char* value;
};

TEST(DataTypeInput, TypedTextsPerFamily)
{
    const InputCase cases[] = {
        {"bool true word", 0xC1, "0", "0", "1", "tRUE", "1", "1"},
        {"bool false word", 0xC1, "1", "0", "1", "False", "0", "0"},
        {"bool beyond maximum keeps", 0xC1, "0", "0", "0", "1", "0", "0"},
        {"bool other text keeps", 0xC1, "0", "0", "1", "maybe", "0", "0"},
        {"byte all ones", 0xD1, "0", "0", "255", "0B11111111", "0B11111111", "255"},
        {"byte zero", 0xD1, "1", "0", "255", "0B0", "0B0", "0"},
        {"byte trailing b", 0xD1, "0", "", "", "101b", "0B101", "5"},
        {"byte beyond maximum keeps", 0xD1, "3", "", "", "100101100", "0B11", "3"},
        {"word", 0xD2, "0", "", "", "0B1000000000000000", "0B1000000000000000", "32768"},
        {"lint", 0xC5, "0", "", "", "9223372036854775807", "9223372036854775807",
         "9223372036854775807"},
        {"ltime beyond maximum keeps", 0xD7, "0", "-10", "10", "11", "0", "0"},
        {"date", 0xCD, "0", "", "", "2000-01-01", "2000-01-01", "10227"},
        {"date before 1972 keeps", 0xCD, "0", "", "", "1971-12-31", "1972-01-01", "0"},
        {"date beyond maximum keeps", 0xCD, "0", "0", "100", "2000-01-01", "1972-01-01", "0"},
        {"date too few digits keeps", 0xCD, "0", "", "", "2000-1-1", "1972-01-01", "0"},
        {"time of day", 0xCE, "0", "", "", "23:59:59.999", "23:59:59.999", "86399999"},
        {"time of day four digits keeps", 0xCE, "0", "", "", "12:00", "00:00:00.000", "0"},
        {"time of day past midnight keeps", 0xCE, "0", "", "", "24:00:00.000", "00:00:00.000",
         "0"},
        {"date and time", 0xCF, "0", "", "", "1972-01-02-00:00:01.000", "1972-01-02-00:00:01.000",
         "4294968296"},
        {"date and time too few digits keeps", 0xCF, "0", "", "", "1972-01-02", "1972-01-01-00:00:00.000",
         "0"},
        {"string within lengths", 0xD0, "", "0", "3", "A.B", "A.B", "A.B"},
        {"string too long keeps", 0xD0, "AB", "0", "3", "ABCD", "AB", "AB"},
        {"short string empty allowed", 0xDA, "AB", "0", "3", "", "", ""},
        {"real", 0xCA, "0", "", "", "#5", "0#5", "0#5"},
        {"real kept at single precision", 0xCA, "0", "", "", "0#1", "0#1", "0#1"},
        {"real beyond maximum keeps", 0xCA, "0", "-1", "1", "1#5", "0", "0"},
        {"lreal", 0xCB, "0", "", "", "-1e300", "-1e+300", "-1e+300"},
    };
    for (const QLocale& locale : {LocaleGuard::point(), LocaleGuard::comma()}) {
        LocaleGuard guard(locale);
        const auto localised = [&locale](const char* text) {
            return QString::fromUtf8(text).replace(u'#', locale.decimalPoint());
        };
        for (const InputCase& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " in " + locale.name().toStdString());
            DataTypeDefinition definition;
            definition.defaultValue = QString::fromUtf8(c.defaultValue);
            definition.minimum = QString::fromUtf8(c.minimum);
            definition.maximum = QString::fromUtf8(c.maximum);
            const auto type = CreateDeviceNetDataType(c.code, definition);
            ASSERT_TRUE(type);
            EXPECT_EQ(type->Validate(localised(c.typed)), localised(c.result));
            EXPECT_EQ(type->Value(), localised(c.value));
        }
    }
}

TEST(DataTypeInput, MalformedTextsRaiseClearErrors)
{
    LocaleGuard guard(LocaleGuard::point());
    const struct {
        int code;
        const char* typed;
        const char* error;
    } cases[] = {
        {0xD1, "0B2", "2 is not a valid binary value"},
        {0xC5, "12x", "'12x' is not a valid integer value"},
        {0xCD, "2000-13-01", "'2000-13-01' is not a valid date"},
        {0xCF, "2000-02-30-00:00:00.000", "'2000-02-30-00:00:00.000' is not a valid date"},
    };
    for (const auto& c : cases) {
        const auto type = CreateDeviceNetDataType(c.code, DataTypeDefinition{"0", "", "", "1", "1",
                                                                           "1", "0", "0"});
        ASSERT_TRUE(type);
        try {
            type->Validate(QString::fromUtf8(c.typed));
            ADD_FAILURE() << c.typed;
        } catch (const CorvixError& error) {
            EXPECT_EQ(error.message(), QString::fromUtf8(c.error));
        }
        EXPECT_EQ(type->Value(), QStringLiteral("0"));
    }
}

TEST(DataTypeDisplay, RawValuesAsTheUserSeesThem)
{
    LocaleGuard guard(LocaleGuard::point());
    const struct {
        int code;
        const char* raw;
        const char* display;
    } cases[] = {
        {0xC1, "1", "True"},
        {0xC1, "true", "True"},
        {0xC1, "0", "False"},
        {0xD1, "511", "0B11111111"},
        {0xD2, "0", "0B0"},
        {0xD3, "4294967295", "0B11111111111111111111111111111111"},
        {0xC5, "-9223372036854775808", "-9223372036854775808"},
        {0xCD, "0", "1972-01-01"},
        {0xCD, "65535", "2151-06-06"},
        {0xCE, "45296789", "12:34:56.789"},
        {0xCF, "281470768143359", "2151-06-06-23:59:59.999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.raw);
        const auto type = CreateDeviceNetDataType(c.code, DataTypeDefinition{"0", "", "", "1", "1",
                                                                           "1", "0", "0"});
        ASSERT_TRUE(type);
        EXPECT_EQ(type->GetValue(QString::fromUtf8(c.raw)), QString::fromUtf8(c.display));
    }
}

}  // namespace
}  // namespace corvix
