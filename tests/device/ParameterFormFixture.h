#pragma once

// What the parameter page's tests share. A small device: four parameters of which one has enumeration
// strings and one is read-only; the group "Motor" holds the first two, "Readings" only the
// read-only one.
#include <QByteArray>
#include <QString>

#include "device/DeviceFixtures.h"

namespace corvix::test {

// The questions the page asks on entering and on leaving while online.
inline const QString UploadQuestion = QStringLiteral(
    "Some or all parameters may not be synchronized. do you want to upload these before "
    "entering?");
inline const QString DownloadQuestion = QStringLiteral(
    "Some or all parameters are not synchronized. Do you want to download these before "
    "cancelling?");

inline std::unique_ptr<TDeviceNetDevice> ParameterPageDevice(const char* classDescriptor = "0")
{
    return DeviceFromRaw(QByteArray("[ParamClass] MaxInst = 4; Descriptor = ") + classDescriptor +
                         ";\n[Params]\n"
                         "Param1 = 0,,,0x0000,0xC6,1,\"Speed\",\"Hz\",\"Motor speed\",0,10,1;\n"
                         "Param2 = 0,,,0x0000,0xC6,1,\"Mode\",\"\",\"\",0,2,0;\n"
                         "Param3 = 0,,,0x0010,0xC6,1,\"Status\",\"\",\"\",0,10,1;\n"
                         "Param4 = 0,,,0x0000,0xC7,2,\"Ramp\",\"s\",\"\",0,100,5;\n"
                         "[EnumPar]\nParam2 = \"Off\", \"Slow\", \"Fast\";\n"
                         "[Groups] Group1 = \"Motor\", 2, 1, 2;\nGroup2 = \"Readings\", 1, 3;\n");
}

}  // namespace corvix::test
