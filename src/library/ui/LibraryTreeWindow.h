#pragma once

#include <QWidget>

#include <memory>

namespace corvix {

// The library panel: installed EDS files as a tree of vendors, profiles and devices, with its
// context menu (install, remove, device icon). Devices are dragged from it onto networks.
class TLibraryTreeWindow : public QWidget {
    Q_OBJECT
public:
    explicit TLibraryTreeWindow(QWidget* parent = nullptr);
    ~TLibraryTreeWindow() override;

    // Builds the tree again from the library's index files.
    void Refill();

    // Asks for EDS files and installs them, showing the installation log.
    void InstallEdsFiles();

Q_SIGNALS:
    // The library changed (installed or removed files): networks re-bind their devices.
    void libraryChanged();

private:
    struct Private;
    std::unique_ptr<Private> d_;
};

}  // namespace corvix
