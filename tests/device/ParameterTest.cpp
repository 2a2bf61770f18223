#include "LocaleGuard.h"

#include "app/CorvixError.h"
#include "device/DevParameterClass.h"

#include <gtest/gtest.h>

namespace corvix {
namespace {

using test::LocaleGuard;

// A "ParamN=" field list as the EDS reader hands it over: quotes removed, fields split at commas.
QByteArrayList fieldsOf(const char* entry)
{
    return QByteArray(entry).split('|');
}

constexpr const char* kVendorId =  // read-only UINT with every optional field empty
    "0|6|20 01 24 01 30 01|0x0012|0xC7|2|Vendor ID||Identification of vendor|404|404|404"
    "|||||||||";

TEST(ParameterConstruction, KeepsTheFieldsOfARealEntry)
{
    LocaleGuard guard(LocaleGuard::point());
    TDevParameterClass parameter(fieldsOf(kVendorId), {}, 1);
    EXPECT_EQ(parameter.Number(), 1);
    EXPECT_EQ(parameter.DisplayName(), QStringLiteral("1: Vendor ID"));
    EXPECT_EQ(parameter.ReservedField(), QStringLiteral("0"));
    EXPECT_EQ(parameter.LinkPathSize(), QStringLiteral("6"));
    EXPECT_EQ(parameter.RequestPath(), QStringLiteral("20 01 24 01 30 01"));
    EXPECT_EQ(parameter.Descriptor(), QStringLiteral("0x0012"));
    EXPECT_EQ(parameter.DataTypeCode(), QStringLiteral("0xC7"));
    EXPECT_EQ(parameter.DataSize(), QStringLiteral("2"));
    EXPECT_TRUE(parameter.IsReadOnly());
    EXPECT_FALSE(parameter.IsExcluded());
    EXPECT_EQ(parameter.GetStateColour(), StateColour::Purple);
    EXPECT_TRUE(parameter.Saved());
    EXPECT_FALSE(parameter.Synchronized());
    EXPECT_EQ(parameter.HelpText(),
              QStringLiteral("Default: 404\rRange: 404 ... 404\r\rIdentification of vendor"));
    EXPECT_EQ(parameter.GetDisplayValueWithUnits(), QStringLiteral("404 "));
}

TEST(ParameterConstruction, DefaultRequestPathAddressesTheParameterObject)
{
    const struct {
        int number;
        const char* path;
    } cases[] = {{3, "20 0F 25 03 00 30 01"}, {255, "20 0F 25 FF 00 30 01"},
                 {256, "20 0F 25 00 01 30 01"}, {300, "20 0F 25 2C 01 30 01"},
                 {65535, "20 0F 25 FF FF 30 01"}};
    for (const auto& c : cases) {
        TDevParameterClass parameter(fieldsOf("0|||0|0xC6|1|Speed||||||"), {}, c.number);
        EXPECT_EQ(parameter.RequestPath(), QString::fromLatin1(c.path)) << c.number;
    }
}

TEST(ParameterConstruction, ScalingFollowsTheDescriptorBits)
{
    const struct {
        const char* name;
        const char* entry;  // descriptor, then multiplier, divisor, base, offset, precision
        const char* scaling;
    } cases[] = {
        {"twelve fields", "0|||0x0004|0xC7|2|P||||||", "1 1 1 0 0"},
        {"no scaling bit ignores the file", "0|||0|0xC7|2|P||||||5|2|3|4|||||2", "1 1 1 0 0"},
        {"zero factors become one", "0|||0x0004|0xC7|2|P||||||0|0|0||||||2", "1 1 1 0 0"},
        {"precision needs its bit", "0|||0x0004|0xC7|2|P||||||5|2|3|4|||||2", "5 2 3 4 0"},
        {"precision kept with its bit", "0|||0x0044|0xC7|2|P||||||5|2|3|4|||||2", "5 2 3 4 2"},
        {"binary descriptor", "0|||0b1000100|0xC7|2|P||||||5|2|3|4|||||2", "5 2 3 4 2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TDevParameterClass parameter(fieldsOf(c.entry), {}, 1);
        const QStringList scaling{parameter.Multiplier(), parameter.Divisor(), parameter.Base(),
                                  parameter.Offset(), parameter.Precision()};
        EXPECT_EQ(scaling.join(u' '), QString::fromLatin1(c.scaling));
    }
}

TEST(ParameterConstruction, IllegalEntriesRaiseTheirMessage)
{
    LocaleGuard guard(LocaleGuard::point());
    const struct {
        const char* entry;
        const char* error;
    } cases[] = {
        {"0|||0|0xC7|2|P|||0|10|20", "Defined default value is not within min/max range"},
        {"0|||0|0xC6|1|P|||0|300|0", "300 is not within the valid range of 0..255"},
        {"0|||0|0xC4|4|P|||0|10|1.5", "'1.5' is not a valid integer value"},
        {"0|||0|99|1|P||||||", "Unsupported parameter data type in EDS-file"},
        {"0|||0|0xC9|8|P||||||", "Unsupported parameter data type in EDS-file"},
        {"0|||0|UINT|2|P||||||", "Unsupported parameter data type in EDS-file"},
        {"0|||fast|0xC7|2|P||||||", "'fast' is not a valid integer value"},
        {"0|||0|0xC7|2|P||||", "Too few fields in parameter definition of Parameter 7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        try {
            TDevParameterClass parameter(fieldsOf(c.entry), {}, 7);
            ADD_FAILURE() << "no error raised";
        } catch (const CorvixError& error) {
            EXPECT_EQ(error.message(), QString::fromUtf8(c.error));
        }
    }
}

TEST(ParameterConstruction, DescriptorMarksParametersNotToKeep)
{
    EXPECT_TRUE(TDevParameterClass(fieldsOf("0|||0x0200|0xC6|1|P||||||"), {}, 1).IsExcluded());
    EXPECT_TRUE(TDevParameterClass(fieldsOf("0|||0b1000000000|0xC6|1|P||||||"), {}, 1).IsExcluded());
    EXPECT_FALSE(TDevParameterClass(fieldsOf("0|||0x0010|0xC6|1|P||||||"), {}, 1).IsExcluded());
}

TEST(ParameterHelp, HelpTextShowsDefaultRangeAndTheFilesHelp)
{
    LocaleGuard guard(LocaleGuard::comma());
    const struct {
        const char* name;
        const char* entry;
        QByteArrayList enumFields;
        const char* help;
    } cases[] = {
        {"line breaks", "0|||0|0xC7|2|Speed|rpm|Set speed\\nin rpm|0|3000|1500|1|10|||||||1",
         {}, "Default: 1500\rRange: 0 ... 3000\r\rSet speed\r in rpm"},
        {"scaled with decimals", "0|||0x0044|0xC7|2|Speed|rpm|H|0|3000|1500|1|10|||||||1",
         {}, "Default: 15,0\rRange: 0,0 ... 30,0\r\rH"},
        {"no help in the file", "0|||0|0xC6|1|P||||||", {},
         "Default: 0\rRange: 0 ... 255\r\rNo EDS based help implemented for this parameter"},
        {"read-only without help", "0|||0x0010|0xC6|1|P||||||", {}, "Default: 0\rRange: 0 ... 255\r\r"},
        {"bool without help", "0|||0|0xC1|1|P||||||", {}, "Default: False\rRange: False ... True\r\r"},
        {"bit string without prefix", "0|||0|0xD1|1|P|||0|0b1111|0b101", {},
         "Default: 101\rRange: 0 ... 1111\r\rNo EDS based help implemented for this parameter"},
        {"fitting enumeration", "0|||0|0xC6|1|P|||0|1|0", {"Off", "On"},
         "Default: 0\rRange: 0 ... 1\r\r"},
        {"dropped enumeration keeps the file's help", "0|||0|0xC6|1|P||Mode|0|3|0",
         {"A", "B", "C"}, "Mode"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TDevParameterClass parameter(fieldsOf(c.entry), c.enumFields, 1);
        EXPECT_EQ(parameter.HelpText(), QString::fromUtf8(c.help));
    }
}

TEST(ParameterEnumeration, StringsNameTheValuesFromTheMinimum)
{
    TDevParameterClass parameter(fieldsOf("0|||0|0xC6|1|Mode|||1|3|1"), {"Off", "On", "Auto"}, 4);
    EXPECT_EQ(parameter.EnumStrings(), QStringList({"Off", "On", "Auto"}));
    EXPECT_EQ(parameter.GetDisplayValue(), QStringLiteral("Off"));

    EXPECT_EQ(parameter.SetFromUserText(QStringLiteral("aUTO")), QStringLiteral("Auto"));
    EXPECT_EQ(parameter.DataType().Value(), QStringLiteral("3"));
    EXPECT_FALSE(parameter.Saved());
    EXPECT_FALSE(parameter.Synchronized());

    // Neither a string of the list nor a number changes the value.
    EXPECT_EQ(parameter.SetFromUserText(QStringLiteral("1")), QStringLiteral("Auto"));

    // A value below the minimum (loaded unchecked from a file) has no string: red, the minimum.
    parameter.DataType().SetValue(QStringLiteral("0"));
    EXPECT_EQ(parameter.GetDisplayValue(), QStringLiteral("1"));
    EXPECT_EQ(parameter.GetStateColour(), StateColour::Red);
}

TEST(ParameterEnumeration, EnumerationsThatDoNotFitAreDropped)
{
    const struct {
        const char* entry;
        QByteArrayList strings;
    } cases[] = {
        {"0|||0|0xC6|1|P|||0|3|0", {"A", "B", "C"}},   // one string short
        {"0|||0|0xC6|1|P|||0|1|0", {"A", "B", "C"}},   // one string too many
        {"0|||0|0xCA|4|P|||0.5|2.5|1", {"A", "B", "C"}},  // limits that are no integers
        {"0|||0|0xD0|4|P|||0|2|", {"A", "B", "C"}},    // a string: its empty default
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        TDevParameterClass parameter(fieldsOf(c.entry), c.strings, 1);
        EXPECT_TRUE(parameter.EnumStrings().isEmpty());
    }
}

TEST(ParameterEnumeration, BoolWithoutEntryShowsFalseAndTrue)
{
    TDevParameterClass parameter(fieldsOf("0|||0|0xC1|1|Enable||||||"), {}, 2);
    EXPECT_EQ(parameter.EnumStrings(), QStringList({"False", "True"}));
    EXPECT_EQ(parameter.GetDisplayValue(), QStringLiteral("False"));
    EXPECT_EQ(parameter.SetFromUserText(QStringLiteral("true")), QStringLiteral("True"));
    EXPECT_EQ(parameter.DataType().ConvertValueToNetWorkFormat(), QByteArray("\x01", 1));
    EXPECT_EQ(parameter.SetFromUserText(QStringLiteral("FALSE")), QStringLiteral("False"));
}

TEST(ParameterInput, TypedValuesInBothLocales)
{
    const struct {
        const char* name;
        const char* entry;
        const char* typed;
        const char* shown;  // "#": the locale's decimal separator
        const char* raw;
    } cases[] = {
        {"scaled with point", "0|||0x0044|0xC7|2|Speed|rpm||0|3000|0|1|10|||||||1", "12.3",
         "12#3 rpm", "1230"},
        {"scaled with comma", "0|||0x0044|0xC7|2|Speed|rpm||0|3000|0|1|10|||||||1", "12,3",
         "12#3 rpm", "1230"},
        {"out of range keeps", "0|||0x0044|0xC7|2|Speed|rpm||0|3000|0|1|10|||||||1", "300.1",
         "0#0 rpm", "0"},
        {"real limits with point", "0|||0|0xCA|4|Gain|||0.5|2.5|1.5", "2.25", "2#25 ", "2#25"},
        {"real beyond limit keeps", "0|||0|0xCA|4|Gain|||0.5|2.5|1.5", "2.75", "1#5 ", "1#5"},
        {"string keeps its punctuation", "0|||0|0xD0|8|Name|||0|8|", "a.b,c", "a.b,c ", "a.b,c"},
        {"short string too", "0|||0|0xDA|8|Name|||0|8|", "1,5", "1,5 ", "1,5"},
        {"bits", "0|||0|0xD2|2|Mask||||||", "0B1010", "1010 ", "10"},
    };
    for (const QLocale& locale : {LocaleGuard::point(), LocaleGuard::comma()}) {
        LocaleGuard guard(locale);
        const auto localised = [&locale](const char* text) {
            return QString::fromUtf8(text).replace(u'#', locale.decimalPoint());
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " in " + locale.name().toStdString());
            TDevParameterClass parameter(fieldsOf(c.entry), {}, 1);
            EXPECT_EQ(parameter.SetFromUserText(QString::fromUtf8(c.typed)), localised(c.shown));
            EXPECT_EQ(parameter.DataType().Value(), localised(c.raw));
            EXPECT_FALSE(parameter.Saved());
        }
    }
}

TEST(ParameterDisplay, ValuesFromTheDeviceAndFromFiles)
{
    LocaleGuard guard(LocaleGuard::point());
    TDevParameterClass parameter(fieldsOf("0|||0x0044|0xC7|2|Speed|rpm||0|3000|0|1|10|||||||1"),
                                 {}, 1);
    EXPECT_EQ(parameter.SetFromNetworkBytes(QByteArray("\xD2\x04", 2)), QStringLiteral("12.3 rpm"));
    EXPECT_EQ(parameter.SetFromNetworkBytes(QByteArray("\x01", 1)), QStringLiteral("12.3 rpm"));

    // A file may hold anything; it is shown as it is, in red, instead of failing.
    parameter.DataType().SetValue(QStringLiteral("fast"));
    EXPECT_EQ(parameter.GetDisplayValue(), QStringLiteral("fast"));
    EXPECT_EQ(parameter.GetStateColour(), StateColour::Red);
}

}  // namespace
}  // namespace corvix
