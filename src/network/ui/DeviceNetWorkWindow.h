#pragma once

#include <QWidget>
#include <memory>

#include "network/DeviceNetWork.h"

class QMenu;
class QMimeData;

namespace corvix {

class TBusView;
class TDeviceNetDeviceGuiform;

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

    // The connection state the status bar shows ("Network Online", ...).
    QString ConnectionStateText() const;

    // Asks to save a modified network; false when the user cancelled closing.
    bool CloseQuery();

    // Whether the window is the active one (its caption panel is highlighted then).
    bool IsActive() const;
    void SetActive(bool active);

    TBusView& BusView() const;
    // The popup menu with its "Device" and "Network" items; their entries are rebuilt each
    // time it opens.
    QMenu& PopupMenu() const;

    // Whether a drag with this data, at a point of the bus view's viewport, may be dropped.
    bool AcceptsDrop(const QMimeData& mime, const QPoint& viewportPoint);
    void Drop(const QMimeData& mime, const QPoint& viewportPoint);

    // Device commands, as the popup menu and keys run them on the selected device.
    void CopyDevice();
    void PasteDevice();
    void DeleteDevice();
    void EditDeviceName();
    void ChangeNodeAddress();
    // Opens the device's window, or brings its open one to the front.
    TDeviceNetDeviceGuiform* OpenDeviceWindow(int macId);

public Q_SLOTS:
    // The driver binding reports the connection: online or not, and the network status
    // (4 while the bus runs). Drops and Paste are refused while online.
    void onConnectionStateChanged(bool online, int networkStatus);
    // The library changed: devices find their EDS files again.
    void onLibraryChanged();

Q_SIGNALS:
    // The selection, the online state or the document changed: command states need updating.
    void stateChanged();
    // Requests the windows and the driver binding answer; when nobody listens the user is told
    // that the function is not available yet.
    void edsWizardRequested(int macId);
    void configureDriverRequested();
    void goOnlineRequested();
    void goOfflineRequested();
    void browseRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void rebuildMenu();
    // Emits the request signal, or tells the user that nothing answers it yet.
    template <typename... Args>
    void requestOrTell(void (TDeviceNetWorkWindow::*signal)(Args...), const QString& missing,
                       Args... args);
    void activateDevice(int macId);
    void startDrag(int macId);
    void showProgress(const QString& text, int maximum, int position);
    QPoint viewportPoint(const QPointF& windowPoint) const;

    std::unique_ptr<TDeviceNetWork> network_;
    struct Private;
    std::unique_ptr<Private> d_;
};

}  // namespace corvix
