#pragma once

// The normalised EDS text of a generated device with the given number of parameters: identity,
// I/O information, a UINT parameter entry running over several lines for every instance, an
// enumeration for every other one and groups of ten. Benchmarks build their load from it.

#include "library/EdsNormaliser.h"

#include <QByteArray>

namespace corvix::bench {

inline QByteArray GeneratedDeviceEds(int parameters)
{
    QByteArray raw = "[File]\nDescText = \"Generated device\";\n[Device]\nVendCode = 1313;\n"
                     "ProdType = 2; ProdCode = 9; MajRev = 1; ProdName = \"Generated\";\n"
                     "[IO_Info]\nDefault = 1;\nPollInfo = 1, 1, 1;\nInput1 = 4, 0;\n"
                     "Output1 = 2, 0;\n[ParamClass]\nMaxInst = " +
                     QByteArray::number(parameters) + ";\nDescriptor = 0x0003;\n[Params]\n";
    for (int i = 1; i <= parameters; ++i) {
        const QByteArray n = QByteArray::number(i);
        raw += "    Param" + n + " =\n        0, 6, \"20 0F 24 01 30 01\", 0x0004, 0xC7, 2,\n" +
               "        \"Parameter " + n + "\", \"rpm\", \"Help text, with a comma\",\n" +
               "        0, 3, 1, 1, 10, 1, 0, , , , , 1;  $ comment\n";
    }
    raw += "[EnumPar]\n";
    for (int i = 1; i <= parameters; i += 2) {
        raw += "    Param" + QByteArray::number(i) + " = \"Off\", \"Slow\", \"Fast\", \"Max\";\n";
    }
    raw += "[Groups]\n";
    for (int g = 0; g < parameters / 10; ++g) {
        raw += "    Group" + QByteArray::number(g + 1) + " = \"Group\", 10";
        for (int i = 1; i <= 10; ++i) {
            raw += ", " + QByteArray::number(g * 10 + i);
        }
        raw += ";\n";
    }
    return corvix::NormaliseEdsText(raw);
}

}  // namespace corvix::bench
