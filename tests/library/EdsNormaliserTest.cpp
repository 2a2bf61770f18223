#include "library/EdsNormaliser.h"

#include "LibraryFixtures.h"
#include "app/EdsValueReaders.h"
#include "library/EdsKeyIndex.h"
#include "library/EdsKeywordCheck.h"

#include <QDir>

#include <gtest/gtest.h>

namespace corvix {
namespace {

using test::ReadSourceFile;

struct NormaliseCase {
    const char* name;
    QByteArray raw;
    QByteArray expected;
};

TEST(NormaliseEdsText, TableOfCases)
{
    const NormaliseCase cases[] = {
        {"empty", "", ""},
        {"blanks, tabs and line breaks go; CR LF after ; and ]",
         "[Params]\n\tParam1 = 0, 6;\r\n", "[Params]\r\nParam1=0,6;\r\n"},
        {"quoted blanks are kept, quoted commas become dots", "Help = \"Speed, in rpm\" ;",
         "Help=\"Speed. in rpm\";\r\n"},
        {"; and ] inside quotes get no line break", "S = \"a;b]c\";", "S=\"a;b]c\";\r\n"},
        {"comment runs to the line end and takes it", "A = 1; $ note, \"x\"\nB = 2;",
         "A=1;\r\nB=2;\r\n"},
        {"comment inside quotes swallows the closing quote", "N = \"ab $c\" z\n, d ; e\"; F = 1;",
         "N=\"ab . d ; e\";\r\nF=1;\r\n"},
        {"comment ends at bytes 1-8, 11-13 and 26", "$a\x01X$b\x08Y$c\x0BZ$d\x0CV$e\x1AW",
         "XYZVW"},
        {"tab and NUL do not end a comment", QByteArray("$a\tb\0c\nX", 8), "X"},
        {"comment at the end of the file never ends", "A = 1;$ never ends", "A=1;\r\n"},
        {"underscores go out of keys and section names",
         "[IO_Info]\r\n1_RSNetWorx_DCorvix = \"Sdn_Cnfg\";",
         "[IOInfo]\r\n1RSNetWorxDCorvix=\"SdnCnfg\";\r\n"},
        {"dropped ASCII outside and inside quotes", "a<b>c?d@e^f_g`h~i\x7Fj \"<k_l> m\"",
         "abcdefghij\"kl m\""},
        {"kept punctuation", "x=!#%&'()*+-./:{|}\\[;", "x=!#%&'()*+-./:{|}\\[;\r\n"},
        {"Windows-1252 bytes are dropped, also inside quotes",
         "Name = \"Manufacturer\x92s \xC4nderung\xFF\x80\"; \xE9",
         "Name=\"Manufacturers nderung\";\r\n"},
        {"control bytes inside quotes are dropped", "\"a\tb\r\nc\"", "\"abc\""},
    };
    for (const NormaliseCase& c : cases) {
        EXPECT_EQ(NormaliseEdsText(c.raw), c.expected) << c.name;
    }
}

// What every normalised text must look like, whatever the input.
void ExpectNormalForm(const QByteArray& text, const QString& name)
{
    bool inQuotes = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            inQuotes = !inQuotes;
        }
        ASSERT_NE(c, '$') << name.toStdString() << " at " << i;
        ASSERT_FALSE(!inQuotes && c == ' ') << name.toStdString() << " at " << i;
        if (c == '\r') {
            ASSERT_TRUE(!inQuotes && i > 0 && (text[i - 1] == ';' || text[i - 1] == ']') &&
                        i + 1 < text.size() && text[i + 1] == '\n')
                << name.toStdString() << " at " << i;
        }
        if (c == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << name.toStdString() << " at " << i;
        }
    }
    EXPECT_EQ(NormaliseEdsText(text), text) << name.toStdString() << " is not stable";
}

TEST(NormaliseEdsText, RealFilesKeepTheirEntries)
{
    const QByteArray crlf =
        NormaliseEdsText(ReadSourceFile("tests/library/fixtures/setconfig_example_crlf.eds"));
    ExpectNormalForm(crlf, "CR LF file");
    QString report;
    EXPECT_TRUE(CheckEdsKeywords(crlf, report)) << report.toStdString();
    EXPECT_EQ(ReadValue(crlf, "vendcode=", 0, crlf.size()), "283");

    // A comment right after a section header and indented comment lines vanish with their
    // line breaks; the entries follow one per line.
    const QByteArray netx =
        NormaliseEdsText(ReadSourceFile("tests/library/fixtures/netx_comment_after_header.eds"));
    ExpectNormalForm(netx, "netx");
    EXPECT_TRUE(netx.startsWith("[File]\r\nDescText=\"EDS-File for netX 90-RE EtherNet/IP "
                                "Adapter\";\r\nCreateDate=01-01-1994;\r\n"));

    // Multi-line entries with a comment on every line, a Windows-1252 apostrophe in a name.
    const QByteArray vat =
        NormaliseEdsText(ReadSourceFile("tests/library/fixtures/vat_apc_excerpt.eds"));
    ExpectNormalForm(vat, "VAT excerpt");
    EXPECT_TRUE(vat.contains("\r\nParam2=0,6,\"20 30 24 01 30 06\",0x0010,0xDA,1,"
                             "\"Manufacturers  Model Number\",\"\",\"VAT part number\","
                             "0,20,\" \",,,,,,,,,;\r\n"));
    EXPECT_TRUE(vat.contains("\r\nEnum1=404,\"VAT Vacuum Valves\";\r\n"));
    EXPECT_TRUE(vat.contains("\r\nGroup1=\"General Settings\",16,1,2,3,4,5,6,7,8,9,10,11,12,13,"
                             "14,15,16;\r\n"));
}

// Our own example files: every parameter up to MaxInst is defined with all 21 fields, and every
// enumeration has one string per value from minimum to maximum.
void ExpectCompleteParameters(const QByteArray& text, const QString& name)
{
    const EdsKeyIndex index(text);
    const int64_t paramClass = index.Find("[ParamClass]", 0, text.size());
    if (paramClass < 0) {
        return;
    }
    const int count = ReadValue(index, "MaxInst=", paramClass, text.size()).toInt();
    EXPECT_GT(count, 0) << name.toStdString();
    for (int i = 1; i <= count; ++i) {
        const QByteArray key = "Param" + QByteArray::number(i) + "=";
        const std::string where = name.toStdString() + " " + key.toStdString();
        int64_t end = -1;
        const QByteArrayList fields = ReadValueFields(index, key, 0, text.size(), end);
        ASSERT_EQ(fields.size(), 21) << where;
        int64_t enumEnd = -1;
        const QByteArrayList strings = ReadValueFields(index, key, end, text.size(), enumEnd);
        if (!strings.isEmpty()) {
            EXPECT_EQ(fields[9].toInt() + strings.size(), fields[10].toInt() + 1) << where;
        }
    }
}

TEST(NormaliseEdsText, ExampleFilesAreInNormalFormAndComplete)
{
    const QDir folder(QStringLiteral(CORVIX_SOURCE_DIR "/data/eds"));
    const QStringList names = folder.entryList({QStringLiteral("*.eds")}, QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        const QByteArray text = NormaliseEdsText(ReadSourceFile("data/eds/" + name));
        ExpectNormalForm(text, name);
        QString report;
        EXPECT_TRUE(CheckEdsKeywords(text, report)) << name.toStdString() << report.toStdString();
        ExpectCompleteParameters(text, name);
    }
}

}  // namespace
}  // namespace corvix
