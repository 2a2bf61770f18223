#include "library/EdsKeyIndex.h"

#include "LibraryFixtures.h"
#include "app/EdsValueReaders.h"
#include "app/TextSearch.h"
#include "library/EdsNormaliser.h"

#include <QDir>

#include <gtest/gtest.h>

#include <random>

namespace corvix {
namespace {

// A device text with the traps of keyword search: keys that end another key (Param1= in
// ProxyParam1=, Param10=, Param11=), keys inside quoted strings, mixed letter case, a folded
// Windows-1252 capital before "=", enumerations after the definitions.
QByteArray generatedText(int parameters)
{
    QByteArray raw = "[File]\r\nDescText=\"Param1=inside a string\";\r\n[ParamClass]\r\nMaxInst=" +
                     QByteArray::number(parameters) + ";\r\n[Params]\r\n";
    for (int i = 1; i <= parameters; ++i) {
        const QByteArray n = QByteArray::number(i);
        raw += (i % 7 == 0 ? "PARAM" : "Param") + n + "=0,6,\"20 0F 24 " + n +
               " 30 01\",0x0000,0xC7,2,\"Speed " + n + "\",\"rpm\",\"help Param" + n +
               "=x\",0,100,1,1,1,1,0,,,,,0;\r\n";
        if (i % 13 == 0) {
            raw += "ProxyParam" + n + "=1,2;\r\n";
        }
    }
    raw += "[EnumPar]\r\n";
    for (int i = 1; i <= parameters; i += 3) {
        raw += "param" + QByteArray::number(i) + "=\"a\",\"b\";\r\n";
    }
    raw += "[Groups]\r\nGroup1=\"G\",2,1,2;\r\n\xC0x=1;\r\nk\xE0=2;\r\n";
    return raw;
}

QByteArrayList keysFor(int parameters)
{
    QByteArrayList keys = {"VendCode=", "vendcode=", "DescText=", "MaxInst=", "Group1=",
                           "Group2=", "aram1=", "m1=", "1=", "=", "", "Param1", "[Params]",
                           "[params]", "[IOInfo]", "\"Param1=", "Param1=0", "\xE0x=", "\xC0X=",
                           "kÀ=", "k\xC0=", "k\xE0=", ";\r\n", QByteArray(40, 'a') + "=",
                           "Param99999="};
    for (int i = 1; i <= parameters + 2; ++i) {
        const QByteArray n = QByteArray::number(i);
        keys << "Param" + n + "=" << "ProxyParam" + n + "=" << "ProxiedParam" + n + "=";
    }
    return keys;
}

// Ranges that sit on the occurrences of key and around the ends of the text.
QList<QPair<int64_t, int64_t>> rangesFor(const QByteArray& text, const QByteArray& key)
{
    const int64_t size = text.size();
    QList<QPair<int64_t, int64_t>> ranges = {{0, size}, {-5, size + 5}, {size, size},
                                             {size / 2, size}, {0, size / 2}, {7, 3}};
    int64_t at = FindText(text, key, 0, size);
    for (int n = 0; at >= 0 && n < 3; ++n) {
        const int64_t m = key.size();
        ranges << QPair<int64_t, int64_t>{at, size} << QPair<int64_t, int64_t>{at + 1, size}
               << QPair<int64_t, int64_t>{0, at + m} << QPair<int64_t, int64_t>{0, at + m - 1};
        at = FindText(text, key, at + 1, size);
    }
    return ranges;
}

void ExpectSameAsTextSearch(const QByteArray& text, const QByteArrayList& keys, const char* name)
{
    const EdsKeyIndex index(text);
    for (const QByteArray& key : keys) {
        for (const auto& [start, end] : rangesFor(text, key)) {
            const std::string where = std::string(name) + " key " + key.toStdString() + " [" +
                                      std::to_string(start) + "," + std::to_string(end) + ")";
            ASSERT_EQ(index.Find(key, start, end), FindText(text, key, start, end)) << where;
            EXPECT_EQ(ReadValue(index, key, start, end), ReadValue(text, key, start, end)) << where;
            EXPECT_EQ(ReadQuotedValue(index, key, start, end),
                      ReadQuotedValue(text, key, start, end))
                << where;
            int64_t indexPosition = -2;
            int64_t searchPosition = -3;
            EXPECT_EQ(ReadValueFields(index, key, start, end, indexPosition),
                      ReadValueFields(text, key, start, end, searchPosition))
                << where;
            EXPECT_EQ(indexPosition, searchPosition) << where;
        }
    }
}

TEST(EdsKeyIndex, AnswersLikeTextSearchOnGeneratedDevice)
{
    const QByteArray text = NormaliseEdsText(generatedText(120));
    ExpectSameAsTextSearch(text, keysFor(120), "normalised");
    // The index must not rely on normalisation: the raw text has blanks, quotes with "=" ...
    ExpectSameAsTextSearch(generatedText(30), keysFor(30), "raw");
}

TEST(EdsKeyIndex, AnswersLikeTextSearchOnRealFiles)
{
    QStringList paths;
    for (const char* fixture : {"vat_apc_excerpt.eds", "setconfig_example_crlf.eds",
                                "netx_comment_after_header.eds"}) {
        paths << QStringLiteral("tests/library/fixtures/") + fixture;
    }
    const QDir examples(QStringLiteral(CORVIX_SOURCE_DIR "/data/eds"));
    for (const QString& name : examples.entryList({QStringLiteral("*.eds")}, QDir::Files)) {
        paths << "data/eds/" + name;
    }
    QByteArrayList keys = keysFor(20);
    keys << "Enum1=" << "Input1=" << "Output1=" << "PollInfo=" << "ProdName=" << "Icon=";
    for (const QString& path : paths) {
        const QByteArray text = NormaliseEdsText(test::ReadSourceFile(path));
        ExpectSameAsTextSearch(text, keys, path.toUtf8().constData());
    }
}

// Texts and keys drawn from a small alphabet full of near-misses: many "=", letters in both
// cases, digits, quotes and Windows-1252 capitals and their lower-case forms.
TEST(EdsKeyIndex, AnswersLikeTextSearchOnRandomTexts)
{
    const QByteArray alphabet = "aApP1=0=;\",\xC0\xE0 \r\n";
    std::mt19937 random(20240611);
    auto draw = [&](int length) {
        QByteArray bytes;
        for (int i = 0; i < length; ++i) {
            bytes += alphabet[int(random() % alphabet.size())];
        }
        return bytes;
    };
    for (int round = 0; round < 200; ++round) {
        const QByteArray text = draw(int(random() % 300));
        const EdsKeyIndex index(text);
        for (int k = 0; k < 40; ++k) {
            QByteArray key = draw(int(random() % 6));
            if (k % 2 == 0) {
                key += '=';
            }
            const int64_t start = int64_t(random() % 320) - 10;
            const int64_t end = int64_t(random() % 320) - 10;
            ASSERT_EQ(index.Find(key, start, end), FindText(text, key, start, end))
                << "text " << text.toHex().toStdString() << " key " << key.toHex().toStdString()
                << " [" << start << "," << end << ")";
        }
    }
}

}  // namespace
}  // namespace corvix
