#pragma once

#include "network/DeviceNetWork.h"

#include <QWidget>

#include <memory>

namespace corvix {

// The window of one network document: the bus view with its devices, the popup menu, the
// status bar. The main window keeps one per open network in its MDI area.
class TDeviceNetWorkWindow : public QWidget {
    Q_OBJECT
public:
    explicit TDeviceNetWorkWindow(std::unique_ptr<TDeviceNetWork> network,
                                  QWidget* parent = nullptr);
    ~TDeviceNetWorkWindow() override;

    TDeviceNetWork& Network() const { return *network_; }

    // MAC ID of the selected device, or -1.
    int SelectedMacId() const;

    // Asks to save a modified network; false when the user cancelled closing.
    bool CloseQuery();

Q_SIGNALS:
    // The selection, the online state or the document changed: command states need updating.
    void stateChanged();

private:
    std::unique_ptr<TDeviceNetWork> network_;
    struct Private;
    std::unique_ptr<Private> d_;
};

}  // namespace corvix
