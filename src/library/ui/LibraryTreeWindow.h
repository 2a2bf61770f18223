#pragma once

#include <QWidget>
#include <memory>

class QMenu;
class QTreeView;

namespace corvix {

class LibraryIconModel;
class TDeviceNetLib;
class TInstallLogWindow;

// The library panel: installed EDS files as a tree of vendors, profiles and devices, with its
// context menu (install, remove, device icon). Devices are dragged from it onto networks.
class TLibraryTreeWindow : public QWidget {
    Q_OBJECT
public:
    // Shows the library at libraryPath, the program's library unless given.
    explicit TLibraryTreeWindow(QWidget* parent = nullptr, const QString& libraryPath = {});
    ~TLibraryTreeWindow() override;

    // Builds the tree again from the library's index files.
    void Refill();
    // Rebuilds the library index from the installed files, then fills the tree (also when the
    // rebuild failed).
    void Reload();

    // Asks for EDS files and installs them, showing the installation log.
    void InstallEdsFiles();
    // The selected device leaves the library (its EDS file and icon are deleted).
    void RemoveDevice();
    // Asks for an icon file and makes it the selected device's icon.
    void AddDeviceIcon();

    TDeviceNetLib& Library() const;
    QTreeView& TreeView() const;
    LibraryIconModel& Model() const;
    // Its entries are enabled for the selected node each time it opens.
    QMenu& ContextMenu() const;
    // The log of the last installation; nullptr before the first.
    TInstallLogWindow* InstallLog() const;

Q_SIGNALS:
    // The library changed (installed or removed files): networks re-bind their devices.
    void libraryChanged();
    // "Add a new device to database": the EDS wizard answers; until it listens the user is
    // told that it is not available yet.
    void edsWizardRequested();

private:
    struct Private;
    std::unique_ptr<Private> d_;
};

}  // namespace corvix
