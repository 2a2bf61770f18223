#include "device/ui/DeviceNetDeviceGuiform.h"

#include <algorithm>

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/CorvixError.h"
#include "app/UserPrompt.h"
#include "app/WindowMessage.h"
#include "app/ui/HelpBrowser.h"
#include "device/DeviceNetDevice.h"
#include "device/ui/AdvancedForm.h"
#include "device/ui/EdsForm.h"
#include "device/ui/ParameterForm.h"
#include "device/ui/ScannerPagePlaceholder.h"
#include "network/DeviceFile.h"
#include "network/DeviceNetWork.h"

namespace corvix {

namespace {

const QString DataFileFilter = QStringLiteral("Saved device data files (*.dev)");
const QString DataFileSuffix = QStringLiteral("dev");

}  // namespace

TDeviceNetDeviceGuiform::TDeviceNetDeviceGuiform(TDeviceNetWork* network, TDeviceNetDevice* device,
                                                 const QIcon& icon, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      network_(network),
      device_(device),
      pageControl_(new QTabWidget(this)),
      loadButton_(new QPushButton(QStringLiteral("Load from file"), this)),
      saveButton_(new QPushButton(QStringLiteral("Save to file"), this)),
      helpButton_(new QPushButton(QStringLiteral("Help"), this)),
      closeButton_(new QPushButton(QStringLiteral("Close"), this))
{
    setWindowTitle(DeviceWindowCaption(*device_));
    setWindowIcon(icon);
    setMinimumSize(350, 178);
    resize(500, 480);

    for (DevicePage page : DeviceWindowPages(*device_, network_->IsOnline())) {
        addPage(page, createPage(page));
    }

    auto* bottomPanel = new QHBoxLayout;
    bottomPanel->addWidget(loadButton_);
    bottomPanel->addWidget(saveButton_);
    bottomPanel->addStretch();
    bottomPanel->addWidget(closeButton_);
    bottomPanel->addWidget(helpButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pageControl_, 1);
    layout->addLayout(bottomPanel);

    connect(loadButton_, &QPushButton::clicked, this, &TDeviceNetDeviceGuiform::LoadFromFile);
    connect(saveButton_, &QPushButton::clicked, this, &TDeviceNetDeviceGuiform::SaveToFile);
    connect(helpButton_, &QPushButton::clicked, this, &TDeviceNetDeviceGuiform::ShowHelp);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
    auto* help = new QAction(this);
    help->setShortcut(Qt::Key_F1);
    help->setShortcutContext(Qt::WindowShortcut);
    connect(help, &QAction::triggered, this, &TDeviceNetDeviceGuiform::ShowHelp);
    addAction(help);

    connect(pageControl_, &QTabWidget::currentChanged, this,
            &TDeviceNetDeviceGuiform::ActivatePage);
    connect(network_, &TDeviceNetWork::deviceListChanged, this,
            &TDeviceNetDeviceGuiform::followDeviceList);

    if (owner) {
        move(owner->mapToGlobal(owner->rect().center()) - rect().center());
    }
}

TDeviceNetDeviceGuiform::~TDeviceNetDeviceGuiform() = default;

QWidget* TDeviceNetDeviceGuiform::createPage(DevicePage page)
{
    switch (page) {
        case DevicePage::Parameter:
            parameterPage_ = new TParameterForm(network_, device_);
            return parameterPage_;
        case DevicePage::ScanList:
            return new TScannerPagePlaceholder(QStringLiteral("The scan list editor"));
        case DevicePage::InputMapping:
            return new TScannerPagePlaceholder(QStringLiteral("The input mapping editor"));
        case DevicePage::OutputMapping:
            return new TScannerPagePlaceholder(QStringLiteral("The output mapping editor"));
        case DevicePage::Adr:
            return new TScannerPagePlaceholder(QStringLiteral("The ADR editor"));
        case DevicePage::Diagnostics:
            return new TScannerPagePlaceholder(QStringLiteral("The scanner diagnostics page"));
        case DevicePage::Advanced:
            advancedPage_ = new TAdvancedform(network_, device_);
            return advancedPage_;
        case DevicePage::Eds:
            return new TEDSForm(*device_);
    }
    return nullptr;
}

void TDeviceNetDeviceGuiform::addPage(DevicePage page, QWidget* form)
{
    pageControl_->addTab(form, DevicePageCaption(page));
    pages_.append(page);
}

TParameterForm* TDeviceNetDeviceGuiform::ParameterPage() const
{
    return parameterPage_;
}

TAdvancedform* TDeviceNetDeviceGuiform::AdvancedPage() const
{
    return advancedPage_;
}

int TDeviceNetDeviceGuiform::PageIndex(DevicePage page) const
{
    return int(pages_.indexOf(page));
}

DevicePage TDeviceNetDeviceGuiform::activePage() const
{
    return pages_.value(pageControl_->currentIndex(), DevicePage::Eds);
}

void TDeviceNetDeviceGuiform::ActivatePage()
{
    if (deviceGone_) {
        return;
    }
    switch (activePage()) {
        case DevicePage::Parameter:
            parameterPage_->FormRefresh();
            break;
        case DevicePage::Advanced:
            advancedPage_->Activate();
            break;
        default:
            break;  // the scanner pages and the EDS page show nothing that changes
    }
}

FileDialogRequest TDeviceNetDeviceGuiform::dataFileRequest(FileDialogRequest::Mode mode,
                                                           const QString& caption) const
{
    FileDialogRequest request;
    request.mode = mode;
    request.caption = caption;
    // Device files usually live beside the network file they were taken from.
    if (!network_->FilePath.isEmpty()) {
        request.folder = QFileInfo(network_->FilePath).path();
    }
    request.filter = DataFileFilter;
    request.defaultSuffix = DataFileSuffix;
    return request;
}

void TDeviceNetDeviceGuiform::LoadFromFile()
{
    const QStringList chosen = UserPrompt::current().chooseFiles(
        dataFileRequest(FileDialogRequest::Mode::OpenOne, QStringLiteral("Load device data")));
    if (chosen.isEmpty()) {
        return;
    }
    try {
        if (!LoadDeviceFile(*device_, chosen.first())) {
            // Loading a file of another device would otherwise look like a load that worked.
            UserPrompt::current().message(
                QStringLiteral("%1 holds the data of another kind of device; nothing was loaded.")
                    .arg(QFileInfo(chosen.first()).fileName()),
                PromptIcon::Warning);
            return;
        }
    } catch (const CorvixError& error) {
        UserPrompt::current().message(error.message(), PromptIcon::Error);
        return;
    }
    if (parameterPage_) {
        parameterPage_->FormRefresh();
    }
}

void TDeviceNetDeviceGuiform::SaveToFile()
{
    FileDialogRequest request =
        dataFileRequest(FileDialogRequest::Mode::Save, QStringLiteral("Save device data"));
    if (!device_->Name.isEmpty() && IsFileSafeName(device_->Name)) {
        request.fileName = device_->Name + u'.' + DataFileSuffix;
    }
    const QStringList chosen = UserPrompt::current().chooseFiles(request);
    if (chosen.isEmpty()) {
        return;
    }
    try {
        SaveDeviceFile(*device_, chosen.first());
    } catch (const CorvixError& error) {
        UserPrompt::current().message(error.message(), PromptIcon::Error);
    }
}

void TDeviceNetDeviceGuiform::ShowHelp()
{
    ShowHelpTopic(DevicePageHelpTopic(pageControl_->tabText(pageControl_->currentIndex())));
}

bool TDeviceNetDeviceGuiform::event(QEvent* event)
{
    if (const WindowMessage* message = AsWindowMessage(event)) {
        if (message->id() == DeviceWindowOnlineStateMessage) {
            ActivatePage();
            return true;
        }
    }
    return QWidget::event(event);
}

void TDeviceNetDeviceGuiform::closeEvent(QCloseEvent* event)
{
    if (!closing_) {
        closing_ = true;
        // Values edited here but not written would silently differ from the device's.
        if (!deviceGone_ && network_->IsOnline() && parameterPage_) {
            parameterPage_->SameAsNetWork();
        }
    }
    event->accept();
    deleteWhenIdle();
}

void TDeviceNetDeviceGuiform::deleteWhenIdle()
{
    // A group transfer waits for its replies inside its own call; the page must outlive it.
    if (!parameterPage_ || parameterPage_->Idle()) {
        deleteLater();
        return;
    }
    parameterPage_->StopTransfer();
    connect(parameterPage_, &TParameterForm::idleChanged, this, [this](bool idle) {
        if (idle) {
            deleteLater();
        }
    });
}

void TDeviceNetDeviceGuiform::followDeviceList()
{
    const auto& devices = network_->Devices();
    const bool present = std::any_of(devices.begin(), devices.end(),
                                     [this](const auto& device) { return device.get() == device_; });
    if (!present) {
        deviceGone_ = true;
        close();
        return;
    }
    setWindowTitle(DeviceWindowCaption(*device_));
}

}  // namespace corvix
