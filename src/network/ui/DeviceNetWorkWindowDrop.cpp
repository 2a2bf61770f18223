// Dragging devices: from the library panel onto a network, and between network windows.
#include <QApplication>
#include <QDrag>
#include <QDragMoveEvent>
#include <QMimeData>

#include "app/CorvixError.h"
#include "app/UserPrompt.h"
#include "device/DeviceNetDevice.h"
#include "library/ui/LibraryDrag.h"
#include "network/ui/BusView.h"
#include "network/ui/DeviceNetWorkWindowPrivate.h"
#include "network/ui/MacIdDlg.h"

namespace corvix {

DraggedDevice& CurrentDrag()
{
    static DraggedDevice drag;
    return drag;
}

TDeviceNetDevice* DraggedDevice::device() const
{
    return window ? window->Network().DeviceAt(macId) : nullptr;
}

namespace {

// Clears the drag record when the drop is over, however it ends.
struct DragEnd {
    ~DragEnd() { CurrentDrag() = {}; }
};

// The hourglass while a drop builds devices.
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

void TDeviceNetWorkWindow::startDrag(int macId)
{
    auto* mime = new QMimeData;
    mime->setData(NetworkDeviceMimeType(), QByteArray::number(macId));
    CurrentDrag() = {this, macId};
    const DragEnd end;
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->exec(Qt::CopyAction);
}

QPoint TDeviceNetWorkWindow::viewportPoint(const QPointF& windowPoint) const
{
    return d_->view->viewport()->mapFrom(this, windowPoint.toPoint());
}

bool TDeviceNetWorkWindow::AcceptsDrop(const QMimeData& mime, const QPoint& viewportPoint)
{
    if (d_->online) {
        return false;
    }
    const bool room = network_->Devices().size() < TDeviceNetWork::MaxDevices;
    if (mime.hasFormat(LibraryDeviceMimeType())) {
        return room;
    }
    if (!mime.hasFormat(NetworkDeviceMimeType())) {
        return false;
    }
    const TDeviceNetDevice* dragged = CurrentDrag().device();
    if (!dragged) {
        return false;
    }
    if (const TDeviceNetDevice* target = d_->view->DeviceAt(viewportPoint)) {
        if (target == dragged || !target->SameIdentity(*dragged)) {
            return false;
        }
        d_->view->SelectMacId(target->MacId);
        return true;
    }
    return room;
}

void TDeviceNetWorkWindow::Drop(const QMimeData& mime, const QPoint& viewportPoint)
{
    network_->MarkModified();
    const BusyCursor busy;
    try {
        if (mime.hasFormat(LibraryDeviceMimeType())) {
            if (network_->Devices().size() >= TDeviceNetWork::MaxDevices) {
                return;
            }
            const QString stem = QString::fromUtf8(mime.data(LibraryDeviceMimeType()));
            if (const std::optional<int> macId = TMacIdDlg::Choose(*network_, this)) {
                network_->DropLibraryFile(stem + QStringLiteral("eds"), *macId);
            }
            return;
        }
        TDeviceNetDevice* dragged = CurrentDrag().device();
        if (!mime.hasFormat(NetworkDeviceMimeType()) || !dragged) {
            return;
        }
        if (TDeviceNetDevice* target = d_->view->DeviceAt(viewportPoint)) {
            if (UserPrompt::current().confirmYesNo(QStringLiteral(
                    "Are you sure you want to copy device data from the dragged device?"))) {
                network_->CopyDeviceData(*dragged, *target);
            }
            return;
        }
        if (network_->Devices().size() >= TDeviceNetWork::MaxDevices) {
            return;
        }
        const std::optional<int> macId = TMacIdDlg::Choose(*network_, this);
        // The source may have lost the device while the dialog was open.
        dragged = CurrentDrag().device();
        if (!macId || !dragged) {
            return;
        }
        if (TDeviceNetDevice* added =
                network_->AddDevice(*macId, dragged->VendorCode, dragged->ProductType,
                                    dragged->ProductCode, dragged->MajorRevision, dragged->Name)) {
            network_->CopyDeviceData(*dragged, *added);
        }
    } catch (const CorvixError& error) {
        UserPrompt::current().message(error.message(), PromptIcon::Error);
    }
}

void TDeviceNetWorkWindow::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void TDeviceNetWorkWindow::dragMoveEvent(QDragMoveEvent* event)
{
    if (AcceptsDrop(*event->mimeData(), viewportPoint(event->position()))) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TDeviceNetWorkWindow::dropEvent(QDropEvent* event)
{
    Drop(*event->mimeData(), viewportPoint(event->position()));
    event->setDropAction(Qt::CopyAction);
    event->accept();
    d_->view->ArrangeDevices();
    Q_EMIT stateChanged();
}

}  // namespace corvix
