#include "network/DeviceNetWork.h"

#include "app/CorvixError.h"
#include "device/DeviceNetDevice.h"
#include "library/LibraryFolder.h"
#include "library/TDeviceNetLib.h"
#include "network/DeviceSectionHeader.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>

namespace corvix {

namespace {

const QString DeviceBeginMarker = QStringLiteral("$Device Begin");

QString EdsKey(int vendorId, int deviceType, int productCode, int majorRevision)
{
    return QStringLiteral("%1_%2_%3_%4")
        .arg(vendorId)
        .arg(deviceType)
        .arg(productCode)
        .arg(majorRevision);
}

}  // namespace

bool IsFileSafeName(const QString& name)
{
    return !name.startsWith(u'$') && !name.contains(u'\r') && !name.contains(u'\n');
}

TDeviceNetWork::TDeviceNetWork(const QString& libraryFolder, QObject* parent)
    : QObject(parent),
      library_(std::make_unique<TDeviceNetLib>(this, nullptr, libraryFolder)),
      statusCallback_([this](uint32_t code) { PostNetworkStatus(this, code); }),
      whoCallback_([this](int32_t length, const uint8_t* data) { HandleWhoAnswer(length, data); })
{
}

TDeviceNetWork::~TDeviceNetWork()
{
    // No pause and no status message: nobody is left to show them.
    closeDriver();
}

TDeviceNetDevice* TDeviceNetWork::DeviceAt(int macId) const
{
    for (const auto& device : devices_) {
        if (device->MacId == macId) {
            return device.get();
        }
    }
    return nullptr;
}

QList<int> TDeviceNetWork::FreeMacIds() const
{
    QList<int> free;
    for (int macId = 0; macId < MaxDevices; ++macId) {
        if (!DeviceAt(macId)) {
            free.append(macId);
        }
    }
    return free;
}

namespace {

// The library-relative name of the installed EDS file of an identity.
QString InstalledEdsName(int vendorId, int deviceType, int productCode, int majorRevision)
{
    return QStringLiteral("eds\\") + EdsKey(vendorId, deviceType, productCode, majorRevision) +
           QStringLiteral(".eds");
}

}  // namespace

QString TDeviceNetWork::installedEdsFile(int vendorId, int deviceType, int productCode,
                                         int majorRevision) const
{
    return FindLibraryFile(library_->LibraryPath(),
                           InstalledEdsName(vendorId, deviceType, productCode, majorRevision));
}

std::unique_ptr<TDeviceNetDevice> TDeviceNetWork::createDevice(int macId, int vendorId,
                                                               int deviceType, int productCode,
                                                               int majorRevision)
{
    const QString edsFile = installedEdsFile(vendorId, deviceType, productCode, majorRevision);
    if (edsFile.isEmpty()) {
        return TDeviceNetDevice::CreateWithoutEds(this, macId, vendorId, deviceType, productCode,
                                                  majorRevision);
    }
    return library_->CreateDeviceFromEdsFile(
        this, macId, InstalledEdsName(vendorId, deviceType, productCode, majorRevision));
}

TDeviceNetDevice* TDeviceNetWork::AddDevice(int macId, int vendorId, int deviceType,
                                            int productCode, int majorRevision, const QString& name)
{
    if (TDeviceNetDevice* present = DeviceAt(macId)) {
        // Another identity at this address means the node we placed is not the one there.
        present->SetNotResponding(
            !present->HasIdentity(vendorId, deviceType, majorRevision, productCode));
        Q_EMIT changed();
        return nullptr;
    }
    if (macId < 0 || macId >= MaxDevices) {
        return nullptr;
    }
    auto device = createDevice(macId, vendorId, deviceType, productCode, majorRevision);
    if (IsFileSafeName(name)) {
        device->Name = name;
    }
    TDeviceNetDevice* added = device.get();
    devices_.push_back(std::move(device));
    sortDevices();
    edited();
    return added;
}

bool TDeviceNetWork::DeleteDevice(int macId)
{
    const auto found = std::find_if(devices_.begin(), devices_.end(),
                                    [macId](const auto& device) { return device->MacId == macId; });
    if (found == devices_.end()) {
        return false;
    }
    devices_.erase(found);
    edited();
    return true;
}

bool TDeviceNetWork::RenameDevice(int macId, const QString& name)
{
    TDeviceNetDevice* device = DeviceAt(macId);
    if (!device || !IsFileSafeName(name)) {
        return false;
    }
    device->Name = name;
    edited();
    return true;
}

QStringList TDeviceNetWork::CopyDevice(int macId) const
{
    TDeviceNetDevice* device = DeviceAt(macId);
    if (!device || device->WithoutEds || device->NotResponding ||
        (device->Parameters().empty() && !device->ScannerConfig)) {
        return {};
    }
    return device->WriteSection();
}

TDeviceNetDevice* TDeviceNetWork::PasteDevice(const QStringList& clipboard, int macId)
{
    if (clipboard.isEmpty() || clipboard.first() != DeviceBeginMarker ||
        int(devices_.size()) >= MaxDevices || DeviceAt(macId)) {
        return nullptr;
    }
    const DeviceSectionHeader header = ReadDeviceSectionHeader(clipboard, 1);
    TDeviceNetDevice* device = AddDevice(macId, header.vendorId, header.deviceType,
                                         header.productCode, header.majorRevision, header.name);
    if (device) {
        device->ReadSection(clipboard);
    }
    return device;
}

TDeviceNetDevice* TDeviceNetWork::DropLibraryFile(const QString& edsFilePath, int macId)
{
    // The library names its files by key; a file name of another form cannot say what it holds.
    static const QRegularExpression keyName(
        QStringLiteral("^(\\d{1,5})_(\\d{1,5})_(\\d{1,5})_(\\d{1,3})\\.[^.]*$"));
    const QString fileName = edsFilePath.mid(
        std::max(edsFilePath.lastIndexOf(u'\\'), edsFilePath.lastIndexOf(u'/')) + 1);
    const QRegularExpressionMatch match = keyName.match(fileName);
    if (!match.hasMatch()) {
        throw ConversionError(
            QStringLiteral("'%1' is not a library EDS file name (vendor_type_code_major.eds).")
                .arg(fileName));
    }
    if (int(devices_.size()) >= MaxDevices) {
        return nullptr;
    }
    return AddDevice(macId, match.captured(1).toInt(), match.captured(2).toInt(),
                     match.captured(3).toInt(), match.captured(4).toInt(), QString());
}

bool TDeviceNetWork::CopyDeviceData(TDeviceNetDevice& source, TDeviceNetDevice& target)
{
    if (&source == &target || !source.SameIdentity(target)) {
        return false;
    }
    target.ReadSection(source.WriteSection());
    edited();
    return true;
}

bool TDeviceNetWork::ChangeMacId(int macId, int newMacId)
{
    TDeviceNetDevice* device = DeviceAt(macId);
    if (!device || newMacId < 0 || newMacId >= MaxDevices || DeviceAt(newMacId) || IsOnline()) {
        return false;
    }
    device->ChangeMacId(nullptr, newMacId);
    sortDevices();
    edited();
    return true;
}

void TDeviceNetWork::DeviceMoved()
{
    sortDevices();
    edited();
}

int TDeviceNetWork::OwningScanner(int macId) const
{
    int owner = -1;
    for (const auto& device : devices_) {
        const auto& scanner = device->ScannerConfig;
        if (scanner && device->MacId != macId && scanner->IsInScanList(macId) &&
            !scanner->HasSharedInputs(macId)) {
            owner = device->MacId;
        }
    }
    return owner;
}

void TDeviceNetWork::RelinkDevices()
{
    // Collect first: rebuilding changes the list being walked.
    QList<int> stale;
    for (const auto& device : devices_) {
        const bool fileExists = !installedEdsFile(device->VendorCode, device->ProductType,
                                                  device->ProductCode, device->MajorRevision)
                                     .isEmpty();
        if (fileExists == device->WithoutEds) {
            stale.append(device->MacId);
        }
    }
    for (int macId : stale) {
        const TDeviceNetDevice* old = DeviceAt(macId);
        const int identity[4] = {old->VendorCode, old->ProductType, old->ProductCode,
                                 old->MajorRevision};
        DeleteDevice(macId);
        AddDevice(macId, identity[0], identity[1], identity[2], identity[3], QString());
    }
}

bool TDeviceNetWork::IsSaved() const
{
    return SavedFlag && std::all_of(devices_.begin(), devices_.end(),
                                    [](const auto& device) { return device->AllSaved(); });
}

void TDeviceNetWork::MarkModified()
{
    SavedFlag = false;
    Q_EMIT changed();
}

void TDeviceNetWork::ShowProgress(const QString& text, int maximum, int position)
{
    if (QCoreApplication::instance()) {
        QCoreApplication::processEvents();
    }
    Q_EMIT progressChanged(text, maximum, position);
    if (QCoreApplication::instance()) {
        QCoreApplication::processEvents();
    }
}

void TDeviceNetWork::SetProgress(const QString& text, int maximum, int position)
{
    Q_EMIT progressChanged(text, maximum, position);
}

void TDeviceNetWork::sortDevices()
{
    std::stable_sort(devices_.begin(), devices_.end(),
                     [](const auto& a, const auto& b) { return a->MacId < b->MacId; });
}

void TDeviceNetWork::edited()
{
    SavedFlag = false;
    Q_EMIT changed();
    Q_EMIT deviceListChanged();
}

}  // namespace corvix
