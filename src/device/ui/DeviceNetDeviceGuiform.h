#pragma once

#include <QIcon>
#include <QPointer>
#include <QWidget>

#include "app/UserPrompt.h"
#include "device/DeviceWindowPages.h"

class QPushButton;
class QTabWidget;

namespace corvix {

class TAdvancedform;
class TDeviceNetDevice;
class TDeviceNetWork;
class TParameterForm;

// Posted to a device window when its network went online or offline: the active page is
// activated again so that it shows what the new state allows.
constexpr int DeviceWindowOnlineStateMessage = 0x464;

// The window of one device of a network: its pages (parameters, the scanner's pages, the
// explicit request editor while online, the EDS information) and the buttons to load and save
// the device's data file. The network window owns it; the set of pages is fixed when it opens.
class TDeviceNetDeviceGuiform : public QWidget {
    Q_OBJECT
public:
    TDeviceNetDeviceGuiform(TDeviceNetWork* network, TDeviceNetDevice* device, const QIcon& icon,
                            QWidget* owner);
    ~TDeviceNetDeviceGuiform() override;

    TDeviceNetDevice* Device() const { return device_; }
    // Closed, and only waiting for a group transfer to end before it goes away.
    bool Closing() const { return closing_; }
    QTabWidget& PageControl() const { return *pageControl_; }
    // The tab index of a page, -1 when the window does not have it.
    int PageIndex(DevicePage page) const;
    TParameterForm* ParameterPage() const;
    TAdvancedform* AdvancedPage() const;

    // Runs what the active page does when it becomes active.
    void ActivatePage();
    // The device data file (".dev") buttons and the help for the active page.
    void LoadFromFile();
    void SaveToFile();
    void ShowHelp();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void addPage(DevicePage page, QWidget* form);
    QWidget* createPage(DevicePage page);
    DevicePage activePage() const;
    FileDialogRequest dataFileRequest(FileDialogRequest::Mode mode, const QString& caption) const;
    // The device was deleted from its network or rebuilt: the window closes without asking.
    void followDeviceList();
    void deleteWhenIdle();

    TDeviceNetWork* network_;
    TDeviceNetDevice* device_;
    QTabWidget* pageControl_;
    QList<DevicePage> pages_;  // by tab index
    QPointer<TParameterForm> parameterPage_;
    QPointer<TAdvancedform> advancedPage_;
    QPushButton* loadButton_;
    QPushButton* saveButton_;
    QPushButton* helpButton_;
    QPushButton* closeButton_;
    bool deviceGone_ = false;
    bool closing_ = false;
};

}  // namespace corvix
