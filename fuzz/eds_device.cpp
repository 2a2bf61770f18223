// Random bytes through the device reader: normalised and built into a device as the library's
// installation check does, then random line lists (the input split at line feeds) through the
// device section reader of that device and of a device with parameters and a scanner block.

#include "app/CorvixError.h"
#include "device/DeviceNetDevice.h"
#include "library/EdsNormaliser.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace {

// A small device with two parameters, so that the parameter block of a section is read too.
const QByteArray kDeviceText = corvix::NormaliseEdsText(
    "VendCode=1;ProdType=2;ProdCode=3;MajRev=4;[ParamClass]MaxInst=2;"
    "Param1=0,,,0,0xC6,1,\"a\",\"\",\"\",0,9,1;Param2=0,,,0,0xC7,2,\"b\",\"\",\"\",0,9,1;");

void readSection(corvix::TDeviceNetDevice& device, const QStringList& lines)
{
    try {
        device.ReadSection(lines);
        device.WriteSection();
    } catch (const corvix::CorvixError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray raw(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        auto device = corvix::TDeviceNetDevice::CreateFromEds(
            nullptr, QStringLiteral("EDSTest.eds"), corvix::NormaliseEdsText(raw), 0);
        device->WriteSection();
    } catch (const corvix::CorvixError&) {
    }
    const QStringList lines = QString::fromLatin1(raw).split(u'\n');
    auto known = corvix::TDeviceNetDevice::CreateFromEds(nullptr, {}, kDeviceText, 0);
    readSection(*known, lines);
    // The identity lines 2 to 5 rarely match by chance: give them the device's own.
    QStringList matching = lines;
    while (matching.size() < 8) {
        matching.append(QString());
    }
    matching[2] = "1";
    matching[3] = "2";
    matching[4] = "3";
    matching[5] = "4";
    readSection(*known, matching);
    return 0;
}
