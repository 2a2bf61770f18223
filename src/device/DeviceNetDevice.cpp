#include "device/DeviceNetDevice.h"

#include "app/StatusText.h"
#include "app/UserPrompt.h"
#include "network/DeviceNetWork.h"

namespace corvix {

TDeviceNetDevice::TDeviceNetDevice(TDeviceNetWork* owner, int macId)
    : MacId(macId),
      Owner(owner),
      macIdReplyThunk_([this](uint32_t, uint8_t transferStatus, uint8_t service, uint32_t length,
                              const uint8_t* data) {
          macIdReply(transferStatus, service, length, data);
      })
{
}

// Parameters go first: the groups only point at them.
TDeviceNetDevice::~TDeviceNetDevice()
{
    parameters_.clear();
    ScannerConfig.reset();
}

std::unique_ptr<TDeviceNetDevice> TDeviceNetDevice::CreateFromEds(TDeviceNetWork* owner,
                                                                  const QString& edsFileName,
                                                                  const QByteArray& edsText,
                                                                  int macId)
{
    std::unique_ptr<TDeviceNetDevice> device(new TDeviceNetDevice(owner, macId));
    device->readEds(edsText);
    device->EdsFileName = edsFileName;
    device->QuickConnectEnabled = false;
    device->WithoutEds = false;
    device->NotResponding = false;
    return device;
}

std::unique_ptr<TDeviceNetDevice> TDeviceNetDevice::CreateWithoutEds(TDeviceNetWork* owner,
                                                                     int macId, int vendorCode,
                                                                     int productType,
                                                                     int productCode,
                                                                     int majorRevision)
{
    std::unique_ptr<TDeviceNetDevice> device(new TDeviceNetDevice(owner, macId));
    device->VendorCode = vendorCode;
    device->ProductType = productType;
    device->ProductCode = productCode;
    device->MajorRevision = majorRevision;
    device->ProductName = QStringLiteral("No EDS-file registered for this device");
    device->WithoutEds = true;
    return device;
}

bool TDeviceNetDevice::HasIdentity(int vendorCode, int productType, int majorRevision,
                                   int productCode) const
{
    return VendorCode == vendorCode && ProductType == productType &&
           MajorRevision == majorRevision && ProductCode == productCode;
}

bool TDeviceNetDevice::SameIdentity(const TDeviceNetDevice& other) const
{
    return HasIdentity(other.VendorCode, other.ProductType, other.MajorRevision, other.ProductCode);
}

const TParameterGroup* TDeviceNetDevice::group(int groupIndex) const
{
    if (groupIndex < 0 || groupIndex >= ParameterGroups.size()) {
        return nullptr;
    }
    return &ParameterGroups[groupIndex];
}

int TDeviceNetDevice::ParameterCount(int groupIndex) const
{
    const TParameterGroup* g = group(groupIndex);
    return g ? int(g->Members.size()) : 0;
}

TDevParameterClass* TDeviceNetDevice::ParameterAt(int groupIndex, int position) const
{
    const TParameterGroup* g = group(groupIndex);
    if (!g || position < 0 || position >= g->Members.size()) {
        return nullptr;
    }
    return g->Members[position];
}

void TDeviceNetDevice::ShowIdentity() const
{
    const QString text = QStringLiteral(
                             "Vendor ID: %1\r\nProduct Type: %2\r\nProduct Code: %3\r\n"
                             "Major Revision: %4")
                             .arg(VendorCode)
                             .arg(ProductType)
                             .arg(ProductCode)
                             .arg(MajorRevision);
    UserPrompt::current().ask(text, PromptIcon::Information, {PromptButton::Ok}, ProductName);
}

void TDeviceNetDevice::ChangeMacId(QObject* notifyWindow, int newMacId)
{
    MacNotifyWindow = notifyWindow;
    if (!Owner) {
        return;
    }
    if (!Owner->IsOnline()) {
        MacId = newMacId;
        return;
    }
    // The address travels in one byte and must stay unique in the document: another value
    // would be cut on the wire or put two devices at one address.
    if (newMacId < 0 || newMacId >= TDeviceNetWork::MaxDevices ||
        (newMacId != MacId && Owner->DeviceAt(newMacId))) {
        return;
    }
    const CorvixNetWorkRequestFn request = Owner->NetWorkRequestEntry();
    if (!request) {
        return;
    }
    PendingMacId = newMacId;
    const uint8_t data = uint8_t(newMacId);
    request(Owner->DriverHandle, 1, uint8_t(MacId), "20 03 24 01 30 01",
            CORVIX_SERVICE_SET_ATTRIBUTE_SINGLE, 1, &data, macIdReplyThunk_.address());
}

void TDeviceNetDevice::macIdReply(uint8_t transferStatus, uint8_t service, uint32_t length,
                                  const uint8_t* data)
{
    if (transferStatus != CORVIX_TRANSFER_SUCCESS) {
        UserPrompt::current().message(
            QStringLiteral("The requested module was not available on the network"),
            PromptIcon::Error);
    } else if (service == (CORVIX_SERVICE_SET_ATTRIBUTE_SINGLE | CORVIX_SERVICE_REPLY_FLAG)) {
        MacId = PendingMacId;
        if (Owner) {
            Owner->DeviceMoved();
        }
    } else {
        UserPrompt::current().message(QStringLiteral("Error setting new MAC-ID :  ") +
                                          (length > 0 && data ? StatusText(data[0]) : QString()),
                                      PromptIcon::Error);
    }
}

bool TDeviceNetDevice::AllSaved() const
{
    for (const auto& parameter : parameters_) {
        if (!parameter->Saved()) {
            return false;
        }
    }
    return !ScannerConfig || ScannerConfig->Saved;
}

}  // namespace corvix
