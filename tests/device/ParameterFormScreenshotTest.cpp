// A picture of the parameter page as a user sees it online: a drive with forty parameters,
// enumerations, units, scaled values, read-only ones and values in error, in a device window
// of the size it opens with. Saved only when CORVIX_SCREENSHOT_DIR is set (scripts/screenshots).
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "app/ScriptedPrompt.h"
#include "device/DeviceFixtures.h"
#include "device/ui/DeviceNetDeviceGuiform.h"
#include "device/ui/ParameterProgressDialog.h"
#include "network/DeviceNetWork.h"
#include "support/Screenshot.h"
#include "support/WaitFor.h"

using namespace corvix;

namespace {

// Forty parameters of an AC drive; every fifth one is read-only, every seventh an enumeration.
QByteArray DriveEds()
{
    const char* const names[] = {"Output Frequency",   "Commanded Freq",
                                 "Output Current",     "Output Voltage",
                                 "DC Bus Voltage",     "Drive Status",
                                 "Fault Code",         "Heatsink Temperature",
                                 "Motor NP Volts",     "Motor NP Hertz",
                                 "Motor NP Current",   "Motor NP RPM",
                                 "Acceleration Time",  "Deceleration Time",
                                 "Minimum Frequency",  "Maximum Frequency",
                                 "Start Source",       "Stop Mode",
                                 "Speed Reference",    "Digital Input 1",
                                 "Digital Input 2",    "Relay Out Sel",
                                 "Analog Out Sel",     "Boost Select",
                                 "Skip Frequency",     "Skip Freq Band",
                                 "Current Limit",      "Motor OL Current",
                                 "PWM Frequency",      "Auto Restart Tries",
                                 "Auto Restart Delay", "Comm Loss Action",
                                 "Comm Loss Time",     "Purge Frequency",
                                 "Internal Freq",      "Preset Freq 1",
                                 "Preset Freq 2",      "Preset Freq 3",
                                 "Elapsed Run Time",   "Control Software Version"};
    QByteArray raw = "[ParamClass] MaxInst = 40; Descriptor = 0x0004;\n[Params]\n";
    QByteArray enums = "[EnumPar]\n";
    for (int i = 1; i <= 40; ++i) {
        const QByteArray n = QByteArray::number(i);
        const QByteArray name = names[i - 1];
        if (i % 7 == 0) {
            raw += "Param" + n + " = 0,,,0x0000,0xC6,1,\"" + name + "\",\"\",\"Chooses how the " +
                   "drive acts\",0,3,1;\n";
            enums += "Param" + n + " = \"Disabled\", \"Ramp to Stop\", \"Coast to Stop\", " +
                     "\"DC Brake\";\n";
        } else if (i % 5 == 0) {
            raw += "Param" + n + " = 0,,,0x0054,0xC7,2,\"" + name +
                   "\",\"V\",\"Measured by the drive\",0,1000,0,1,10,1,0,,,,,1;\n";
        } else if (i % 3 == 0) {
            raw += "Param" + n + " = 0,,,0x0044,0xC7,2,\"" + name +
                   "\",\"Hz\",\"Frequency\\nin tenths of a hertz\",0,4000,600,1,1,1,0,,,,,1;\n";
        } else {
            raw += "Param" + n + " = 0,,,0x0000,0xC7,2,\"" + name + "\",\"s\",\"\",0,600,10;\n";
        }
    }
    return raw + enums + "[Groups] Group1 = \"Motor Data\", 4, 9, 10, 11, 12;\n";
}

TEST(ParameterFormScreenshot, DriveWithFortyParametersOnline)
{
    ScriptedPrompt prompt;
    prompt.queueButton(PromptButton::No);
    UserPrompt::setCurrent(&prompt);
    QTemporaryDir library;
    TDeviceNetWork network(library.path());
    network.NetworkStatus = CORVIX_NET_ONLINE;
    auto device = corvix::test::DeviceFromRaw(DriveEds());
    ASSERT_EQ(device->Parameters().size(), 40u);
    // Values the device could not give or the file held wrongly show red.
    device->ParameterAt(0, 13)->DataType().SetValue(QStringLiteral("-1"));
    device->ParameterAt(0, 10)->DataType().SetValue(QStringLiteral("x"));

    device->ProductName = QStringLiteral("Example AC Drive");
    device->Name = QStringLiteral("Conveyor 3");
    TDeviceNetDeviceGuiform window(&network, device.get(), QIcon(), nullptr);
    window.show();
    ASSERT_TRUE(corvix::test::WaitFor([&] { return prompt.scriptUsedUp(); }));
    corvix::test::SaveScreenshot(window, QStringLiteral("parameter-page-online"));
    UserPrompt::setCurrent(nullptr);
}

TEST(ParameterFormScreenshot, ProgressWindowDuringAnUpload)
{
    QWidget owner;
    owner.resize(500, 480);
    owner.show();
    TParameteprogressdialog progress(40, &owner);
    progress.Advance(QStringLiteral("Processing parameter request 13/40"), 13);
    corvix::test::SaveScreenshot(progress, QStringLiteral("parameter-progress-window"));
}

}  // namespace
