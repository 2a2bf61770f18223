// The network file: byte-exact round trips, the marker rules and every failure of loading.
#include "NetworkFixtures.h"

#include "app/ScriptedPrompt.h"
#include "device/DeviceNetDevice.h"
#include "network/DeviceNetWork.h"
#include "network/FileLines.h"

#include <QFile>

#include <csignal>
#include <sys/resource.h>

using namespace corvix;
using namespace corvix::test;

namespace {

struct PromptGuard {
    ScriptedPrompt prompt;
    PromptGuard() { UserPrompt::setCurrent(&prompt); }
    ~PromptGuard() { UserPrompt::setCurrent(nullptr); }
};

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

QList<int> MacIds(const TDeviceNetWork& network)
{
    QList<int> macs;
    for (const auto& device : network.Devices()) {
        macs.append(device->MacId);
    }
    return macs;
}

// A small network: an I/O block with a changed value, a scanner and a device without EDS file.
void Populate(TDeviceNetWork& network)
{
    TDeviceNetDevice* block = network.AddDevice(5, 1313, 7, 101, 1, QStringLiteral(u"Förderband"));
    ASSERT_NE(block, nullptr);
    ASSERT_FALSE(block->Parameters().empty());
    block->Parameters().front()->SetFromUserText(QStringLiteral("1"));
    ASSERT_NE(network.AddDevice(0, 1313, 12, 100, 1, QString()), nullptr);
    ASSERT_NE(network.AddDevice(17, 9, 9, 9, 9, QStringLiteral("unknown")), nullptr);
    network.DriverFile = QStringLiteral("/opt/corvix/Drivers/libSerialAdapterDriver.so");
    network.DriverConfig = QStringLiteral("COM=/dev/ttyUSB0;Rate=500");
}

}  // namespace

TEST(NetworkFile, SaveLoadSaveGivesIdenticalBytes)
{
    PromptGuard guard;
    ExampleLibrary library;
    QTemporaryDir folder;
    const QString path = folder.filePath("plant.net");

    TDeviceNetWork first(library.path());
    Populate(first);
    first.Caption = QStringLiteral("plant.net");
    WriteLinesToFile(path, first.SaveToLines());
    const QByteArray saved = ReadBytes(path);
    EXPECT_TRUE(saved.startsWith("$Network Begin\r\nplant.net\r\n$Driver Begin\r\n"));
    EXPECT_TRUE(saved.endsWith("$Device End\r\n$NetWork End\r\n"));
    EXPECT_TRUE(saved.contains("F\xF6rderband\r\n"));

    TDeviceNetWork second(library.path());
    QStringList progress;
    QObject::connect(&second, &TDeviceNetWork::progressChanged,
                     [&](const QString& text, int, int position) {
                         progress.append(QStringLiteral("%1 %2").arg(text).arg(position));
                     });
    ASSERT_TRUE(second.LoadFromFile(path));
    // Progress shows for each device section and is hidden (position 0) at the end.
    EXPECT_EQ(progress.size(), 4);
    EXPECT_TRUE(progress.first().startsWith(QStringLiteral("Loading ")));
    EXPECT_EQ(progress.last(), QStringLiteral(" 0"));
    EXPECT_TRUE(second.IsSaved());
    EXPECT_EQ(MacIds(second), QList<int>({0, 5, 17}));
    EXPECT_EQ(second.DeviceAt(5)->Name, QStringLiteral(u"Förderband"));
    EXPECT_TRUE(second.DeviceAt(17)->WithoutEds);
    EXPECT_EQ(second.DriverConfig, first.DriverConfig);
    second.MarkModified();
    ASSERT_TRUE(second.SaveNetwork());
    EXPECT_EQ(ReadBytes(path), saved);
    EXPECT_TRUE(guard.prompt.questions().isEmpty())
        << guard.prompt.texts().join('\n').toStdString();
}

