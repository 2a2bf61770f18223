#include "network/ui/BusView.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "device/DeviceNetDevice.h"
#include "library/LibraryFolder.h"
#include "library/TDeviceNetLib.h"
#include "network/DeviceLayout.h"
#include "network/DeviceNameLines.h"
#include "network/DeviceNetWork.h"
#include "network/ui/StateImages.h"

namespace corvix {

namespace {

// The network status of a running bus: devices that do not answer are then really missing.
constexpr int busRunningStatus = 4;
// Room under the last row for a name of several lines.
constexpr int bottomMargin = 100;

QString Caption(const TDeviceNetDevice& device)
{
    return device.Name.isEmpty() ? device.ProductName : device.Name;
}

}  // namespace

TBusView::TBusView(TDeviceNetWork& network, QWidget* parent)
    : QAbstractScrollArea(parent), network_(network)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    ArrangeDevices();
}

void TBusView::ArrangeDevices()
{
    columnWidth_ = fontMetrics().horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    const DeviceLayout layout = corvix::ArrangeDevices(static_cast<int>(network_.Devices().size()),
                                                       viewport()->width(), columnWidth_);
    columnsPerRow_ = layout.columnsPerRow;
    positions_ = layout.positions;
    if (!network_.DeviceAt(selectedMacId_)) {
        selectedMacId_ = -1;
    }
    updateScrollRange();
    viewport()->update();
}

void TBusView::SetNetworkStatus(bool online, int status)
{
    online_ = online;
    status_ = status;
    viewport()->update();
}

void TBusView::SelectMacId(int macId)
{
    const int selected = network_.DeviceAt(macId) ? macId : -1;
    if (selected == selectedMacId_) {
        return;
    }
    selectedMacId_ = selected;
    viewport()->update();
    Q_EMIT selectionChanged();
}

QRect TBusView::IconRect(int index) const
{
    const QPoint topLeft = positions_.value(index) - QPoint(0, verticalScrollBar()->value());
    return QRect(topLeft, QSize(IconSize, IconSize));
}

QRect TBusView::itemBounds(int index) const
{
    // The icon with the name lines under it, as wide as the column the device owns.
    const QRect icon = IconRect(index);
    const auto& device = *network_.Devices()[static_cast<size_t>(index)];
    const int lines = std::max<int>(1, static_cast<int>(BreakDeviceName(Caption(device)).size()));
    const int width = columnWidth_ * 4 / 5;
    return QRect(icon.center().x() - width / 2, icon.top(), width,
                 IconSize + lines * fontMetrics().height());
}

TDeviceNetDevice* TBusView::DeviceAt(const QPoint& viewportPoint) const
{
    const auto& devices = network_.Devices();
    for (int i = 0; i < positions_.size() && i < static_cast<int>(devices.size()); ++i) {
        if (itemBounds(i).contains(viewportPoint)) {
            return devices[static_cast<size_t>(i)].get();
        }
    }
    return nullptr;
}

QPixmap TBusView::DeviceIcon(const TDeviceNetDevice& device)
{
    const QString library = network_.Library().LibraryPath();
    const QString key = QStringLiteral("%1_%2_%3_%4")
                            .arg(device.VendorCode)
                            .arg(device.ProductType)
                            .arg(device.ProductCode)
                            .arg(device.MajorRevision);
    QStringList candidates;
    if (!device.WithoutEds) {
        candidates << QStringLiteral("EDS\\") + key + QStringLiteral(".ico");
    }
    candidates << QStringLiteral("Icons\\profile%1.ico").arg(device.ProductType)
               << QStringLiteral("ICONS\\Default.ico");
    for (const QString& candidate : candidates) {
        const QString file = FindLibraryFile(library, candidate);
        if (file.isEmpty()) {
            continue;
        }
        auto found = icons_.find(file);
        if (found == icons_.end()) {
            // Library icons are often 16 x 16 only; the bus view shows them at full icon size.
            const QPixmap image = QIcon(file).pixmap(QSize(IconSize, IconSize));
            found = icons_.insert(file, image.size() == QSize(IconSize, IconSize)
                                            ? image
                                            : image.scaled(IconSize, IconSize, Qt::KeepAspectRatio,
                                                           Qt::SmoothTransformation));
        }
        return *found;
    }
    return StateImages::GenericDevice().pixmap(QSize(IconSize, IconSize));
}

