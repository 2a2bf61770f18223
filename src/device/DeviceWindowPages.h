#pragma once

#include <QList>
#include <QString>

namespace corvix {

class TDeviceNetDevice;

// The pages a device window can have, in the order they are docked.
enum class DevicePage {
    Parameter,
    ScanList,
    InputMapping,
    OutputMapping,
    Adr,
    Diagnostics,
    Advanced,
    Eds,
};

// The pages a device window opens with: the parameter page for a device with parameter groups,
// the scanner pages for a scanner (mapping pages only for directions with memory tables, ADR
// only when the scanner supports it, diagnostics only online), the advanced page online and the
// EDS page always. The set is fixed when the window opens.
QList<DevicePage> DeviceWindowPages(const TDeviceNetDevice& device, bool online);

// The tab caption of a page ("&Parameter", "Advan&ced", ...).
QString DevicePageCaption(DevicePage page);

// The help topic for the page with this caption. Captions are compared exactly, with or without
// a leading "&"; the advanced page's caption only as it stands.
QString DevicePageHelpTopic(const QString& caption);

// "Node 5 Example AC Drive", followed by three blanks and the user's name for the device when
// it has one.
QString DeviceWindowCaption(const TDeviceNetDevice& device);

}  // namespace corvix
