#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace corvix {

class TDeviceNetDevice;
class TDeviceNetLib;

// Whether a device name can be stored as the name line of a device section: a line break
// would split it, and a line starting with "$" could be taken for a section marker
// ("$Device End" ends the section early), so either would corrupt the file.
bool IsFileSafeName(const QString& name);

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
    // MAC ID of the last scanner (in list order, not at macId itself) whose scan list holds
    // macId without shared inputs; -1 when there is none.
    int OwningScanner(int macId) const;
    // Rebuilds every device whose EDS file appeared in or vanished from the library since it
    // was built. Names and parameter values of rebuilt devices are not kept.
    void RelinkDevices();

    // Saved: no edit of the network since create, load or save, and every device saved.
    bool IsSaved() const;
    void MarkModified();
    bool IsOnline() const { return false; }
    TDeviceNetLib& Library() const { return *library_; }

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

private:
    std::unique_ptr<TDeviceNetDevice> createDevice(int macId, int vendorId, int deviceType,
                                                   int productCode, int majorRevision);
    void sortDevices();
    void edited();
    bool loadDeviceSections(const QStringList& lines);
    bool writeFile(const QString& path, const QStringList& lines);

    QString installedEdsFile(int vendorId, int deviceType, int productCode,
                             int majorRevision) const;

    std::unique_ptr<TDeviceNetLib> library_;
    std::vector<std::unique_ptr<TDeviceNetDevice>> devices_;
};

}  // namespace corvix
