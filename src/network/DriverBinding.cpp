// The network's binding to its driver library: choosing and loading the library, going online
// and offline, the driver's status reports and the browse for nodes.
#include "network/DeviceNetWork.h"

#include "app/CorvixError.h"
#include "app/Delay.h"
#include "app/UserPrompt.h"
#include "app/WindowMessage.h"
#include "app/Windows1252.h"
#include "device/DeviceNetDevice.h"
#include "network/DriverSettingsFunctions.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QPointer>

namespace corvix {

namespace {

constexpr int LastMacId = TDeviceNetWork::MaxDevices - 1;

void ShowError(const QString& text)
{
    UserPrompt::current().message(text, PromptIcon::Error);
}

uint16_t LowFirst(const uint8_t* bytes)
{
    return uint16_t(bytes[0] | (bytes[1] << 8));
}

// The text status panel 0 shows for a listed status that reports a fault of the network.
QString MasterOnlineFault(uint32_t status)
{
    switch (status) {
        case CORVIX_NET_BUS_OFF:
            return QStringLiteral("Bus off error!");
        case CORVIX_NET_DUPLICATE_MAC_ID:
            return QStringLiteral("Duplicate MAC-ID failure!");
        case CORVIX_NET_NO_POWER:
            return QStringLiteral("No network power!");
        case CORVIX_NET_UNKNOWN_ERROR:
            return QStringLiteral("Unknown network error!");
        default:
            return {};
    }
}

bool IsListedStatus(uint32_t status)
{
    switch (status) {
        case CORVIX_NET_ONLINE:
        case CORVIX_NET_BUS_OFF:
        case CORVIX_NET_DUPLICATE_MAC_ID:
        case CORVIX_NET_OFFLINE:
        case CORVIX_NET_NO_POWER:
        case CORVIX_NET_UNKNOWN_ERROR:
        case CORVIX_NET_INTERFACE_TIMEOUT:
        case CORVIX_NET_DRIVER_RELEASED:
            return true;
        default:
            return false;
    }
}

}  // namespace

void PostNetworkStatus(QObject* network, uint32_t status)
{
    PostWindowMessage(network, NetworkStatusMessage, 0, qintptr(status));
}

bool TDeviceNetWork::event(QEvent* event)
{
    if (const WindowMessage* message = AsWindowMessage(event)) {
        if (message->id() == NetworkStatusMessage) {
            HandleNetworkStatus(uint32_t(message->lParam()) & 0xFFFFu);
            return true;
        }
    }
    return QObject::event(event);
}

void TDeviceNetWork::ConfigureDriver(
    const std::function<int(const QList<DriverListEntry>&)>& choose)
{
    const QList<DriverListEntry> drivers = ListDrivers(DriverFolder);
    const int result = choose(drivers);
    if (result < 1) {
        return;
    }
    // The user has to go offline first; events keep running meanwhile. The network may be
    // destroyed during the wait: then nothing of it may be touched any more.
    QPointer<TDeviceNetWork> alive(this);
    QDeadlineTimer limit(OfflineWaitLimitMs);
    while (alive && IsOnline()) {
        if (limit.hasExpired()) {
            return;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    if (!alive) {
        return;
    }
    if (result > drivers.size()) {
        return;  // an answer outside the list chooses nothing
    }
    DriverFile = drivers[result - 1].file;
    DriverConfig.clear();
    ReleaseDriver();
    bindDriver(true);
}

void TDeviceNetWork::GoOnline(const std::function<int(const QList<DriverListEntry>&)>& choose)
{
    if (DriverFile.isEmpty() || !QFileInfo::exists(DriverFile)) {
        ConfigureDriver(choose);
        return;
    }
    ReleaseDriver();
    bindDriver(false);
}

void TDeviceNetWork::bindDriver(bool registerSettings)
{
    const QByteArray given = EncodeWindows1252(DriverConfig);
    int32_t settingsLength = int32_t(given.size());
    const char* settingsText = given.isEmpty() ? nullptr : given.constData();

    auto module = std::make_unique<SharedLibrary>();
    if (module->load(DriverFile)) {
        driverModule_ = std::move(module);
        if (registerSettings) {
            if (const auto registerCallbacks =
                    driverModule_->function<CorvixSetupRegisterCallbacksFn>(
                        CORVIX_EXPORT_SETUP_REGISTER_CALLBACKS)) {
                registerCallbacks(DriverReadInteger, DriverWriteInteger, DriverReadBool,
                                  DriverWriteBool, DriverReadString, DriverWriteString);
            }
        }
        if (const auto setUp = driverModule_->function<CorvixSetUpAndGoOnlineFn>(
                CORVIX_EXPORT_SET_UP_AND_GO_ONLINE)) {
            DriverHandle = setUp(this, statusCallback_.address(), &settingsLength, &settingsText);
        } else {
            ShowError(QStringLiteral("Function missing in driver software"));
        }
    } else {
        ShowError(QStringLiteral("The driver was prevented from loaded due to errors"));
    }
    // The driver's text stays valid only until it is closed: copy it now. A negative length
    // from a faulty driver counts as none.
    DriverConfig = settingsText && settingsLength > 0
                       ? DecodeWindows1252(QByteArray(settingsText, settingsLength))
                       : QString();
}

void TDeviceNetWork::closeDriver()
{
    if (!driverModule_) {
        return;
    }
    if (const auto close =
            driverModule_->function<CorvixCloseDriverFn>(CORVIX_EXPORT_CLOSE_DRIVER)) {
        close(DriverHandle);
    }
    DriverHandle = 0;
    // A closed driver's library stays loaded. The network may go offline from inside one of
    // the driver's own callbacks (an adapter unplugged while a question about a reply is open),
    // with the driver's code still on the stack and its objects waiting for deferred deletion;
    // unloading would leave both pointing into unmapped memory. Loading it again only counts up.
    driverModule_->keepLoaded();
    driverModule_.reset();
}

void TDeviceNetWork::ReleaseDriver()
{
    if (ReleasingDriver) {
        return;
    }
    ReleasingDriver = true;
    if (driverModule_) {
        closeDriver();
        QPointer<TDeviceNetWork> alive(this);
        Delay(0, ReleasePauseMs);
        if (!alive) {
            return;
        }
        PostNetworkStatus(this, CORVIX_NET_OFFLINE);
    }
    ReleasingDriver = false;
}

void TDeviceNetWork::HandleNetworkStatus(uint32_t status)
{
    // The questions below let events run; the network may be closed meanwhile.
    QPointer<TDeviceNetWork> alive(this);
    Browsing = false;
    if (status != NetworkStatus) {
        NetworkStatus = status;
        if (IsListedStatus(status)) {
            Q_EMIT connectionStateChanged();
        }
        const QString fault = MasterOnlineFault(status);
        if (status == CORVIX_NET_ONLINE) {
            Q_EMIT statusPanelChanged(0, QStringLiteral("Network Online"));
            if (UserPrompt::current().confirmOkCancel(QStringLiteral(
                    "Network connection established, press OK to update network!"))) {
                BrowseNetwork();
            }
        } else if (!fault.isEmpty()) {
            Q_EMIT statusPanelChanged(0, QStringLiteral("Master Online - ") + fault);
            if (UserPrompt::current().ask(fault, PromptIcon::Error, {PromptButton::Ok}) ==
                PromptButton::Ok) {
                BrowseNetwork();  // starts nothing unless the network counts as online
            }
        } else if (status == CORVIX_NET_OFFLINE) {
            Q_EMIT statusPanelChanged(0, QStringLiteral("Network Offline"));
            ShowProgress(QString(), 0, 0);
            Q_EMIT statusPanelChanged(2, QString());
        } else if (status == CORVIX_NET_INTERFACE_TIMEOUT) {
            const QString text =
                QStringLiteral("Connection to interface timed out, check cable and power!");
            Q_EMIT statusPanelChanged(0, text);
            ReleaseDriver();
            ShowError(text);
            ShowProgress(QString(), 0, 0);
        } else if (status == CORVIX_NET_DRIVER_RELEASED) {
            ReleaseDriver();
            DriverConfig.clear();
            DriverFile.clear();
        }
    }
    if (!alive) {
        return;
    }
    if (!IsOnline()) {
        for (const auto& device : devices_) {
            device->SetNotResponding(false);
        }
    }
    Q_EMIT changed();
}

void TDeviceNetWork::BrowseNetwork()
{
    if (!IsOnline() || Browsing) {
        return;
    }
    Browsing = true;
    // The library the session runs in; loading it once more would only add a reference that
    // no one gives back, and the library would then outlive going offline.
    if (!driverModule_) {
        ShowError(QStringLiteral("DLL not found..."));
        return;
    }
    const auto who = driverModule_->function<CorvixNetWorkWhoFn>(CORVIX_EXPORT_NETWORK_WHO);
    if (!who) {
        ShowError(QStringLiteral("Function does not exists in driver software"));
        return;
    }
    WhoAnswers = 0;
    who(DriverHandle, whoCallback_.address());
}

CorvixNetWorkRequestFn TDeviceNetWork::NetWorkRequestEntry() const
{
    if (!driverModule_) {
        ShowError(QStringLiteral("DLL not found..."));
        return nullptr;
    }
    const auto request =
        driverModule_->function<CorvixNetWorkRequestFn>(CORVIX_EXPORT_NETWORK_REQUEST);
    if (!request) {
        ShowError(QStringLiteral("Function does not exists in driver software"));
    }
    return request;
}

void TDeviceNetWork::HandleWhoAnswer(int32_t length, const uint8_t* data)
{
    if (!data) {
        return;
    }
    if (length == CORVIX_BROWSE_RECORD_PRESENT || length == CORVIX_BROWSE_RECORD_ABSENT) {
        Q_EMIT whoAnswer(QByteArray(reinterpret_cast<const char*>(data), length));
    }
    if (length == CORVIX_BROWSE_RECORD_PRESENT) {
        countWhoAnswer();
        try {
            AddDevice(data[CORVIX_BROWSE_MAC_ID], LowFirst(data + CORVIX_BROWSE_VENDOR_ID),
                      LowFirst(data + CORVIX_BROWSE_DEVICE_TYPE),
                      LowFirst(data + CORVIX_BROWSE_PRODUCT_CODE),
                      data[CORVIX_BROWSE_MAJOR_REVISION], QString());
        } catch (const CorvixError& error) {
            // Nothing may escape into the driver that called us; the answer still counts.
            ShowError(error.message());
        }
        Q_EMIT deviceListChanged();
    } else if (length == CORVIX_BROWSE_RECORD_ABSENT) {
        if (TDeviceNetDevice* device = DeviceAt(data[CORVIX_BROWSE_MAC_ID])) {
            device->SetNotResponding(true);
            Q_EMIT changed();
        }
        countWhoAnswer();
    } else {
        return;
    }
    if (WhoAnswers >= MaxDevices && Browsing) {
        ShowProgress(QString(), 0, 0);
        Browsing = false;
        Q_EMIT browseFinished();
    }
}

void TDeviceNetWork::countWhoAnswer()
{
    ++WhoAnswers;
    if (WhoAnswers <= LastMacId) {
        SetProgress(QStringLiteral("Loading Network"), LastMacId, WhoAnswers);
    }
}

}  // namespace corvix
