#include <gtest/gtest.h>

#include "../library/LibraryFixtures.h"
#include "DeviceFixtures.h"
#include "LocaleGuard.h"
#include "app/CorvixError.h"
#include "app/ScriptedPrompt.h"

namespace corvix {
namespace {

using test::DeviceFromRaw;
using test::LocaleGuard;
using test::ParamEntry;

// Installs a scripted prompt for the lifetime of a test.
class PromptGuard {
public:
    PromptGuard() { UserPrompt::setCurrent(&prompt); }
    ~PromptGuard() { UserPrompt::setCurrent(nullptr); }
    ScriptedPrompt prompt;
};

const QByteArray kIdentity = "VendCode=1;ProdType=2;ProdCode=3;MajRev=4;";

std::unique_ptr<TDeviceNetDevice> deviceWithParameters(int count)
{
    QByteArray raw = kIdentity + "[ParamClass] MaxInst=" + QByteArray::number(count) + ";";
    for (int i = 1; i <= count; ++i) {
        raw += ParamEntry(i);
    }
    return DeviceFromRaw(raw, 7);
}

QString countMessage(int macId)
{
    return QStringLiteral(
               "The number of parameters for the device with MAC-ID %1\n\rdoes not "
               "match the current EDS file. Parameter values will not be loaded.")
        .arg(macId);
}

TEST(DeviceSection, WriteGivesTheLineLayoutAndMarksValuesSaved)
{
    LocaleGuard guard(LocaleGuard::point());
    auto device = deviceWithParameters(2);
    device->Name = QStringLiteral("Conveyor 1");
    device->QuickConnectEnabled = true;
    device->Parameters()[1]->SetFromUserText(QStringLiteral("7"));
    EXPECT_FALSE(device->AllSaved());
    EXPECT_EQ(device->WriteSection(),
              QStringList({"$Device Begin", "7", "1", "2", "3", "4", "Conveyor 1", "1",
                           "$Parameters Begin", "1", "7", "$Parameters End", "$Device End"}));
    EXPECT_TRUE(device->AllSaved());

    // A [ParamClass] without parameters still writes the (empty) block; no [ParamClass] none.
    auto empty = DeviceFromRaw(kIdentity + "[ParamClass] MaxInst=0;");
    EXPECT_EQ(empty->WriteSection().mid(8),
              QStringList({"$Parameters Begin", "$Parameters End", "$Device End"}));
    auto none = DeviceFromRaw(kIdentity);
    EXPECT_EQ(none->WriteSection().mid(8), QStringList({"$Device End"}));
}

TEST(DeviceSection, RoundTripRestoresNameFlagAndValues)
{
    LocaleGuard guard(LocaleGuard::point());
    auto written = deviceWithParameters(3);
    written->Name = QStringLiteral("Mixer");
    written->QuickConnectEnabled = true;
    written->Parameters()[0]->SetFromUserText(QStringLiteral("9"));
    written->Parameters()[2]->SetFromUserText(QStringLiteral("0"));
    const QStringList lines = written->WriteSection();

    auto read = deviceWithParameters(3);
    PromptGuard prompts;
    read->ReadSection(lines);
    EXPECT_TRUE(prompts.prompt.questions().isEmpty());
    EXPECT_EQ(read->Name, QStringLiteral("Mixer"));
    EXPECT_TRUE(read->QuickConnectEnabled);
    EXPECT_EQ(read->Parameters()[0]->DataType().Value(), QStringLiteral("9"));
    EXPECT_EQ(read->Parameters()[1]->DataType().Value(), QStringLiteral("1"));
    EXPECT_EQ(read->Parameters()[2]->DataType().Value(), QStringLiteral("0"));
    EXPECT_EQ(read->WriteSection(), lines);
}

TEST(DeviceSection, ReadingEdgeCases)
{
    LocaleGuard guard(LocaleGuard::point());
    const QStringList header = {"$Device Begin", "7", "1", "2", "3", "4", "Pump", "1"};
    const struct {
        const char* name;
        int parameters;  // -1: no [ParamClass]
        QStringList lines;
        QString expectedName;  // empty: nothing loaded
        bool quickConnect;
        QStringList values;  // expected values afterwards
        bool countMessage;
    } cases[] = {
        {"count matches",
         2,
         header + QStringList{"$Parameters Begin", "5", "6", "$Parameters End", "$Device End"},
         "Pump",
         true,
         {"5", "6"},
         false},
        {"EDS gained a parameter",
         3,
         header + QStringList{"$Parameters Begin", "5", "6", "$Parameters End", "$Device End"},
         "Pump",
         true,
         {"1", "1", "1"},
         true},
        {"empty block, no list",
         -1,
         header + QStringList{"$Parameters Begin", "$Parameters End", "$Device End"},
         "Pump",
         true,
         {},
         false},
        {"empty block, empty list",
         0,
         header + QStringList{"$Parameters Begin", "$Parameters End", "$Device End"},
         "Pump",
         true,
         {},
         false},
        {"empty block, list with entries",
         1,
         header + QStringList{"$Parameters Begin", "$Parameters End", "$Device End"},
         "Pump",
         true,
         {"1"},
         true},
        {"no block at all", 1, header + QStringList{"$Device End"}, "Pump", true, {"1"}, true},
        // Without a begin marker the header lines must not be taken as values.
        {"end marker only",
         8,
         QStringList{"$Device Begin", "7", "1", "2", "3", "4", "Pump", "0", "$Parameters End"},
         "Pump",
         false,
         {"1", "1", "1", "1", "1", "1", "1", "1"},
         true},
        {"older file without the QC line",
         1,
         QStringList{"$Device Begin", "7", "1", "2", "3", "4", "Pump", "$Parameters Begin", "8",
                     "$Parameters End", "$Device End"},
         "Pump",
         false,
         {"8"},
         false},
        {"other identity",
         1,
         QStringList{"$Device Begin", "7", "1", "2", "3", "5", "Pump", "1", "$Parameters Begin",
                     "8", "$Parameters End"},
         {},
         false,
         {"1"},
         false},
        {"too short", 1, header.mid(0, 7), {}, false, {"1"}, false},
    };
    for (const auto& c : cases) {
        auto device =
            c.parameters < 0 ? DeviceFromRaw(kIdentity, 7) : deviceWithParameters(c.parameters);
        PromptGuard prompts;
        device->ReadSection(c.lines);
        EXPECT_EQ(device->Name, c.expectedName) << c.name;
        EXPECT_EQ(device->QuickConnectEnabled, c.quickConnect) << c.name;
        QStringList values;
        for (const auto& parameter : device->Parameters()) {
            values.append(parameter->DataType().Value());
        }
        EXPECT_EQ(values, c.values) << c.name;
        EXPECT_EQ(prompts.prompt.texts(),
                  c.countMessage ? QStringList{countMessage(7)} : QStringList{})
            << c.name;
    }
}

TEST(DeviceSection, NonNumericIdentityOrFlagLineRaises)
{
    const QStringList cases[] = {
        {"$Device Begin", "7", "one", "2", "3", "4", "Pump", "1"},
        {"$Device Begin", "7", "1", "2", "3", "", "Pump", "1"},
        {"$Device Begin", "7", "1", "2", "3", "4", "Pump", "yes"},
    };
    for (const QStringList& lines : cases) {
        auto device = DeviceFromRaw(kIdentity);
        EXPECT_THROW(device->ReadSection(lines), ConversionError) << lines.join('|').toStdString();
    }
}

TEST(DeviceSection, ScannerBlockTravelsWithTheSection)
{
    const QByteArray eds = test::ReadSourceFile("data/eds/Velmora_DNS100_Scanner.eds");
    auto written = DeviceFromRaw(eds);
    ASSERT_NE(written->ScannerConfig, nullptr);
    written->ScannerConfig->InterscanDelay = 42;
    written->ScannerConfig->Saved = false;
    EXPECT_FALSE(written->AllSaved());
    const QStringList lines = written->WriteSection();
    EXPECT_TRUE(written->AllSaved());
    EXPECT_EQ(lines.last(), QStringLiteral("$Device End"));
    EXPECT_TRUE(lines.contains(QStringLiteral("$Scanner Begin")));

    auto read = DeviceFromRaw(eds);
    read->ReadSection(lines);
    EXPECT_EQ(read->ScannerConfig->InterscanDelay, 42);
}

TEST(Device, ShowIdentityNamesTheFourValues)
{
    auto device = DeviceFromRaw("ProdName=\"Valve\";" + kIdentity);
    PromptGuard prompts;
    device->ShowIdentity();
    ASSERT_EQ(prompts.prompt.questions().size(), 1);
    const auto& question = prompts.prompt.questions().first();
    EXPECT_EQ(question.caption, QStringLiteral("Valve"));
    EXPECT_EQ(question.text, QStringLiteral("Vendor ID: 1\r\nProduct Type: 2\r\nProduct Code: 3"
                                            "\r\nMajor Revision: 4"));
}

TEST(Device, ChangeMacIdWithoutOwnerDoesNothing)
{
    auto device = DeviceFromRaw(kIdentity, 7);
    QObject window;
    device->ChangeMacId(&window, 12);
    EXPECT_EQ(device->MacId, 7);
    EXPECT_EQ(device->MacNotifyWindow, &window);
}

}  // namespace
}  // namespace corvix
