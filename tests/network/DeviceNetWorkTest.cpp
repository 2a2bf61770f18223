// The device list of a network document: ordering, the browse semantics, the 64 limit, paste,
// copying data between devices and relinking to the library.
#include "NetworkFixtures.h"

#include "app/CorvixError.h"
#include "device/DeviceNetDevice.h"
#include "network/DeviceNetWork.h"

#include <QFile>

using namespace corvix;
using namespace corvix::test;

namespace {

QList<int> MacIds(const TDeviceNetWork& network)
{
    QList<int> macs;
    for (const auto& device : network.Devices()) {
        macs.append(device->MacId);
    }
    return macs;
}

}  // namespace

TEST(DeviceNetWork, DevicesStaySortedAndBrowseAnswersOnlyMarkMissing)
{
    QTemporaryDir emptyLibrary;
    TDeviceNetWork network(emptyLibrary.path());
    for (int mac : {10, 3, 7}) {
        ASSERT_NE(network.AddDevice(mac, 9, 9, 9, 9, QString()), nullptr);
    }
    EXPECT_EQ(MacIds(network), QList<int>({3, 7, 10}));
    EXPECT_FALSE(network.IsSaved());

    // Another identity at an occupied MAC ID marks the device missing; the same clears it.
    EXPECT_EQ(network.AddDevice(7, 9, 9, 9, 8, QString()), nullptr);
    EXPECT_TRUE(network.DeviceAt(7)->NotResponding);
    EXPECT_EQ(network.AddDevice(7, 9, 9, 9, 9, QString()), nullptr);
    EXPECT_FALSE(network.DeviceAt(7)->NotResponding);
    EXPECT_EQ(network.Devices().size(), 3u);

    EXPECT_TRUE(network.ChangeMacId(10, 0));
    EXPECT_FALSE(network.ChangeMacId(3, 7));  // taken
    EXPECT_FALSE(network.ChangeMacId(3, 64));
    EXPECT_EQ(MacIds(network), QList<int>({0, 3, 7}));

    // Names that would break the device section in the file are refused.
    for (const QString name : {"$Device End", "two\nlines", "cr\r", "$x"}) {
        EXPECT_FALSE(network.RenameDevice(3, name)) << name.toStdString();
    }
    EXPECT_TRUE(network.RenameDevice(3, "Conveyor $1"));
    EXPECT_TRUE(network.RenameDevice(3, QString()));

    network.SavedFlag = true;
    EXPECT_TRUE(network.DeleteDevice(3));
    EXPECT_FALSE(network.IsSaved());
    EXPECT_THROW(network.DropLibraryFile(QStringLiteral("C:\\lib\\eds\\drive.eds"), 5),
                 ConversionError);
    EXPECT_EQ(network.DropLibraryFile(QStringLiteral("C:\\lib\\eds\\1_2_3_4.eds"), 5)->ProductCode,
              3);
}

TEST(DeviceNetWork, SixtyFourDevicesFillTheNetwork)
{
    QTemporaryDir emptyLibrary;
    TDeviceNetWork network(emptyLibrary.path());
    for (int mac = 0; mac < TDeviceNetWork::MaxDevices; ++mac) {
        network.AddDevice(mac, 9, 9, 9, 9, QString());
    }
    EXPECT_TRUE(network.FreeMacIds().isEmpty());
    const QStringList section = network.DeviceAt(0)->WriteSection();
    for (int mac : {-1, 64, 5}) {
        EXPECT_EQ(network.PasteDevice(section, mac), nullptr) << mac;
        EXPECT_EQ(network.AddDevice(mac, 1, 1, 1, 1, QString()), nullptr) << mac;
    }
    EXPECT_EQ(network.Devices().size(), 64u);
}

