// Which pages a device window opens with, their help topics and the window caption.
#include <gtest/gtest.h>

#include <QFile>

#include "DeviceFixtures.h"
#include "device/DeviceWindowPages.h"

using namespace corvix;
using corvix::test::DeviceFromRaw;

namespace {

std::unique_ptr<TDeviceNetDevice> ShippedDevice(const char* edsFile)
{
    QFile file(QStringLiteral(CORVIX_SOURCE_DIR "/data/eds/") + QLatin1String(edsFile));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << edsFile;
    return DeviceFromRaw(file.readAll());
}

}  // namespace

TEST(DeviceWindowPages, FollowWhatTheDeviceHasAndTheOnlineState)
{
    using P = DevicePage;
    const struct {
        const char* edsFile;
        bool online;
        QList<DevicePage> pages;
    } cases[] = {
        {"example_sensor_no_params.eds", false, {P::Eds}},
        {"example_sensor_no_params.eds", true, {P::Advanced, P::Eds}},
        {"example_ac_drive.eds", false, {P::Parameter, P::Eds}},
        {"example_ac_drive.eds", true, {P::Parameter, P::Advanced, P::Eds}},
        // One table per direction, no ADR: offline neither diagnostics nor advanced page.
        {"Velmora_DNS100_Scanner.eds", false,
         {P::Parameter, P::ScanList, P::InputMapping, P::OutputMapping, P::Eds}},
        {"Velmora_DNS200_Scanner.eds", true,
         {P::Parameter, P::ScanList, P::InputMapping, P::OutputMapping, P::Adr, P::Diagnostics,
          P::Advanced, P::Eds}},
    };
    for (const auto& c : cases) {
        const auto device = ShippedDevice(c.edsFile);
        ASSERT_TRUE(device) << c.edsFile;
        EXPECT_EQ(DeviceWindowPages(*device, c.online), c.pages) << c.edsFile << c.online;
    }
}

TEST(DeviceWindowPages, HelpTopicByCaption)
{
    const struct {
        const char* caption;
        const char* topic;
    } cases[] = {
        {"&Parameter", "editindeviceproperties.htm"},
        {"Parameter", "editindeviceproperties.htm"},
        {"&Scanlist", "addingslavestoascnnerssca.htm"},
        {"&Input", "scanlisttableiomapping.htm"},
        {"Output", "scanlisttableiomapping.htm"},
        {"&ADR", "adr.htm"},
        {"Advan&ced", "advanced.htm"},
        {"&Advanced", "welcometopic.htm"},  // the advanced caption counts only as it stands
        {"&Diagnostics", "scanlistdiagnostics.htm"},
        {"&EDS", "welcometopic.htm"},
        {"&parameter", "welcometopic.htm"},  // case counts
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DevicePageHelpTopic(QLatin1String(c.caption)), QLatin1String(c.topic))
            << c.caption;
    }
    // Every page the window can have finds a topic of its own but the EDS page.
    for (DevicePage page : {DevicePage::Parameter, DevicePage::ScanList, DevicePage::InputMapping,
                            DevicePage::OutputMapping, DevicePage::Adr, DevicePage::Diagnostics,
                            DevicePage::Advanced}) {
        EXPECT_NE(DevicePageHelpTopic(DevicePageCaption(page)), "welcometopic.htm");
    }
}

TEST(DeviceWindowPages, CaptionNamesNodeProductAndUserName)
{
    const auto device = ShippedDevice("example_ac_drive.eds");
    device->MacId = 5;
    const QString plain = DeviceWindowCaption(*device);
    EXPECT_EQ(plain, QStringLiteral("Node 5 ") + device->ProductName);
    device->Name = QStringLiteral("Conveyor");
    EXPECT_EQ(DeviceWindowCaption(*device), plain + QStringLiteral("   Conveyor"));
}
