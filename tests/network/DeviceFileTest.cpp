// Device data files: export and import of one device section.
#include "NetworkFixtures.h"

#include "app/CorvixError.h"
#include "device/DeviceNetDevice.h"
#include "network/DeviceFile.h"
#include "network/DeviceNetWork.h"

using namespace corvix;
using namespace corvix::test;

TEST(DeviceFile, ExportImportAndFilesThatAreNotDeviceData)
{
    ExampleLibrary library;
    QTemporaryDir folder;
    TDeviceNetWork network(library.path());
    TDeviceNetDevice* source = network.AddDevice(3, 1313, 7, 101, 1, QStringLiteral("Belt"));
    TDeviceNetDevice* target = network.AddDevice(4, 1313, 7, 101, 1, QString());
    ASSERT_TRUE(source && target);
    source->Parameters().front()->SetFromUserText(QStringLiteral("1"));
    network.SaveToLines();  // as if saved before the edit below
    network.SavedFlag = true;
    TDevParameterClass& edited = *source->Parameters().front();
    edited.SetFromUserText(edited.EnumStrings().isEmpty() ? QStringLiteral("2")
                                                          : edited.EnumStrings().last());
    ASSERT_FALSE(edited.Saved());
    const QString good = folder.filePath("belt.dev");
    SaveDeviceFile(*source, good);
    // The network file does not hold the new value: closing must still ask to save it.
    EXPECT_FALSE(network.IsSaved());
    network.SaveToLines();
    network.SavedFlag = true;
    EXPECT_TRUE(LoadDeviceFile(*target, good));
    EXPECT_FALSE(network.IsSaved());
    EXPECT_EQ(target->Name, QStringLiteral("Belt"));
    EXPECT_EQ(target->WriteSection().mid(2), source->WriteSection().mid(2));

    auto write = [&](const char* name, const QByteArray& bytes) {
        QFile file(folder.filePath(QLatin1String(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    // Another identity loads nothing and says so through the result.
    EXPECT_FALSE(LoadDeviceFile(
        *target, write("other.dev", "$Device Begin\r\n4\r\n1\r\n2\r\n3\r\n4\r\nx\r\n0\r\n"
                                    "$Device End\r\n")));
    EXPECT_EQ(target->Name, QStringLiteral("Belt"));

    const struct {
        const char* name;
        QByteArray bytes;
    } notDeviceData[] = {
        {"empty.dev", ""},
        {"network.dev", "$Network Begin\r\n$NetWork End\r\n"},
        {"no-end.dev", "$Device Begin\r\n4\r\n1313\r\n7\r\n101\r\n1\r\nx\r\n0\r\n"},
        {"garbage.dev", QByteArray("\x00\xff\r\x80$Device", 9)},
    };
    for (const auto& c : notDeviceData) {
        EXPECT_THROW(LoadDeviceFile(*target, write(c.name, c.bytes)), FileError) << c.name;
    }
    const QString shortSection = write("short.dev", "$Device Begin\r\n4\r\n$Device End\r\n");
    EXPECT_THROW(LoadDeviceFile(*target, shortSection), ConversionError);
    EXPECT_THROW(LoadDeviceFile(*target, folder.filePath("missing.dev")), FileError);
    EXPECT_THROW(SaveDeviceFile(*source, folder.filePath("no/such/folder/x.dev")), FileError);
}
