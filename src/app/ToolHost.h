#pragma once

#include <CorvixDriverContract.h>

#include <QString>
#include <QStringList>

namespace corvix {

// What a tool is handed: the active network's driver binding and its selected node.
struct ToolTarget {
    bool online = false;
    int selectedMacId = -1;  // -1: no device selected
    CorvixDriverHandle driverHandle = 0;
    void* driverModule = nullptr;
};

// Captions of the tool libraries in toolsFolder and its subfolders, in file order. A library
// that does not load or lacks the identification export gives no caption. No library stays
// loaded.
QStringList FindTools(const QString& toolsFolder);

// Runs every tool library whose caption equals caption (one after the other, in file order)
// with the target, when the target is online and has a selected node; each library is loaded
// only while its tool runs. Returns how many tools ran; nothing is reported to the user.
int RunTool(const QString& toolsFolder, const QString& caption, const ToolTarget& target);

}  // namespace corvix
