#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "app/CallbackThunk.h"
#include "device/AbstractFieldbusDevice.h"
#include "device/DevParameterClass.h"
#include "scanner/DevScannerCfg.h"

#include <CorvixDriverContract.h>

class QObject;

namespace corvix {

class EdsKeyIndex;
class TDeviceNetWork;

// A named list of parameters of one device; the group does not own them.
struct TParameterGroup {
    QString Name;
    QList<TDevParameterClass*> Members;
};

// One node of a network document: its address and name, the identity that binds it to an EDS
// file, everything read from that file (information lines, default I/O sizes, Quick Connect
// support, parameters and their groups, a scanner's configuration) and its state on the network.
//
// Devices are built by the two factories and are neither copied nor moved: parameters and the
// scanner configuration point back at their device.
class TDeviceNetDevice : public TAbstractFieldbusdevice {
public:
    // Builds a device from a normalised EDS text. Definition faults of single parameters are
    // collected in DefinitionErrors; "Invalid Quick connect support value", a conversion error
    // in the identity, I/O information or groups, and a scanner configuration that cannot be
    // read raise CorvixError.
    static std::unique_ptr<TDeviceNetDevice> CreateFromEds(TDeviceNetWork* owner,
                                                           const QString& edsFileName,
                                                           const QByteArray& edsText, int macId);
    // A device that no EDS file describes: identity only, no parameters, no scanner.
    static std::unique_ptr<TDeviceNetDevice> CreateWithoutEds(TDeviceNetWork* owner, int macId,
                                                              int vendorCode, int productType,
                                                              int productCode, int majorRevision);

    TDeviceNetDevice(const TDeviceNetDevice&) = delete;
    TDeviceNetDevice& operator=(const TDeviceNetDevice&) = delete;
    ~TDeviceNetDevice() override;

    void SetNotResponding(bool notResponding) { NotResponding = notResponding; }

    bool HasIdentity(int vendorCode, int productType, int majorRevision, int productCode) const;
    bool SameIdentity(const TDeviceNetDevice& other) const;

    // Whether the EDS file had a [ParamClass]: only then the device section carries a parameter
    // block, even an empty one.
    bool HasParameterList() const { return hasParameterList_; }
    const std::vector<std::unique_ptr<TDevParameterClass>>& Parameters() const
    {
        return parameters_;
    }
    // The parameters of a group (0 is "All Parameters"); 0 and nullptr outside the groups.
    int ParameterCount(int groupIndex) const;
    TDevParameterClass* ParameterAt(int groupIndex, int position) const;

    // Shows the identity in a message box captioned with the product name.
    void ShowIdentity() const;

    // Changes the node address. Without an owner nothing happens; an owned device whose network
    // is offline takes the new address at once. Online the node is asked first (Set_Attribute_
    // Single of the DeviceNet object's MAC ID) and the device moves when it agrees; an address
    // outside 0..63 or held by another device of the network is not asked for.
    void ChangeMacId(QObject* notifyWindow, int newMacId);

    // The device section, "$Device Begin" ... "$Device End", one text per line without line
    // ends. Writing marks every parameter and the scanner configuration saved.
    QStringList WriteSection();
    // Loads name, Quick Connect flag, parameter values and the scanner block from a section.
    // A section of another identity, or shorter than eight lines, loads nothing. Raises
    // ConversionError when an identity line is no number or the scanner block is damaged.
    void ReadSection(const QStringList& lines);

    // No parameter value and no scanner setting changed since the last WriteSection.
    bool AllSaved() const;

    QString EdsFileName;
    int MacId = 0;
    int VendorCode = 0;
    int ProductType = 0;
    int ProductCode = 0;
    int MajorRevision = 0;
    QString ProductName;
    QStringList EdsInfo;
    QList<TParameterGroup> ParameterGroups;
    int64_t ParamClassDescriptor = 0;
    int64_t QuickConnectSupport = 0;
    int64_t QuickConnectSecondField = 0;
    bool QuickConnectEnabled = false;
    QString Name;
    std::unique_ptr<TDevScannerCfgClass> ScannerConfig;
    int64_t DefaultConnections = 0;
    int64_t PollOutputSize = 0, PollInputSize = 0;
    int64_t CosOutputSize = 0, CosInputSize = 0;
    int64_t CyclicOutputSize = 0, CyclicInputSize = 0;
    int64_t StrobeInputSize = 0, StrobeOutputSize = 0;
    bool WithoutEds = false;
    bool NotResponding = false;
    QStringList DefinitionErrors;
    TDeviceNetWork* Owner = nullptr;  // not owned

    // The window that asked for the last MAC ID change, and the address asked for.
    QObject* MacNotifyWindow = nullptr;
    int PendingMacId = 0;

private:
    TDeviceNetDevice(TDeviceNetWork* owner, int macId);

    void macIdReply(uint8_t transferStatus, uint8_t service, uint32_t length, const uint8_t* data);
    void readEds(const QByteArray& edsText);
    void readIdentity(const EdsKeyIndex& index);
    void readQuickConnect(const EdsKeyIndex& index);
    void readIoInfo(const EdsKeyIndex& index);
    void readParameters(const EdsKeyIndex& index);
    void readGroups(const EdsKeyIndex& index);
    const TParameterGroup* group(int groupIndex) const;

    bool hasParameterList_ = false;
    std::vector<std::unique_ptr<TDevParameterClass>> parameters_;
    CallbackThunk<CorvixReplyCallback> macIdReplyThunk_;
};

}  // namespace corvix
