#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace corvix {
class TDeviceNetDevice;
}

namespace corvix::sim {

// One EDS file read for the simulator: its normalised text and the device the program's own
// reader builds from it, so a simulated node answers exactly what the program expects of it.
struct EdsSource {
    QString path;
    QByteArray text;  // normalised
    std::shared_ptr<TDeviceNetDevice> device;
};

// The file an "eds" entry of a network description names: the name as given when absolute,
// else relative to the description's folder (the current folder when none is given), else in
// the "data/eds" folder beside the program.
// Raises FileError naming the places looked in when none has the file.
QString ResolveEdsFile(const QString& name, const QString& descriptionFolder);

// Reads, normalises and builds the device. Raises FileError when the file cannot be read and
// ConversionError when it does not describe a device without faults (no identity, an illegal
// parameter entry, a damaged scanner section), each message naming the file.
EdsSource ReadEdsSource(const QString& path);

}  // namespace corvix::sim
