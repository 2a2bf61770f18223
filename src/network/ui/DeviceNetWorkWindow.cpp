#include "network/ui/DeviceNetWorkWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMetaMethod>
#include <QProgressBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/CorvixError.h"
#include "app/UserPrompt.h"
#include "app/WindowMessage.h"
#include "device/DeviceNetDevice.h"
#include "device/ui/DeviceNetDeviceGuiform.h"
#include "network/DeviceClipboard.h"
#include "network/ui/BusView.h"
#include "network/ui/DeviceNetWorkWindowPrivate.h"
#include "network/ui/MacIdDlg.h"

namespace corvix {

namespace {

bool IsDeviceSection(const QStringList& lines)
{
    return lines.value(0) == QStringLiteral("$Device Begin");
}

QString NoDriverBinding()
{
    return QStringLiteral("Going online is not available yet.");
}

QString NoEdsWizard()
{
    return QStringLiteral("The EDS wizard is not available yet.");
}

}  // namespace

TDeviceNetWorkWindow::TDeviceNetWorkWindow(std::unique_ptr<TDeviceNetWork> network, QWidget* parent)
    : QWidget(parent), network_(std::move(network)), d_(std::make_unique<Private>())
{
    if (!network_) {
        network_ = std::make_unique<TDeviceNetWork>();
    }
    setWindowTitle(network_->Caption);
    setAcceptDrops(true);

    d_->view = new TBusView(*network_, this);
    d_->view->setContextMenuPolicy(Qt::CustomContextMenu);
    d_->statusBar = new QStatusBar(this);
    d_->statusBar->setSizeGripEnabled(false);
    d_->captionPanel = new QLabel(network_->Caption, this);
    d_->captionPanel->setAutoFillBackground(true);
    d_->captionPanel->setMargin(2);
    d_->captionPanel->setVisible(!network_->Caption.isEmpty());
    d_->connectionPanel = new QLabel(this);
    d_->connectionPanel->setMargin(2);
    d_->progressText = new QLabel(this);
    d_->progressBar = new QProgressBar(this);
    d_->progressBar->setValue(0);
    d_->progressBar->setMaximumWidth(200);
    d_->progressBar->hide();
    d_->statusBar->addWidget(d_->connectionPanel);
    d_->statusBar->addWidget(d_->captionPanel);
    d_->statusBar->addWidget(d_->progressText, 1);
    d_->statusBar->addPermanentWidget(d_->progressBar);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(d_->view, 1);
    layout->addWidget(d_->statusBar);

    d_->popup = new QMenu(this);
    d_->deviceMenu = d_->popup->addMenu(QStringLiteral("Device"));
    d_->networkMenu = d_->popup->addMenu(QStringLiteral("Network"));
    connect(d_->popup, &QMenu::aboutToShow, this, &TDeviceNetWorkWindow::rebuildMenu);
    rebuildMenu();
    SetActive(false);

    connect(d_->view, &QWidget::customContextMenuRequested, this, [this](const QPoint& point) {
        if (const TDeviceNetDevice* device = d_->view->DeviceAt(point)) {
            d_->view->SelectMacId(device->MacId);
        }
        d_->popup->popup(d_->view->viewport()->mapToGlobal(point));
    });
    connect(d_->view, &TBusView::selectionChanged, this, &TDeviceNetWorkWindow::stateChanged);
    connect(d_->view, &TBusView::deviceActivated, this, &TDeviceNetWorkWindow::activateDevice);
    connect(d_->view, &TBusView::dragStarted, this, &TDeviceNetWorkWindow::startDrag);
    connect(network_.get(), &TDeviceNetWork::deviceListChanged, d_->view,
            &TBusView::ArrangeDevices);
    connect(network_.get(), &TDeviceNetWork::changed, this, [this] {
        setWindowTitle(network_->Caption);
        d_->captionPanel->setText(network_->Caption);
        d_->captionPanel->setVisible(!network_->Caption.isEmpty());
        Q_EMIT stateChanged();
    });
    connect(network_.get(), &TDeviceNetWork::progressChanged, this,
            &TDeviceNetWorkWindow::showProgress);
    // Panel 0 of the driver binding is the connection state, panel 2 the progress text.
    connect(network_.get(), &TDeviceNetWork::statusPanelChanged, this,
            [this](int panel, const QString& text) {
                (panel == 0 ? d_->connectionPanel : d_->progressText)->setText(text);
            });
    setFocusProxy(d_->view);
}

template <typename... Args>
void TDeviceNetWorkWindow::requestOrTell(void (TDeviceNetWorkWindow::*signal)(Args...),
                                         const QString& missing, Args... args)
{
    if (isSignalConnected(QMetaMethod::fromSignal(signal))) {
        Q_EMIT(this->*signal)(args...);
    } else {
        UserPrompt::current().message(missing);
    }
}

TDeviceNetWorkWindow::~TDeviceNetWorkWindow()
{
    if (CurrentDrag().window == this) {
        CurrentDrag() = {};
    }
}

QString TDeviceNetWorkWindow::ConnectionStateText() const
{
    return d_->connectionPanel->text();
}

int TDeviceNetWorkWindow::SelectedMacId() const
{
    return d_->view->SelectedMacId();
}

TBusView& TDeviceNetWorkWindow::BusView() const
{
    return *d_->view;
}

QMenu& TDeviceNetWorkWindow::PopupMenu() const
{
    return *d_->popup;
}

bool TDeviceNetWorkWindow::IsActive() const
{
    return d_->active;
}

void TDeviceNetWorkWindow::SetActive(bool active)
{
    d_->active = active;
    QPalette palette = d_->captionPanel->palette();
    palette.setColor(QPalette::Window,
                     this->palette().color(active ? QPalette::Highlight : QPalette::Dark));
    palette.setColor(QPalette::WindowText, this->palette().color(QPalette::HighlightedText));
    d_->captionPanel->setPalette(palette);
    Q_EMIT stateChanged();
}

void TDeviceNetWorkWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Inside an MDI area the sub-window tells when it becomes the active one.
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (frame != nullptr && !d_->frameActivation) {
        d_->frameActivation = connect(
            frame, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates, Qt::WindowStates now) {
                if (now.testFlag(Qt::WindowActive) != d_->active) {
                    SetActive(now.testFlag(Qt::WindowActive));
                }
            });
    }
    d_->view->ArrangeDevices();
}

