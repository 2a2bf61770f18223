// The exports of the serial adapter driver. Sessions are keyed by a 32-bit id that the host
// hands back; an unknown id finds nothing and the call does nothing.
#include "SerialSession.h"
#include "TDrvBrindleForm.h"

#include <CorvixDriverContract.h>

#include <QApplication>
#include <QPointer>

#include <map>
#include <memory>

using namespace corvix::serial;

namespace {

HostSettings g_settings;
std::map<CorvixDriverHandle, QPointer<SerialSession>> g_sessions;
CorvixDriverHandle g_lastHandle = 0;

SerialSession* FindSession(CorvixDriverHandle handle)
{
    const auto found = g_sessions.find(handle);
    return found == g_sessions.end() ? nullptr : found->second.data();
}

CorvixDriverHandle AddSession(SerialSession* session)
{
    do {
        ++g_lastHandle;
    } while (g_lastHandle == 0 || g_sessions.count(g_lastHandle) != 0);
    g_sessions[g_lastHandle] = session;
    return g_lastHandle;
}

}  // namespace

extern "C" {

CORVIX_EXPORT const char* CORVIX_STDCALL VelmoraCorvixDriverForDeviceNet(void)
{
    return "Velmora Corvix DeviceNet RS232 Interface - Ver:1.5";
}

CORVIX_EXPORT const char* CORVIX_STDCALL GetHelpText(void)
{
    // Windows-1252 quotation marks (0x93, 0x94), the closing one repeated at the end.
    return "Select this driver to use the Velmora Corvix DeviceNet RS232 interface (also referred "
           "to as \x93serial to DeviceNet adapter\x94)\x94";
}

CORVIX_EXPORT void CORVIX_STDCALL SetupRegisterCallbacks(
    CorvixReadIntegerFn readInteger, CorvixWriteIntegerFn writeInteger, CorvixReadBoolFn,
    CorvixWriteBoolFn, CorvixReadStringFn, CorvixWriteStringFn)
{
    g_settings = {readInteger, writeInteger};
}

CORVIX_EXPORT CorvixDriverHandle CORVIX_STDCALL SetUpAndGoOnline(
    void* /*ownerWindow*/, CorvixStatusCallback statusCallback, int32_t* settingsLength,
    const char** settingsText)
{
    try {
        auto session = std::make_unique<SerialSession>(statusCallback);
        if (settingsLength != nullptr && *settingsLength > 0) {
            if (settingsText == nullptr || *settingsText == nullptr)
                return 0;
            const LineSettings settings =
                ParseSettingsText(QByteArray(*settingsText, *settingsLength));
            session->StartAdapter(settings);
            return AddSession(session.release());
        }
        if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
            return 0;  // no settings and no way to ask for them
        LineSettings chosen{QString(), 0, 0};
        {
            TDrvBrindleForm form(g_settings, QApplication::activeWindow());
            if (form.exec() == QDialog::Accepted)
                chosen = form.chosen();
        }
        if (chosen.port.isEmpty()) {
            session->StopDriver();
        } else {
            session->StartAdapter(chosen);
        }
        session->settingsText = ComposeSettingsText(chosen);
        if (settingsLength != nullptr && settingsText != nullptr) {
            *settingsLength = int32_t(session->settingsText.size());
            *settingsText = session->settingsText.constData();
        }
        return AddSession(session.release());
    } catch (...) {
        return 0;
    }
}

CORVIX_EXPORT void CORVIX_STDCALL NetWorkWho(CorvixDriverHandle driverHandle,
                                             CorvixBrowseCallback browseCallback)
{
    try {
        if (SerialSession* session = FindSession(driverHandle))
            session->NetWorkWho(browseCallback);
    } catch (...) {
    }
}

CORVIX_EXPORT uint8_t CORVIX_STDCALL NetWorkRequest(CorvixDriverHandle driverHandle,
                                                    uint32_t tag, uint8_t macId,
                                                    const char* pathText, uint8_t service,
                                                    uint32_t dataLength, const uint8_t* data,
                                                    CorvixReplyCallback replyCallback)
{
    try {
        if (SerialSession* session = FindSession(driverHandle))
            session->NetWorkRequest(tag, macId, pathText, service, dataLength, data,
                                    replyCallback);
    } catch (...) {
    }
    return 0;
}

CORVIX_EXPORT int32_t CORVIX_STDCALL CloseDriver(CorvixDriverHandle driverHandle)
{
    try {
        const auto found = g_sessions.find(driverHandle);
        if (found == g_sessions.end())
            return 0;
        QPointer<SerialSession> session = found->second;
        g_sessions.erase(found);
        if (session) {
            session->StopDriver();
            // Inside one of its own callbacks or waits the session must outlive this call.
            if (session->isBusy())
                session->deleteLater();
            else
                delete session.data();
        }
    } catch (...) {
    }
    return 0;
}

}  // extern "C"
