#include "app/EdsValueReaders.h"
#include "app/TextSearch.h"

#include <gtest/gtest.h>

using namespace corvix;

namespace {

// The obvious search, to check the Horspool tables against.
int64_t naiveFind(const QByteArray& text, const QByteArray& pattern, int64_t start, int64_t end)
{
    if (pattern.isEmpty()) {
        return -1;
    }
    const QByteArray lowerText = text.toLower();
    const QByteArray lowerPattern = pattern.toLower();
    for (int64_t i = start; i + pattern.size() <= end; ++i) {
        if (lowerText.mid(i, pattern.size()) == lowerPattern) {
            return i;
        }
    }
    return -1;
}

}  // namespace

TEST(FindText, AgreesWithANaiveSearch)
{
    const QByteArray text = "VendCode=90;\r\nvendcode=91;Param1=0;Param10=1;ProxyParam1=2;aaab aab";
    const QByteArray patterns[] = {"VendCode=", "VENDCODE=", "Param1=", "Param10=", "aab", "b",
                                   "ab aa", "xyz", "", "Param1=0;Param10=1;ProxyParam1=2;aaab aabX"};
    for (const QByteArray& pattern : patterns) {
        for (int64_t start = 0; start <= text.size(); start += 7) {
            for (const int64_t end : {int64_t(text.size()), start + 12}) {
                const int64_t clampedEnd = std::min<int64_t>(end, text.size());
                EXPECT_EQ(FindText(text, pattern, start, end),
                          naiveFind(text, pattern, start, clampedEnd))
                    << pattern.constData() << " from " << start << " to " << end;
            }
        }
    }
}

TEST(FindText, FoldsWindows1252Capitals)
{
    const QByteArray text = "Name=\xC4rger;";  // "Ärger" in the Windows code page
    EXPECT_EQ(FindText(text, "\xE4rger", 0, text.size()), 5);
}

TEST(FindText, OutOfRangePositionsAreClamped)
{
    EXPECT_EQ(FindText("abc", "c", -5, 100), 2);
    EXPECT_EQ(FindText("abc", "a", 2, 1), -1);
}

TEST(TSearch, NextContinuesAfterTheMatchAndCaseSensitivityRebuildsTheTable)
{
    const QByteArray text = "abcABCabc";
    TSearch search;
    search.SetPattern("abc");
    search.SetBuffer(text.constData(), text.size());
    EXPECT_EQ(search.First(), 0);
    EXPECT_EQ(search.Next(), 3);
    EXPECT_EQ(search.Next(), 6);
    EXPECT_EQ(search.Next(), -1);
    search.SetCaseSensitive(true);
    EXPECT_EQ(search.First(), 0);
    EXPECT_EQ(search.Next(), 6);
}

TEST(ReadValue, ValuesRunToTheSemicolonOrTheEnd)
{
    const QByteArray text = "[Device]\r\nvendcode=90;\r\nProdName=\"ABC\";\r\nCatalog=\"x\"";
    EXPECT_EQ(ReadValue(text, "VendCode=", 0, text.size()), "90");
    EXPECT_EQ(ReadValue(text, "ProdName=", 0, text.size()), "\"ABC\"");
    EXPECT_EQ(ReadValue(text, "Catalog=", 0, text.size()), "\"x\"");
    EXPECT_EQ(ReadValue(text, "Missing=", 0, text.size()), "");
    EXPECT_EQ(ReadValue(text, "VendCode=", 0, 20), "9");  // the range end cuts the value
    EXPECT_EQ(ReadQuotedValue(text, "ProdName=", 0, text.size()), "ABC");
    EXPECT_EQ(ReadQuotedValue(text, "Catalog=", 0, text.size()), "x");  // no ";": to the end
    EXPECT_EQ(ReadQuotedValue("A=\"\";", "A=", 0, 5), "");
    EXPECT_EQ(ReadQuotedValue("A=;", "A=", 0, 3), "");
}

TEST(ReadValueFields, SplitsEntriesIntoFields)
{
    const struct {
        const char* name;
        QByteArray text;
        QByteArrayList fields;
        int64_t position;  // of the ";" that ended the entry, or the range end
    } cases[] = {
        {"quoted comma and empty field", "Key=0,\"a,b\",,\"x\";", {"0", "a,b", "", "x"}, 16},
        {"trailing empty field", "Key=a,b,;", {"a", "b", ""}, 8},
        {"empty entry", "Key=;", {""}, 4},
        {"blanks before fields", "Key= 1,  \"t\" ,2 ;", {"1", "t", "2"}, 16},
        {"semicolon inside quotes", "Key=\"a;b\",c;", {"a;b", "c"}, 11},
        {"no semicolon: to the end", "Key=1,2", {"1", "2"}, 7},
        {"multi-line entry", "Key=1,\r\n 2;", {"1", "2"}, 10},
        {"key is not tied to a prefix", "X=1;ProxyKey=5;", {"5"}, 14},
    };
    for (const auto& c : cases) {
        int64_t position = -2;
        EXPECT_EQ(ReadValueFields(c.text, "Key=", 0, c.text.size(), position), c.fields)
            << c.name;
        EXPECT_EQ(position, c.position) << c.name;
    }
}

TEST(ReadValueFields, MissingKeysAndUnclosedQuotesGiveNone)
{
    int64_t position = 0;
    EXPECT_TRUE(ReadValueFields("Other=1;", "Key=", 0, 8, position).isEmpty());
    EXPECT_EQ(position, -1);
    const QByteArray unclosed = "Key=1,\"abc;";
    EXPECT_TRUE(ReadValueFields(unclosed, "Key=", 0, unclosed.size(), position).isEmpty());
    EXPECT_EQ(position, 6);  // reading stopped at the quote that never closes
}

TEST(ReadValueFields, SurvivesGarbage)
{
    QByteArray garbage;
    for (int i = 0; i < 20000; ++i) {
        garbage.append(char((i * 7919) % 256));
    }
    for (const QByteArray& text :
         {garbage, "Key=" + garbage, QByteArray("Key=") + QByteArray(50000, '"'),
          QByteArray("Key=") + QByteArray(50000, ','), QByteArray("Key=")}) {
        int64_t position = 0;
        const QByteArrayList fields = ReadValueFields(text, "Key=", 0, text.size(), position);
        EXPECT_LE(position, int64_t(text.size()));
    }
}
