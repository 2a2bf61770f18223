#include "gateway/SetupDialog.h"

#include "gateway/CNwScanDlg.h"

#include <QApplication>

#include <cstdio>

namespace corvix::gateway {

std::optional<GatewaySettings> RunSetupDialog(void*)
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        std::fputs("GatewayDriver: no bridge chosen; a settings text is needed without a window\n",
                   stderr);
        return std::nullopt;
    }
    // A new dialog every time, so the time-out field starts at 7000 and discovery starts afresh.
    CNwScanDlg dialog;
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.settings();
}

}  // namespace corvix::gateway