void TDeviceNetWorkWindow::showProgress(const QString& text, int maximum, int position)
{
    d_->progressBar->setVisible(position >= 1);
    d_->progressBar->setMaximum(maximum);
    d_->progressBar->setValue(position);
    d_->progressText->setText(text);
}

void TDeviceNetWorkWindow::onConnectionStateChanged(bool online, int networkStatus)
{
    d_->online = online;
    d_->networkStatus = networkStatus;
    d_->view->SetNetworkStatus(online, networkStatus);
    for (TDeviceNetDeviceGuiform* window :
         findChildren<TDeviceNetDeviceGuiform*>(Qt::FindDirectChildrenOnly)) {
        PostWindowMessage(window, DeviceWindowOnlineStateMessage);
    }
    Q_EMIT stateChanged();
}

void TDeviceNetWorkWindow::onLibraryChanged()
{
    d_->view->ForgetIcons();
    network_->RelinkDevices();
    d_->view->ArrangeDevices();
}

void TDeviceNetWorkWindow::rebuildMenu()
{
    const TDeviceNetDevice* device = network_->DeviceAt(SelectedMacId());
    const bool selected = device != nullptr;
    const int mac = SelectedMacId();
    const bool copyable = selected && !network_->CopyDevice(mac).isEmpty();

    QMenu* menu = d_->deviceMenu;
    menu->clear();
    menu->addAction(QStringLiteral("Copy"), this, &TDeviceNetWorkWindow::CopyDevice)
        ->setEnabled(copyable);
    if (IsDeviceSection(DeviceClipboard())) {
        menu->addAction(QStringLiteral("Paste"), this, &TDeviceNetWorkWindow::PasteDevice)
            ->setEnabled(!d_->online);
    }
    menu->addAction(QStringLiteral("Delete"), this, &TDeviceNetWorkWindow::DeleteDevice)
        ->setEnabled(selected);
    menu->addAction(QStringLiteral("Rename"), this, &TDeviceNetWorkWindow::EditDeviceName)
        ->setEnabled(selected);
    if (!copyable) {
        menu->addAction(
                QStringLiteral("Information"), this,
                [this] {
                    if (const TDeviceNetDevice* shown = network_->DeviceAt(SelectedMacId())) {
                        shown->ShowIdentity();
                    }
                })
            ->setEnabled(selected);
    }
    if (selected && device->WithoutEds) {
        menu->addAction(QStringLiteral("Register EDS-file"), this, [this, mac] {
            requestOrTell(&TDeviceNetWorkWindow::edsWizardRequested, NoEdsWizard(), mac);
        });
    }
    if (copyable) {
        menu->addAction(QStringLiteral("Properties"), this, [this, mac] { activateDevice(mac); });
    }
    menu->addSeparator();
    menu->addAction(QStringLiteral("Change Node Address"), this,
                    &TDeviceNetWorkWindow::ChangeNodeAddress)
        ->setEnabled(selected);

    // The driver binding answers these.
    const auto request = [this](void (TDeviceNetWorkWindow::*signal)()) {
        return [this, signal] { requestOrTell(signal, NoDriverBinding()); };
    };
    menu = d_->networkMenu;
    menu->clear();
    menu->addAction(QStringLiteral("Configure Driver"), this,
                    request(&TDeviceNetWorkWindow::configureDriverRequested));
    menu->addAction(QStringLiteral("Go Online"), this,
                    request(&TDeviceNetWorkWindow::goOnlineRequested))
        ->setEnabled(!d_->online);
    menu->addAction(QStringLiteral("Go Offline"), this,
                    request(&TDeviceNetWorkWindow::goOfflineRequested))
        ->setEnabled(d_->online);
    menu->addAction(QStringLiteral("Update (%1)")
                        .arg(QKeySequence(Qt::Key_F5).toString(QKeySequence::NativeText)),
                    this, request(&TDeviceNetWorkWindow::browseRequested))
        ->setEnabled(d_->online);
}

void TDeviceNetWorkWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
        case Qt::Key_Delete:
            DeleteDevice();
            break;
        case Qt::Key_F2:
            EditDeviceName();
            break;
        case Qt::Key_F5:
            requestOrTell(d_->online ? &TDeviceNetWorkWindow::browseRequested
                                     : &TDeviceNetWorkWindow::goOnlineRequested,
                          NoDriverBinding());
            break;
        case Qt::Key_Plus:
            requestOrTell(&TDeviceNetWorkWindow::goOnlineRequested, NoDriverBinding());
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            activateDevice(SelectedMacId());  // as a double click does
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void TDeviceNetWorkWindow::activateDevice(int macId)
{
    const TDeviceNetDevice* device = network_->DeviceAt(macId);
    if (!device || device->NotResponding) {
        return;  // a missing device has nothing to open
    }
    if (device->WithoutEds) {
        requestOrTell(&TDeviceNetWorkWindow::edsWizardRequested, NoEdsWizard(), macId);
    } else {
        OpenDeviceWindow(macId);
    }
}

TDeviceNetDeviceGuiform* TDeviceNetWorkWindow::OpenDeviceWindow(int macId)
{
    TDeviceNetDevice* device = network_->DeviceAt(macId);
    if (!device) {
        return nullptr;
    }
    // One window per device: a second one would show values the first one edits.
    for (TDeviceNetDeviceGuiform* window :
         findChildren<TDeviceNetDeviceGuiform*>(Qt::FindDirectChildrenOnly)) {
        if (window->Device() == device && !window->Closing()) {
            window->raise();
            window->activateWindow();
            return window;
        }
    }
    auto* window = new TDeviceNetDeviceGuiform(network_.get(), device,
                                               QIcon(d_->view->DeviceIcon(*device)), this);
    // Modal to the main window, so the network cannot change under the device's pages; the
    // help window stays usable beside it.
    window->setWindowModality(Qt::WindowModal);
    window->show();
    return window;
}