TEST(DeviceNetWork, CopyPasteAndCopyDataBetweenDevicesOfOneIdentity)
{
    ExampleLibrary library;
    TDeviceNetWork network(library.path());
    TDeviceNetDevice* source = network.AddDevice(4, 1313, 7, 101, 1, QStringLiteral("Belt"));
    ASSERT_NE(source, nullptr);
    source->Parameters().front()->SetFromUserText(QStringLiteral("1"));
    const QString value = source->Parameters().front()->DataType().Value();

    // Nothing to copy from a device without EDS file or without parameters.
    network.AddDevice(20, 9, 9, 9, 9, QString());
    network.AddDevice(21, 1313, 6, 305, 1, QString());
    EXPECT_TRUE(network.CopyDevice(20).isEmpty());
    EXPECT_TRUE(network.CopyDevice(21).isEmpty());

    const QStringList clipboard = network.CopyDevice(4);
    TDeviceNetDevice* pasted = network.PasteDevice(clipboard, 9);
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->MacId, 9);
    EXPECT_EQ(pasted->Name, QStringLiteral("Belt"));
    EXPECT_EQ(pasted->Parameters().front()->DataType().Value(), value);
    EXPECT_EQ(network.PasteDevice(clipboard, 9), nullptr);  // occupied now
    EXPECT_EQ(network.PasteDevice({QStringLiteral("$Network Begin")}, 10), nullptr);

    TDeviceNetDevice* plain = network.AddDevice(11, 1313, 7, 101, 1, QString());
    TDeviceNetDevice* drive = network.AddDevice(12, 1313, 2, 202, 3, QString());
    EXPECT_FALSE(network.CopyDeviceData(*source, *drive));
    EXPECT_FALSE(network.CopyDeviceData(*source, *source));
    EXPECT_TRUE(network.CopyDeviceData(*source, *plain));
    EXPECT_EQ(plain->Name, QStringLiteral("Belt"));
    EXPECT_EQ(plain->MacId, 11);
    EXPECT_EQ(plain->Parameters().front()->DataType().Value(), value);
}

TEST(DeviceNetWork, RelinkRebuildsDevicesWhoseEdsFileCameOrWent)
{
    ExampleLibrary library;
    TDeviceNetWork network(library.path());
    network.AddDevice(1, 1313, 7, 101, 1, QStringLiteral("kept only while linked"));
    network.AddDevice(2, 1313, 2, 202, 3, QStringLiteral("stays"));
    network.AddDevice(3, 5, 5, 5, 5, QString());
    ASSERT_TRUE(QFile::rename(library.edsPath(IoBlockKey), library.edsPath("5_5_5_5")));
    network.RelinkDevices();
    EXPECT_TRUE(network.DeviceAt(1)->WithoutEds);
    EXPECT_TRUE(network.DeviceAt(1)->Name.isEmpty());
    EXPECT_EQ(network.DeviceAt(2)->Name, QStringLiteral("stays"));
    EXPECT_FALSE(network.DeviceAt(3)->WithoutEds);
    EXPECT_EQ(MacIds(network), QList<int>({1, 2, 3}));
}

TEST(DeviceNetWork, OwningScannerIsTheLastScannerServingTheNodeWithoutSharedInputs)
{
    ExampleLibrary library;
    TDeviceNetWork network(library.path());
    TDeviceNetDevice* first = network.AddDevice(2, 1313, 12, 100, 1, QString());
    TDeviceNetDevice* second = network.AddDevice(7, 1313, 12, 100, 1, QString());
    ASSERT_TRUE(first && first->ScannerConfig && second && second->ScannerConfig);
    auto serve = [](TDeviceNetDevice* scanner, int macId, bool shared) {
        TScanListEntry& entry = scanner->ScannerConfig->ScanList[macId];
        entry.Active = 1;
        entry.EntryFlags = shared ? ScanListSharedInputs : 0;
    };
    serve(first, 5, false);
    serve(second, 5, false);
    serve(first, 9, false);
    serve(second, 9, true);
    serve(first, 2, false);  // a scanner in its own scan list does not own itself
    const struct {
        int macId, owner;
    } cases[] = {{5, 7}, {9, 2}, {2, -1}, {30, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(network.OwningScanner(c.macId), c.owner) << c.macId;
    }
}
