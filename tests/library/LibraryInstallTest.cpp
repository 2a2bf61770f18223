#include "LibraryTestSupport.h"

#include "app/CorvixError.h"
#include "device/DeviceNetDevice.h"
#include "library/EdsNormaliser.h"

#include <QFileInfo>

namespace corvix::test {

namespace {

using InstallTest = LibraryTest;

TEST_F(InstallTest, StoresTheNormalisedTextUnderTheIdentityKey)
{
    const struct {
        QByteArray vendor, type, code, major;
        QString stored;
    } cases[] = {
        {"90", "12", "3", "1", "eds/90_12_3_1.eds"},
        {"0x5A", "0x0C", "3", "0x02", "eds/90_12_3_2.eds"},
        {"90", "12", "007", "1", "eds/90_12_7_1.eds"},
    };
    for (const auto& c : cases) {
        const QByteArray raw = MiniEds(c.vendor, c.type, c.code, c.major);
        EXPECT_TRUE(library->InstallEdsFile(source("dev.eds", raw))) << log.lines.join('\n').toStdString();
        EXPECT_EQ(read(libraryFile(c.stored)), NormaliseEdsText(raw)) << c.stored.toStdString();
    }
    EXPECT_TRUE(log.lines.isEmpty());
    EXPECT_TRUE(prompt.questions().isEmpty());
}

TEST_F(InstallTest, RefusesFilesWithoutARequiredKeywordOrWithABadIdentity)
{
    const struct {
        QByteArray raw;
        QString logLine;
    } cases[] = {
        {MiniEds("90", "12", "3", "1").replace("ProdName", "Name"),
         "Error : Key word \" ProdName=\" not present in EDS file"},
        {MiniEds("90", "12", "3", "1").replace("[File]", "[Fil]"),
         "Error : Key word \" [File]\" not present in EDS file"},
        {MiniEds("90", "12", "3", "1").replace("MajRev", "Major"),
         "Error : Key word \" MajRev=\" not present in EDS file"},
        {MiniEds("ninety", "12", "3", "1"), "'ninety' is not a valid integer value"},
        {MiniEds("90", "12", "3", "1", "1", "D", "DNetQC = abc;"),
         "Invalid Quick connect support value"},
    };
    for (const auto& c : cases) {
        log.lines.clear();
        EXPECT_FALSE(library->InstallEdsFile(source("bad.eds", c.raw)));
        EXPECT_EQ(log.lines, QStringList{c.logLine});
    }
    // Every definition error of the test device is logged.
    log.lines.clear();
    EXPECT_FALSE(library->InstallEdsFile(source(
        "bad.eds", MiniEds("90", "12", "3", "1", "1", "D",
                           "[ParamClass]\n MaxInst = 2;\n[Params]\n ProxyParam1 = 1;\n"
                           " Param2 = 0, 6, \"20 0F 24 02 30 01\", 0x0000, 0xC7, 1;\n"))));
    EXPECT_EQ(log.lines, (QStringList{"ProxyParam1  is not supported by Corvix",
                                      "Too few fields in parameter definition of Parameter 2"}));
    EXPECT_FALSE(QFileInfo::exists(libraryFile("eds")));
}

TEST_F(InstallTest, AnInstalledIdentityIsReplacedOnlyAfterYes)
{
    ASSERT_TRUE(library->InstallEdsFile(source("a.eds", MiniEds("90", "12", "3", "1", "1"))));
    source("a.ico", "old icon");
    ASSERT_TRUE(library->InstallEdsFile(source("a.eds", MiniEds("90", "12", "3", "1", "1"))));
    const QByteArray oldText = read(libraryFile("eds/90_12_3_1.eds"));
    source("b.ico", "new icon");
    const QString newer = source("b.eds", MiniEds("90", "12", "3", "1", "2"));

    prompt.queueButton(PromptButton::No);
    EXPECT_FALSE(library->InstallEdsFile(newer));
    EXPECT_EQ(read(libraryFile("eds/90_12_3_1.eds")), oldText);
    EXPECT_EQ(read(libraryFile("eds/90_12_3_1.ico")), "old icon");

    prompt.queueButton(PromptButton::Yes);
    EXPECT_TRUE(library->InstallEdsFile(newer));
    EXPECT_TRUE(read(libraryFile("eds/90_12_3_1.eds")).contains("MinRev=2;"));
    EXPECT_EQ(read(libraryFile("eds/90_12_3_1.ico")), "new icon");

    ASSERT_EQ(prompt.questions().size(), 3);
    EXPECT_EQ(prompt.questions().last().text,
              "This device does already exist. Do you want to proceed and overwrite the existing "
              "device?");
}

TEST_F(InstallTest, DeviceIconComesFromIconEntryOrTheSourceName)
{
    const struct {
        const char* name;
        QByteArray iconEntry;
        QStringList iconFiles;  // beside the source file, each holding its own name
        QByteArray stored;      // icon stored with the device, empty for none
    } cases[] = {
        {"icon entry", "Icon = \"dev.ico\";", {"dev.ico", "Dev.ico"}, "dev.ico"},
        {"entry found without regard to case", "Icon = \"DEV.ICO\";", {"dev.ico"}, "dev.ico"},
        {"entry missing on disk", "Icon = \"none.ico\";", {"Dev.ico"}, "Dev.ico"},
        {"no entry", "", {"Dev.ico"}, "Dev.ico"},
        {"underscore dropped", "Icon = \"my_dev.ico\";", {"my_dev.ico", "mydev.ico"}, "mydev.ico"},
        {"underscore name only", "Icon = \"my_dev.ico\";", {"my_dev.ico", "Dev.ico"}, "Dev.ico"},
        {"nothing there", "Icon = \"my_dev.ico\";", {"my_dev.ico"}, ""},
    };
    int code = 1;
    for (const auto& c : cases) {
        QDir(dir.filePath("src")).removeRecursively();
        for (const QString& icon : c.iconFiles) {
            source(icon, icon.toLatin1());
        }
        const QString key = QStringLiteral("eds/7_0_%1_1").arg(code);
        const QByteArray raw = MiniEds("7", "0", QByteArray::number(code++), "1", "1", "D",
                                       c.iconEntry);
        ASSERT_TRUE(library->InstallEdsFile(source("Dev.EDS", raw))) << c.name;
        EXPECT_EQ(QFileInfo::exists(libraryFile(key + ".ico")) ? read(libraryFile(key + ".ico"))
                                                               : QByteArray(),
                  c.stored)
            << c.name;
    }
}

TEST_F(InstallTest, InstalledFileGivesTheDeviceANetworkPlaces)
{
    ASSERT_TRUE(library->InstallEdsFile(
        source("d.eds", MiniEds("0x5A", "12", "3", "1", "1", "Gate, X"))));
    const auto device = library->CreateDeviceFromEdsFile(nullptr, 5, "EDS\\90_12_3_1.eds");
    EXPECT_EQ(device->ProductName, "Gate. X");
    EXPECT_EQ(device->VendorCode, 90);
    EXPECT_EQ(device->MacId, 5);
    EXPECT_THROW(library->CreateDeviceFromEdsFile(nullptr, 5, "eds\\1_1_1_1.eds"), FileError);
}

TEST_F(InstallTest, EveryFileIsReportedAsInstalledOrFailed)
{
    const QString good = source("good.eds", MiniEds("90", "12", "3", "1"));
    const QString bad = source("bad.eds", MiniEds("90", "12", "4", "1").replace("ProdName", "X"));
    const QString missing = dir.filePath("src/missing.eds");
    EXPECT_EQ(library->InstallEdsFiles({good, bad, missing}), 1);
    EXPECT_EQ(log.lines, (QStringList{
                             "Successfully installed: " + good,
                             "Error : Key word \" ProdName=\" not present in EDS file",
                             "Failed to install: " + bad,
                             "Error : Cannot read " + missing,
                             "Failed to install: " + missing,
                         }));
}

}  // namespace

}  // namespace corvix::test
