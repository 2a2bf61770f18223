// "corvix eds": the EDS commands on the example files and on small broken ones.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "CliRun.h"
#include "library/EdsNormaliser.h"

namespace corvix {
namespace {

using test::RunCorvix;

const QString kDrive = QStringLiteral(CORVIX_SOURCE_DIR "/data/eds/example_ac_drive.eds");
const QString kScanner = QStringLiteral(CORVIX_SOURCE_DIR "/data/eds/Velmora_DNS100_Scanner.eds");

const QByteArray kHeader =
    "[File] DescText=\"t\"; CreateDate=01-01-2024; CreateTime=00:00:00; Revision=1.0;\n"
    "[Device] VendCode=1; ProdType=2; ProdCode=3; MajRev=1; MinRev=1; VendName=\"v\";\n"
    "ProdTypeStr=\"p\"; ProdName=\"n\";\n";

class EdsCli : public ::testing::Test {
protected:
    QString write(const char* name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(QLatin1String(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(EdsCli, NormaliseWritesTheStoredBytes)
{
    QFile file(kDrive);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto run = RunCorvix({"eds", "normalise", kDrive});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.outBytes, NormaliseEdsText(file.readAll()));
}

TEST_F(EdsCli, CheckReportsWhyAFileWouldBeRefused)
{
    const struct {
        const char* name;
        QByteArray text;
        int exitCode;
        QString out;
    } cases[] = {
        {"good.eds", kHeader + "[ParamClass] MaxInst=1; Param1=0,,,0,0xC6,1,\"a\",\"\",\"\",0,9,1;",
         0, ""},
        {"nokey.eds", QByteArray(kHeader).replace("MinRev", "MaxRev"), 1,
         "Error : Key word \" MinRev=\" not present in EDS file\n"},
        {"params.eds",
         kHeader + "[ParamClass] MaxInst=2; ProxyParam1=1;"
                   "Param2=0,,,0,0x99,1,\"a\",\"\",\"\",0,9,1;",
         1,
         "ProxyParam1  is not supported by Corvix\n"
         "Illegal entry in parameter definition of Parameter 2\n"
         "Unsupported parameter data type in EDS-file\n"},
        {"qc.eds", kHeader + "DNetQC=yes;", 1, "Invalid Quick connect support value\n"},
    };
    for (const auto& c : cases) {
        const auto run = RunCorvix({"eds", "check", write(c.name, c.text)});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << run.err.toStdString();
        EXPECT_EQ(run.out, c.out) << c.name;
    }
}

TEST_F(EdsCli, ShowJsonDescribesDeviceAndScanner)
{
    const auto drive = RunCorvix({"eds", "show", kDrive, "--json"});
    ASSERT_EQ(drive.exitCode, 0) << drive.err.toStdString();
    const QJsonObject device = QJsonDocument::fromJson(drive.outBytes).object();
    EXPECT_EQ(device["productName"].toString(), QStringLiteral("Example AD-075 Drive"));
    const QJsonArray parameters = device["parameters"].toArray();
    ASSERT_EQ(parameters.size(), 10);
    const QJsonObject mode = parameters[9].toObject();
    EXPECT_EQ(mode["enumStrings"].toArray().size(), 3);
    EXPECT_EQ(mode["value"]["display"].toString(), QStringLiteral("V/Hz"));
    const QJsonArray groups = device["groups"].toArray();
    ASSERT_EQ(groups.size(), 4);
    EXPECT_EQ(groups[2]["name"].toString(), QStringLiteral("Setup"));
    EXPECT_EQ(groups[2]["members"].toArray(), QJsonArray({3, 5, 7, 9, 10}));
    EXPECT_FALSE(device.contains(QLatin1String("scanner")));

    const auto scanner = RunCorvix({"eds", "show", kScanner, "--json"});
    ASSERT_EQ(scanner.exitCode, 0) << scanner.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(scanner.outBytes).object();
    const QJsonObject tables = json["scanner"].toObject()["inputTables"].toObject();
    EXPECT_FALSE(tables["names"].toArray().isEmpty());

    const auto text = RunCorvix({"eds", "show", kDrive});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_TRUE(text.out.contains("  Setup: 3, 5, 7, 9, 10\n"));
}

TEST_F(EdsCli, ParamAppliesUserTextOrNetworkBytes)
{
    const struct {
        QStringList arguments;
        int exitCode;
        QString json;  // compact JSON printed on success
    } cases[] = {
        {{"3", "--input", "2.5"},
         0,
         R"({"bytes":"FA 00","display":"2.5","displayWithUnits":"2.5 s","number":3,"raw":"250"})"},
        {{"10", "--input", "closed-loop VECTOR"},
         0,
         R"({"bytes":"02","display":"Closed-loop vector","displayWithUnits":"Closed-loop vector )"
         R"(","number":10,"raw":"2"})"},
        {{"9", "--from-bytes", "90 01"},
         0,
         R"({"bytes":"90 01","display":"0.0","displayWithUnits":"0.0 degC","number":9,)"
         R"("raw":"400"})"},
        {{"42"}, 1, {}},
        {{"5", "--input", "fast"}, 1, {}},
        {{"3", "--from-bytes", "1 2 3 zz"}, 2, {}},
        {{"3", "--input", "1", "--from-bytes", "01 00"}, 2, {}},
        {{"three"}, 2, {}},
    };
    for (const auto& c : cases) {
        const auto run = RunCorvix(QStringList{"eds", "param", kDrive, "--json"} + c.arguments);
        const std::string name = c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << name << ": " << run.err.toStdString();
        if (c.exitCode == 0) {
            EXPECT_EQ(run.out, c.json + u'\n') << name;
        } else {
            EXPECT_TRUE(run.out.isEmpty()) << name;
            EXPECT_FALSE(run.err.isEmpty()) << name;
        }
    }
}

TEST_F(EdsCli, UsageErrorsAndMissingFiles)
{
    const struct {
        QStringList arguments;
        int exitCode;
    } cases[] = {
        {{"eds"}, 2},
        {{"eds", "frobnicate"}, 2},
        {{"eds", "show"}, 2},
        {{"eds", "check", "a", "b"}, 2},
        {{"eds", "show", "--bogus", "x"}, 2},
        {{"eds", "normalise", "/nonexistent/x.eds"}, 1},
        {{"eds", "show", "/nonexistent/x.eds"}, 1},
    };
    for (const auto& c : cases) {
        const auto run = RunCorvix(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << c.arguments.join(' ').toStdString();
    }
    for (const QStringList& help :
         {QStringList{"eds", "--help"}, QStringList{"eds", "show", "--help"},
          QStringList{"eds", "param", "--help"}, QStringList{"eds", "check", "--help"},
          QStringList{"eds", "normalise", "--help"}}) {
        const auto run = RunCorvix(help);
        EXPECT_EQ(run.exitCode, 0) << help.join(' ').toStdString();
        EXPECT_TRUE(run.out.startsWith("Usage: corvix eds")) << help.join(' ').toStdString();
    }
}

}  // namespace
}  // namespace corvix
