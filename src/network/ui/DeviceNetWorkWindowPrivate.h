#pragma once

#include <QPointer>

#include "network/ui/DeviceNetWorkWindow.h"

class QLabel;
class QMenu;
class QProgressBar;
class QStatusBar;

namespace corvix {

class TDeviceNetDevice;

struct TDeviceNetWorkWindow::Private {
    TBusView* view = nullptr;
    QStatusBar* statusBar = nullptr;
    QLabel* connectionPanel = nullptr;  // "Network Online", "Network Offline", ...
    QLabel* captionPanel = nullptr;  // the window caption, highlighted while active
    QLabel* progressText = nullptr;
    QProgressBar* progressBar = nullptr;
    QMenu* popup = nullptr;
    QMenu* deviceMenu = nullptr;
    QMenu* networkMenu = nullptr;
    QMetaObject::Connection frameActivation;  // to the MDI sub-window, made once
    bool active = false;
    bool online = false;
    int networkStatus = 0;
};

// The device being dragged out of a network window, if any. Kept while the drag runs so that
// another window can check and copy it; a window that closes meanwhile clears it.
struct DraggedDevice {
    QPointer<TDeviceNetWorkWindow> window;
    int macId = -1;

    TDeviceNetDevice* device() const;
};
DraggedDevice& CurrentDrag();

inline QString NetworkDeviceMimeType()
{
    return QStringLiteral("application/x-corvix-network-device");
}

}  // namespace corvix
