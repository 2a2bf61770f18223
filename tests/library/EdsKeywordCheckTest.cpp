#include "library/EdsKeywordCheck.h"

#include <gtest/gtest.h>

namespace corvix {
namespace {

const QByteArray completeText =
    "[File]\r\nDescText=\"d\";\r\nCreateDate=01-01-2024;\r\nCreateTime=00:00:00;\r\n"
    "Revision=1.0;\r\n[Device]\r\nVendCode=1;\r\nProdType=0;\r\nProdCode=1;\r\nMajRev=1;\r\n"
    "MinRev=1;\r\nVendName=\"v\";\r\nProdTypeStr=\"t\";\r\nProdName=\"p\";\r\n";

QByteArray without(const QByteArray& entry)
{
    QByteArray text = completeText;
    return text.replace(entry, "");
}

TEST(CheckEdsKeywords, ReportsTheFirstMissingKeyword)
{
    struct Case {
        const char* name;
        QByteArray text;
        bool complete;
        QString report;
    };
    const Case cases[] = {
        {"all present", completeText, true, ""},
        {"letter case is ignored", completeText.toLower(), true, ""},
        {"empty text", "", false, "Error : Key word \" [File]\" not present in EDS file"},
        {"section header missing", without("[Device]\r\n"), false,
         "Error : Key word \" [Device]\" not present in EDS file"},
        // "CreateDate=" must not stand in for "CreateTime=".
        {"one entry missing", without("CreateTime=00:00:00;\r\n"), false,
         "Error : Key word \" CreateTime=\" not present in EDS file"},
        {"first of two missing in check order", without("MajRev=1;\r\n").replace("ProdName", "X"),
         false, "Error : Key word \" MajRev=\" not present in EDS file"},
        {"key without its = sign", QByteArray(completeText).replace("ProdName=", "ProdName"),
         false, "Error : Key word \" ProdName=\" not present in EDS file"},
    };
    for (const Case& c : cases) {
        QString report = QStringLiteral("stale");
        EXPECT_EQ(CheckEdsKeywords(c.text, report), c.complete) << c.name;
        EXPECT_EQ(report, c.report) << c.name;
    }
}

}  // namespace
}  // namespace corvix