void TBusView::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(viewport());
    const auto& devices = network_.Devices();
    const int count = std::min<int>(static_cast<int>(devices.size()), positions_.size());
    const int half = columnWidth_ / 2;
    const QFontMetrics metrics = fontMetrics();
    const int lineHeight = metrics.height();
    const bool busRunning = online_ && status_ == busRunningStatus;

    // The trunk first, so that icons and names lie on top of it where they meet.
    painter.setPen(QPen(online_ && !busRunning ? QColor(255, 0, 0) : QColor(128, 128, 128), 1));
    QPoint previous;
    for (int i = 0; i < count; ++i) {
        const QRect icon = IconRect(i);
        const int row = i / columnsPerRow_;
        const QPoint mid = icon.center();
        const int y2 = row == 0 ? mid.y() + 50 : mid.y() - 50;
        const QPoint drop(mid.x() + half, y2);
        painter.drawLine(mid, QPoint(mid.x() + half, mid.y()));
        painter.drawLine(QPoint(mid.x() + half, mid.y()), drop);
        if (i > 0) {
            painter.drawLine(drop, previous);
        }
        previous = drop;
    }

    const QColor base = palette().color(QPalette::Base);
    for (int i = 0; i < count; ++i) {
        const TDeviceNetDevice& device = *devices[static_cast<size_t>(i)];
        const QRect icon = IconRect(i);
        if (!icon.adjusted(-columnWidth_, 0, columnWidth_, bottomMargin)
                 .intersects(viewport()->rect())) {
            continue;
        }
        const bool grayed = device.NotResponding && !busRunning;
        painter.setPen(
            palette().color(grayed ? QPalette::Disabled : QPalette::Active, QPalette::WindowText));
        int y = icon.bottom() + 1;
        for (const QString& line : BreakDeviceName(Caption(device))) {
            const int width = metrics.horizontalAdvance(line);
            const QRect box(icon.center().x() - width / 2 - 1, y, width + 2, lineHeight);
            painter.fillRect(box, base);
            painter.drawText(box, Qt::AlignCenter, line);
            y += lineHeight;
        }

        painter.setPen(palette().color(QPalette::WindowText));
        const QString mac = QString::number(device.MacId);
        const int macX =
            icon.left() - metrics.horizontalAdvance(QString::number(i) + QStringLiteral("000"));
        painter.drawText(QPoint(macX, icon.center().y() + metrics.ascent()), mac);

        painter.drawPixmap(icon.topLeft(), DeviceIcon(device));
        if (device.WithoutEds) {
            StateImages::NoEdsFile().paint(&painter, icon.translated(25, 0));
        }
        if (device.NotResponding && busRunning) {
            StateImages::Missing().paint(&painter, icon);
        }
        if (device.MacId == selectedMacId_) {
            painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(icon.adjusted(-3, -3, 2, 2));
        }
    }
}

void TBusView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    ArrangeDevices();
}

void TBusView::scrollContentsBy(int /*dx*/, int /*dy*/)
{
    viewport()->update();
}

void TBusView::updateScrollRange()
{
    const int contentHeight =
        positions_.isEmpty() ? 0 : positions_.last().y() + IconSize + bottomMargin;
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(IconSize);
    verticalScrollBar()->setRange(0, std::max(0, contentHeight - viewport()->height()));
}

void TBusView::mousePressEvent(QMouseEvent* event)
{
    pressPoint_ = event->position().toPoint();
    const TDeviceNetDevice* device = DeviceAt(pressPoint_);
    SelectMacId(device ? device->MacId : -1);
    QAbstractScrollArea::mousePressEvent(event);
}

void TBusView::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton) && selectedMacId_ >= 0 &&
        (event->position().toPoint() - pressPoint_).manhattanLength() >=
            QApplication::startDragDistance()) {
        Q_EMIT dragStarted(selectedMacId_);
        return;
    }
    QAbstractScrollArea::mouseMoveEvent(event);
}

void TBusView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (const TDeviceNetDevice* device = DeviceAt(event->position().toPoint())) {
        SelectMacId(device->MacId);
        Q_EMIT deviceActivated(device->MacId);
    }
}

}  // namespace corvix
