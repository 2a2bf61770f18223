#pragma once

#include <QByteArray>
#include <memory>

#include "device/DeviceNetDevice.h"
#include "library/EdsNormaliser.h"

namespace corvix::test {

// A "ParamN=" entry with the twelve fields every parameter needs: a USINT 0..10, default 1.
inline QByteArray ParamEntry(int number, const char* descriptor = "0x0000",
                             const char* dataType = "0xC6")
{
    return "Param" + QByteArray::number(number) + " = 0,,," + descriptor + "," + dataType +
           ",1,\"P" + QByteArray::number(number) + "\",\"\",\"\",0,10,1;\n";
}

// A device built from raw EDS text as it would be written by hand: normalised first.
inline std::unique_ptr<TDeviceNetDevice> DeviceFromRaw(const QByteArray& raw, int macId = 5)
{
    return TDeviceNetDevice::CreateFromEds(nullptr, QStringLiteral("test.eds"),
                                           NormaliseEdsText(raw), macId);
}

}  // namespace corvix::test
