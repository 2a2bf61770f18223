// The exports of the gateway driver: sessions keyed by the owner window, each handed to the host
// as a small session id.
#include "gateway/GatewaySession.h"
#include "gateway/SetupDialog.h"

#include <exception>
#include <vector>

using namespace corvix::gateway;

namespace {

const uint8_t PathSegmentError = 0x04;
const uint8_t PathDestinationUnknown = 0x05;

std::vector<GatewaySession*>& Sessions()
{
    static std::vector<GatewaySession*> sessions;
    return sessions;
}

GatewaySession* FindByHandle(CorvixDriverHandle handle)
{
    for (GatewaySession* session : Sessions())
        if (handle != 0 && session->handle() == handle)
            return session;
    return nullptr;
}

GatewaySession* SessionFor(void* ownerWindow)
{
    static CorvixDriverHandle nextHandle = 0;
    for (GatewaySession* session : Sessions())
        if (session->ownerWindow() == ownerWindow)
            return session;
    if (++nextHandle == 0)
        ++nextHandle;
    auto* session = new GatewaySession(nextHandle, ownerWindow);
    Sessions().push_back(session);
    return session;
}

// Every export ends here on an error: the host only ever sees status codes.
template <typename Result, typename Work>
Result Guarded(Result failed, Work work)
{
    try {
        return work();
    } catch (const std::exception&) {
        return failed;
    }
}

}  // namespace

extern "C" {

CORVIX_EXPORT const char* CORVIX_STDCALL VelmoraCorvixDriverForDeviceNet()
{
    return "EtherNet/IP to DeviceNet Driver - Ver:1.6";
}

CORVIX_EXPORT const char* CORVIX_STDCALL GetHelpText()
{
    return "Access DeviceNet through a EtherNet/IP to DeviceNet bridge";
}

CORVIX_EXPORT CorvixDriverHandle CORVIX_STDCALL
SetUpAndGoOnline(void* ownerWindow, CorvixStatusCallback statusCallback, int32_t* settingsLength,
                 const char** settingsText)
{
    return Guarded<CorvixDriverHandle>(0, [&] {
        GatewaySession* session = SessionFor(ownerWindow);
        session->setStatusCallback(statusCallback);
        std::optional<GatewaySettings> settings;
        if (settingsLength && settingsText && *settingsLength > 0 && *settingsText)
            settings = GatewaySettings::parse(QByteArray(*settingsText, *settingsLength));
        if (!settings)
            settings = RunSetupDialog(ownerWindow);
        if (!settings) {
            session->reportStatus(CORVIX_NET_OFFLINE);
            return session->handle();
        }
        session->goOnline(*settings);
        if (settingsLength && settingsText) {
            *settingsLength = int32_t(session->settingsText().size());
            *settingsText = session->settingsText().constData();
        }
        return session->handle();
    });
}

CORVIX_EXPORT void CORVIX_STDCALL NetWorkWho(CorvixDriverHandle driverHandle,
                                             CorvixBrowseCallback browseCallback)
{
    Guarded(0, [&] {
        if (GatewaySession* session = FindByHandle(driverHandle))
            session->browse(browseCallback);
        return 0;
    });
}

CORVIX_EXPORT uint8_t CORVIX_STDCALL NetWorkRequest(CorvixDriverHandle driverHandle, uint32_t tag,
                                                    uint8_t macId, const char* pathText,
                                                    uint8_t service, uint32_t dataLength,
                                                    const uint8_t* data,
                                                    CorvixReplyCallback replyCallback)
{
    return Guarded<uint8_t>(0, [&] {
        GatewaySession* session = FindByHandle(driverHandle);
        if (!session)
            return uint8_t(0);
        Request request;
        request.tag = tag;
        request.macId = macId;
        request.service = service;
        request.replyCallback = replyCallback;
        if (dataLength > 0 && data)
            request.data = QByteArray(reinterpret_cast<const char*>(data), qsizetype(dataLength));
        const auto path = PathBytesFromText(pathText);
        const bool pathOk = path && PaddedPath(*path);
        if (!pathOk || macId >= CORVIX_MAC_ID_COUNT) {
            // Never sent: the caller learns at once why, instead of waiting for a time-out.
            if (replyCallback)
                replyCallback(tag, CORVIX_TRANSFER_SUCCESS, CORVIX_SERVICE_ERROR_REPLY, 1,
                              pathOk ? &PathDestinationUnknown : &PathSegmentError);
            return uint8_t(0);
        }
        request.path = *path;
        session->request(std::move(request));
        return uint8_t(0);
    });
}

CORVIX_EXPORT int32_t CORVIX_STDCALL CloseDriver(CorvixDriverHandle driverHandle)
{
    return Guarded<int32_t>(0, [&] {
        auto& sessions = Sessions();
        for (auto it = sessions.begin(); it != sessions.end(); ++it) {
            if ((*it)->handle() != driverHandle || driverHandle == 0)
                continue;
            GatewaySession* session = *it;
            sessions.erase(it);
            if (session->close())
                delete session;
            break;
        }
        return 0;
    });
}

}  // extern "C"