void TDeviceNetWorkWindow::CopyDevice()
{
    const QStringList lines = network_->CopyDevice(SelectedMacId());
    if (!lines.isEmpty()) {
        DeviceClipboard() = lines;
        Q_EMIT stateChanged();
    }
}

void TDeviceNetWorkWindow::PasteDevice()
{
    const QStringList clipboard = DeviceClipboard();
    if (d_->online || !IsDeviceSection(clipboard) ||
        network_->Devices().size() >= TDeviceNetWork::MaxDevices) {
        return;
    }
    const std::optional<int> macId = TMacIdDlg::Choose(*network_, this);
    if (!macId) {
        return;
    }
    try {
        if (const TDeviceNetDevice* added = network_->PasteDevice(clipboard, *macId)) {
            d_->view->SelectMacId(added->MacId);
        }
    } catch (const CorvixError& error) {
        UserPrompt::current().message(error.message(), PromptIcon::Error);
    }
}

void TDeviceNetWorkWindow::DeleteDevice()
{
    if (network_->DeleteDevice(SelectedMacId())) {
        d_->view->SelectMacId(-1);
    }
}

void TDeviceNetWorkWindow::EditDeviceName()
{
    const int macId = SelectedMacId();
    const TDeviceNetDevice* device = network_->DeviceAt(macId);
    if (!device) {
        return;
    }
    network_->MarkModified();
    const std::optional<QString> name = UserPrompt::current().inputText(
        device->ProductName, QStringLiteral("New name for this device"),
        device->Name.isEmpty() ? device->ProductName : device->Name);
    if (name && !network_->RenameDevice(macId, *name)) {
        UserPrompt::current().message(
            QStringLiteral("A device name cannot contain a line break or start with \"$\"."),
            PromptIcon::Warning);
    }
}

void TDeviceNetWorkWindow::ChangeNodeAddress()
{
    const int macId = SelectedMacId();
    TDeviceNetDevice* device = network_->DeviceAt(macId);
    if (!device || network_->Devices().size() >= TDeviceNetWork::MaxDevices) {
        return;
    }
    if (UserPrompt::current().ask(QStringLiteral("Changing MAC-ID might affect I/O-connections "
                                                 "and I/O-mapping, are you sure?"),
                                  PromptIcon::Warning,
                                  {PromptButton::Yes, PromptButton::No}) != PromptButton::Yes) {
        return;
    }
    const std::optional<int> newMacId = TMacIdDlg::Choose(*network_, this);
    if (!newMacId) {
        return;
    }
    if (d_->online) {
        device->ChangeMacId(this, *newMacId);  // the device answers when the node took it
    } else if (network_->ChangeMacId(macId, *newMacId)) {
        d_->view->SelectMacId(*newMacId);
    }
}

bool TDeviceNetWorkWindow::CloseQuery()
{
    if (network_->IsSaved()) {
        return true;
    }
    switch (UserPrompt::current().yesNoCancel(
        network_->Caption + QStringLiteral(" has been modified, do you want to save?"))) {
        case PromptButton::Yes:
            // A save that failed or whose dialog was cancelled must not lose the network.
            return network_->SaveNetwork();
        case PromptButton::No:
            return true;
        default:
            return false;
    }
}

void TDeviceNetWorkWindow::closeEvent(QCloseEvent* event)
{
    if (CloseQuery()) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace corvix
