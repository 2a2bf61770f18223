#pragma once

#include <QList>
#include <QString>

namespace corvix {

// One driver library offered for choice: its file, the name it gives itself, its longer
// description (the entry's hint) and the icon file beside it (empty when there is none).
struct DriverListEntry {
    QString file;
    QString caption;
    QString helpText;
    QString iconFile;

    // What the list shows as hint: the help text, or the caption when the driver has none.
    QString hint() const { return helpText.isEmpty() ? caption : helpText; }
};

// The folder the program looks for driver libraries in: "Drivers" beside the executable.
QString DefaultDriverFolder();

// Every library in folder (subfolders included) that loads and names itself as a driver, in
// the order FindFiles returns them. Each library is unloaded again at once.
QList<DriverListEntry> ListDrivers(const QString& folder);

// Reads the name and help text of one library; false when it does not load or is no driver.
bool ReadDriverEntry(const QString& file, DriverListEntry& entry);

}  // namespace corvix