TEST(NetworkFile, MarkersAndFailuresOfLoading)
{
    const QString wrongFormat = QStringLiteral(
        "The selected file was of wrong format or was not compatible with the actual device!");
    const QString device = QStringLiteral("$Device Begin|%1|9|9|9|9|name|0|$Device End");
    const struct {
        const char* name;
        QString text;  // lines joined by "|"
        bool loaded;
        QList<int> macs;
        QString message;  // a part of the one message shown; empty when none
        QString driverFile;
    } cases[] = {
        {"empty network", "$Network Begin|$NetWork End", true, {}, {}, {}},
        {"end marker in lower case", "$Network Begin|" + device.arg(1) + "|$Network End", true,
         {1}, {}, {}},
        {"end marker in capitals", "$NETWORK BEGIN|" + device.arg(1) + "|$NETWORK END", true,
         {1}, {}, {}},
        {"driver section after the devices",
         "$Network Begin|c|" + device.arg(2) + "|$Driver Begin|drv|cfg|$Driver End|$NetWork End",
         true, {2}, {}, "drv"},
        {"device lines in another case",
         "$Network Begin|$DEVICE BEGIN|3|9|9|9|9|n|0|$device end|$NetWork End", true, {3}, {},
         {}},
        {"same MAC ID twice keeps the first",
         "$Network Begin|" + device.arg(4) + "|$Device Begin|4|8|8|8|8|x|0|$Device End|"
         "$NetWork End", true, {4}, {}, {}},
        {"no begin marker", device.arg(1) + "|$NetWork End", false, {}, wrongFormat, {}},
        {"no end marker", "$Network Begin|" + device.arg(1), false, {}, wrongFormat, {}},
        {"marker with a blank", "$Network Begin |$NetWork End", false, {}, wrongFormat, {}},
        {"section without end",
         "$Network Begin|" + device.arg(1) + "|$Device Begin|2|9|9|9|9|n|0|$NetWork End", false,
         {1}, "line 11 has no \"$Device End\"", {}},
        {"short section", "$Network Begin|" + device.arg(1) + "|$Device Begin|2|9|$Device End|"
         "$NetWork End", false, {1}, "line 11 is too short", {}},
        {"name line missing", "$Network Begin|$Device Begin|2|9|9|9|9|$Device End|$NetWork End",
         false, {}, "is too short", {}},
        {"letters in the vendor line",
         "$Network Begin|$Device Begin|2|x9|9|9|9|n|0|$Device End|$NetWork End", false, {},
         "Line 4 should hold the vendor ID", {}},
        {"MAC ID out of range",
         "$Network Begin|$Device Begin|64|9|9|9|9|n|0|$Device End|$NetWork End", false, {},
         "MAC ID of a device (0 to 63)", {}},
        {"driver section at the very end", "$Network Begin|$NetWork End|$Driver Begin|drv",
         false, {}, "driver section at line 3", {}},
    };
    for (const auto& c : cases) {
        PromptGuard guard;
        QTemporaryDir emptyLibrary;
        TDeviceNetWork network(emptyLibrary.path());
        EXPECT_EQ(network.LoadFromLines(c.text.split('|')), c.loaded) << c.name;
        EXPECT_EQ(MacIds(network), c.macs) << c.name;
        EXPECT_EQ(network.DriverFile, c.driverFile) << c.name;
        const QStringList shown = guard.prompt.texts();
        if (c.message.isEmpty()) {
            EXPECT_TRUE(shown.isEmpty()) << c.name << ": " << shown.join('\n').toStdString();
        } else {
            ASSERT_EQ(shown.size(), 1) << c.name;
            EXPECT_TRUE(shown.first().contains(c.message)) << c.name << ": "
                                                           << shown.first().toStdString();
        }
    }
}

