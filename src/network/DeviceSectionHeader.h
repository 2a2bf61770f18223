#pragma once

#include <QString>
#include <QStringList>

namespace corvix {

// The first lines of a device section, which the network reads itself to know which device to
// build before the device reads the rest.
struct DeviceSectionHeader {
    int macId = 0;
    int vendorId = 0;
    int deviceType = 0;
    int productCode = 0;
    int majorRevision = 0;
    QString name;
};

// Reads "$Device Begin", the MAC ID, the four identity lines and the name from the start of
// section, which must also hold at least one line after the name (the "$Device End" at least).
// Raises ConversionError naming the faulty line, counted from firstLineNumber (the file line of
// the section's first line), when the section is too short or a number line is not a decimal
// number in its range.
DeviceSectionHeader ReadDeviceSectionHeader(const QStringList& section, qsizetype firstLineNumber);

}  // namespace corvix
