#include "network/ui/MacIdDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

#include "network/DeviceNetWork.h"

namespace corvix {

TMacIdDlg::TMacIdDlg(const TDeviceNetWork& network, QWidget* parent)
    : QDialog(parent), macIds_(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("Select a Node address"));
    for (const int macId : network.FreeMacIds()) {
        macIds_->addItem(QString::number(macId), macId);
    }
    macIds_->setCurrentIndex(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(macIds_->count() > 0);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("MAC-ID:"), macIds_);
    layout->addRow(buttons);
}

int TMacIdDlg::SelectedMacId() const
{
    return macIds_->currentIndex() >= 0 ? macIds_->currentData().toInt() : -1;
}

std::optional<int> TMacIdDlg::Choose(const TDeviceNetWork& network, QWidget* parent)
{
    TMacIdDlg dialog(network, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.SelectedMacId() < 0) {
        return std::nullopt;
    }
    return dialog.SelectedMacId();
}

}  // namespace corvix