TEST(NetworkFile, GarbageAndUnreadableFilesFailWithAMessage)
{
    QTemporaryDir folder;
    const QString garbage = folder.filePath("garbage.net");
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QByteArray bytes;
    for (int i = 0; i < 4096; ++i) {
        bytes.append(char((i * 7919) & 0xFF));
    }
    file.write(bytes);
    file.close();
    for (const QString& path : {garbage, folder.filePath("missing.net")}) {
        PromptGuard guard;
        QTemporaryDir emptyLibrary;
        TDeviceNetWork network(emptyLibrary.path());
        EXPECT_FALSE(network.LoadFromFile(path));
        EXPECT_EQ(guard.prompt.texts().size(), 1);
        EXPECT_EQ(network.FilePath, path);
    }
}

TEST(NetworkFile, AFailedSaveKeepsTheOldFileAndTheNetworkModified)
{
    PromptGuard guard;
    ExampleLibrary library;
    QTemporaryDir folder;
    const QString path = folder.filePath("plant.net");
    TDeviceNetWork network(library.path());
    network.AddDevice(1, 9, 9, 9, 9, QString());
    network.FilePath = path;
    WriteLinesToFile(path, network.SaveToLines());
    const QByteArray old = ReadBytes(path);

    for (int macId = 2; macId < 40; ++macId) {
        network.AddDevice(macId, 1313, 7, 101, 1, QString());
    }
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit normal = limit;
    limit.rlim_cur = old.size() + 100;
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool saved = network.SaveNetwork();
    setrlimit(RLIMIT_FSIZE, &normal);

    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadBytes(path).size(), old.size());
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_FALSE(network.IsSaved());
    EXPECT_EQ(guard.prompt.texts().size(), 1);
}

TEST(NetworkFile, SaveAsAndUnchangedNetworks)
{
    PromptGuard guard;
    QTemporaryDir folder;
    QTemporaryDir emptyLibrary;
    TDeviceNetWork network(emptyLibrary.path());
    network.Caption = QStringLiteral("Untitled2");
    EXPECT_TRUE(network.SaveNetwork());  // unchanged: nothing written, nothing asked
    EXPECT_TRUE(guard.prompt.fileRequests().isEmpty());

    network.AddDevice(3, 9, 9, 9, 9, QString());
    EXPECT_FALSE(network.SaveNetwork());  // never saved: Save As, cancelled
    ASSERT_EQ(guard.prompt.fileRequests().size(), 1);
    EXPECT_EQ(guard.prompt.fileRequests().first().fileName, QStringLiteral("Untitled2"));
    EXPECT_TRUE(guard.prompt.fileRequests().first().folder.endsWith(QStringLiteral("/data")));
    EXPECT_TRUE(network.FilePath.isEmpty());
    EXPECT_FALSE(network.IsSaved());

    // The caption line holds the caption the network had when the user chose the file.
    const QString path = folder.filePath("plant.net");
    guard.prompt.queueFiles({path});
    EXPECT_TRUE(network.SaveNetwork());
    EXPECT_TRUE(network.IsSaved());
    EXPECT_EQ(network.Caption, QStringLiteral("plant.net"));
    EXPECT_EQ(ReadLinesFromFile(path).at(1), QStringLiteral("Untitled2"));

    // Save As into a folder that does not exist fails and leaves the network modified.
    network.MarkModified();
    guard.prompt.queueFiles({folder.filePath("no/such/plant.net")});
    EXPECT_FALSE(network.SaveNetworkAs());
    EXPECT_FALSE(network.IsSaved());
}

TEST(NetworkFile, TheExampleNetworkLoadsAndSavesUnchanged)
{
    PromptGuard guard;
    ExampleLibrary library;
    const QString path = QStringLiteral(CORVIX_SOURCE_DIR "/data/networks/example_plant.net");
    TDeviceNetWork network(library.path());
    ASSERT_TRUE(network.LoadFromFile(path));
    EXPECT_EQ(MacIds(network), QList<int>({0, 5, 6, 9}));
    EXPECT_NE(network.DeviceAt(0)->ScannerConfig, nullptr);
    EXPECT_EQ(JoinFileLines(network.SaveToLines()), ReadBytes(path));
    EXPECT_TRUE(guard.prompt.questions().isEmpty());
}
