#pragma once

#include <QDialog>
#include <optional>

class QComboBox;

namespace corvix {

class TDeviceNetWork;

// Asks for the node address of a new device, offering only the MAC IDs the network has free.
class TMacIdDlg : public QDialog {
    Q_OBJECT
public:
    explicit TMacIdDlg(const TDeviceNetWork& network, QWidget* parent = nullptr);

    int SelectedMacId() const;

    // Shows the dialog; nothing when the user cancelled or no MAC ID is free.
    static std::optional<int> Choose(const TDeviceNetWork& network, QWidget* parent);

private:
    QComboBox* macIds_;
};

}  // namespace corvix
