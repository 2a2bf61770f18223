#pragma once

#include <QAbstractScrollArea>
#include <QHash>
#include <QList>
#include <QPixmap>
#include <QRect>

namespace corvix {

class TDeviceNetDevice;
class TDeviceNetWork;

// The bus view of a network window: device icons hanging from a snaking trunk line, each with
// its MAC ID on the left and its name broken into lines below. Items follow the network's
// device list (sorted by MAC ID); the view only draws them and tells which one is where.
class TBusView : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int IconSize = 32;

    explicit TBusView(TDeviceNetWork& network, QWidget* parent = nullptr);

    // Places the items again for the current width and device list.
    void ArrangeDevices();

    // Draws the trunk red (online with a bus fault) instead of gray, and missing devices with
    // the "missing" mark (online and running) or grayed names (otherwise).
    void SetNetworkStatus(bool online, int status);

    int SelectedMacId() const { return selectedMacId_; }
    void SelectMacId(int macId);

    // The device whose icon or name is at a viewport point, or nullptr.
    TDeviceNetDevice* DeviceAt(const QPoint& viewportPoint) const;
    // Icon rectangle of the device with index i of the list, in viewport coordinates.
    QRect IconRect(int index) const;
    int ColumnWidth() const { return columnWidth_; }

    // Device icons are kept per library file so each is loaded once; forget them when the
    // library changed.
    void ForgetIcons() { icons_.clear(); }
    // The icon the view shows for the device: its library icon, its profile's or the default.
    QPixmap DeviceIcon(const TDeviceNetDevice& device);

Q_SIGNALS:
    void selectionChanged();
    void deviceActivated(int macId);
    // The user starts dragging the device at macId.
    void dragStarted(int macId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QRect itemBounds(int index) const;
    void updateScrollRange();

    TDeviceNetWork& network_;
    QList<QPoint> positions_;  // icon top-left of each device, content coordinates
    int columnsPerRow_ = 1;
    int columnWidth_ = 1;
    int selectedMacId_ = -1;
    bool online_ = false;
    int status_ = 0;
    QPoint pressPoint_;
    QHash<QString, QPixmap> icons_;  // library icon files, scaled to IconSize
};

}  // namespace corvix
