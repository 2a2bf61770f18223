#pragma once

#include "app/CallbackThunk.h"
#include "app/SharedLibrary.h"
#include "network/DriverList.h"

#include <CorvixDriverContract.h>

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace corvix {

class TDeviceNetDevice;
class TDeviceNetLib;

// Whether a device name can be stored as the name line of a device section: a line break
// would split it, and a line starting with "$" could be taken for a section marker
// ("$Device End" ends the section early), so either would corrupt the file.
bool IsFileSafeName(const QString& name);

// The driver status message: the status callback posts it to the network, from any thread.
constexpr int NetworkStatusMessage = 0xFDB;
void PostNetworkStatus(QObject* network, uint32_t status);

// One DeviceNet network document: up to 64 devices, each at its own MAC ID and kept sorted by
// it, the driver settings the network file keeps, and the saved state. Windows show it and
// drive it; it tells them about changes through its signals and asks the user only through
// UserPrompt::current().
class TDeviceNetWork : public QObject {
    Q_OBJECT

public:
    static constexpr int MaxDevices = 64;

    // Devices find their EDS file by key in the EDS library at libraryFolder (the program's
    // library when empty), which the network opens and owns.
    explicit TDeviceNetWork(const QString& libraryFolder = {}, QObject* parent = nullptr);
    ~TDeviceNetWork() override;

    const std::vector<std::unique_ptr<TDeviceNetDevice>>& Devices() const { return devices_; }
    TDeviceNetDevice* DeviceAt(int macId) const;
    // The MAC IDs no device holds, ascending: what the MAC ID choice offers.
    QList<int> FreeMacIds() const;

    // Places a device, or answers a browse: when a device already holds macId it is marked
    // missing unless it has this identity (the mark is cleared then) and nothing is returned.
    // Otherwise the device is built from the library's EDS file of the identity, or without
    // EDS file when there is none, and named unless the name is not file-safe. Raises
    // CorvixError when the EDS file is damaged.
    TDeviceNetDevice* AddDevice(int macId, int vendorId, int deviceType, int productCode,
                                int majorRevision, const QString& name);
    bool DeleteDevice(int macId);
    // An empty name clears the user name, so the product name shows again. A name the network
    // file cannot keep (see IsFileSafeName) is refused.
    bool RenameDevice(int macId, const QString& name);
    // The device section for the clipboard; empty when the device is missing, has no EDS file or
    // has neither parameters nor a scanner configuration (nothing worth copying).
    QStringList CopyDevice(int macId) const;
    // Adds a device of the clipboard's identity and name at a free macId and loads the section.
    // Nothing happens unless the clipboard holds a device section and the network has room.
    // Raises ConversionError when the section's header lines are damaged.
    TDeviceNetDevice* PasteDevice(const QStringList& clipboard, int macId);
    // A library entry dropped on the network: the identity comes from the EDS file's name,
    // "vendor_type_code_major.ext". Raises ConversionError for a name of another form.
    TDeviceNetDevice* DropLibraryFile(const QString& edsFilePath, int macId);
    // Loads the source's section into target; false (and nothing copied) unless both are
    // distinct devices of the same identity.
    bool CopyDeviceData(TDeviceNetDevice& source, TDeviceNetDevice& target);
    // Moves a device to a free MAC ID while offline.
    bool ChangeMacId(int macId, int newMacId);
    // A device took a new MAC ID from the network: the list is kept in address order.
    void DeviceMoved();
    // A device's name or data changed outside the network's own operations (a device file was
    // loaded into it): the document is modified and the views show the device anew.
    void DeviceEdited() { edited(); }
    // MAC ID of the last scanner (in list order, not at macId itself) whose scan list holds
    // macId without shared inputs; -1 when there is none.
    int OwningScanner(int macId) const;
    // Rebuilds every device whose EDS file appeared in or vanished from the library since it
    // was built. Names and parameter values of rebuilt devices are not kept.
    void RelinkDevices();

    // Saved: no edit of the network since create, load or save, and every device saved.
    bool IsSaved() const;
    void MarkModified();
    TDeviceNetLib& Library() const { return *library_; }

    // ---- Driver binding -------------------------------------------------------------------
    // Runs the driver choice (choose gets the drivers found in DriverFolder and answers the
    // entry's index + 1, or below 1 for Cancel), waits while the network is still online, then
    // binds the chosen library and lets it set up and go online.
    void ConfigureDriver(const std::function<int(const QList<DriverListEntry>&)>& choose);
    // Goes online again with DriverFile and DriverConfig; the driver choice when the file is
    // gone.
    void GoOnline(const std::function<int(const QList<DriverListEntry>&)>& choose);
    // Goes offline: closes the session and unloads the library.
    void ReleaseDriver();
    // Asks the driver for every node; only while online and not already browsing.
    void BrowseNetwork();
    bool IsOnline() const
    {
        return NetworkStatus == CORVIX_NET_ONLINE || NetworkStatus == CORVIX_NET_NO_POWER;
    }
    // The loaded driver library, or nullptr when there is none.
    const SharedLibrary* DriverModule() const { return driverModule_.get(); }
    // The driver's NetWorkRequest export; shows "DLL not found..." or "Function does not
    // exists in driver software" and returns nullptr when it cannot be had.
    CorvixNetWorkRequestFn NetWorkRequestEntry() const;

    // The status handler (message 0xFDB) and the browse-answer handler; public so that the
    // status a driver reports can be fed in the way the status callback does.
    void HandleNetworkStatus(uint32_t status);
    void HandleWhoAnswer(int32_t length, const uint8_t* data);

    CorvixDriverHandle DriverHandle = 0;
    uint32_t NetworkStatus = 0;
    bool Browsing = false;
    int WhoAnswers = 0;
    bool ReleasingDriver = false;
    QString DriverFolder = DefaultDriverFolder();
    // The pause after closing a driver, so the interface settles before it is opened again.
    int ReleasePauseMs = 1000;
    // How long the driver choice waits for the network to go offline before it gives up.
    int OfflineWaitLimitMs = 120000;

    // Progress of long operations: the bar shows while position is at least 1. ShowProgress
    // lets pending events run before and after, so the window repaints.
    void ShowProgress(const QString& text, int maximum, int position);
    void SetProgress(const QString& text, int maximum, int position);

    // The network file.
    QStringList SaveToLines();
    bool LoadFromLines(const QStringList& lines);
    bool LoadFromFile(const QString& path);
    bool SaveNetwork();
    bool SaveNetworkAs();

    QString Caption;
    QString FilePath;
    QString DriverFile;
    QString DriverConfig;
    bool SavedFlag = true;
    bool IsStartupNetwork = false;

Q_SIGNALS:
    void progressChanged(const QString& text, int maximum, int position);
    // The saved state or the contents changed: command states need updating.
    void changed();
    // Devices were added, removed, renamed or moved: the layout needs rebuilding.
    void deviceListChanged();
    // The connection state changed (message 0x464 to the device and Quick Connect windows).
    void connectionStateChanged();
    // A status bar panel's text (0: connection state, 2: progress text).
    void statusPanelChanged(int panel, const QString& text);
    // One browse record as the driver delivered it (13 bytes: a node answered; 1: none).
    void whoAnswer(const QByteArray& record);
    // A browse got its 64th answer.
    void browseFinished();

protected:
    bool event(QEvent* event) override;

private:
    std::unique_ptr<TDeviceNetDevice> createDevice(int macId, int vendorId, int deviceType,
                                                   int productCode, int majorRevision);
    void sortDevices();
    void edited();
    bool loadDeviceSections(const QStringList& lines);
    bool writeFile(const QString& path, const QStringList& lines);

    QString installedEdsFile(int vendorId, int deviceType, int productCode,
                             int majorRevision) const;

    void bindDriver(bool registerSettings);
    void closeDriver();
    void countWhoAnswer();

    std::unique_ptr<TDeviceNetLib> library_;
    std::unique_ptr<SharedLibrary> driverModule_;
    CallbackThunk<CorvixStatusCallback> statusCallback_;
    CallbackThunk<CorvixBrowseCallback> whoCallback_;
    std::vector<std::unique_ptr<TDeviceNetDevice>> devices_;
};

}  // namespace corvix
