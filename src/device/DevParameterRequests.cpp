// A parameter's requests to its device and the handling of their replies.
#include "device/DevParameterClass.h"

#include "app/StatusText.h"
#include "app/UserPrompt.h"
#include "app/WindowMessage.h"
#include "device/DeviceNetDevice.h"
#include "network/DeviceNetWork.h"

#include <QCoreApplication>

namespace corvix {

namespace {

constexpr uint8_t GetAttributeSingleReply =
    CORVIX_SERVICE_GET_ATTRIBUTE_SINGLE | CORVIX_SERVICE_REPLY_FLAG;
constexpr uint8_t SetAttributeSingleReply =
    CORVIX_SERVICE_SET_ATTRIBUTE_SINGLE | CORVIX_SERVICE_REPLY_FLAG;
// Some devices answer a single-attribute service with this code instead; it counts as success.
constexpr uint8_t AlternativeSuccessReply = 0xD2;

// The general status of an error reply in words; an error reply without any byte says nothing.
QString GeneralStatusText(uint32_t length, const uint8_t* data)
{
    return length > 0 && data ? StatusText(data[0]) : QString();
}

}  // namespace

bool TDevParameterClass::RequestUnderWay() const
{
    return stateColour_ == StateColour::Gray && requestClock_.isValid() &&
           !requestClock_.hasExpired(RequestTimeLimitMs);
}

void TDevParameterClass::ReadFromDevice(QObject* notifyWindow, TDeviceNetWork* network)
{
    if (sendRequest(notifyWindow, network, CORVIX_SERVICE_GET_ATTRIBUTE_SINGLE, {},
                    readReplyThunk_.address())) {
        QCoreApplication::processEvents();
    }
}

void TDevParameterClass::WriteToDevice(QObject* notifyWindow, TDeviceNetWork* network)
{
    if (sendRequest(notifyWindow, network, CORVIX_SERVICE_SET_ATTRIBUTE_SINGLE,
                    dataType_->ConvertValueToNetWorkFormat(), writeReplyThunk_.address())) {
        synchronized_ = true;
    }
}

bool TDevParameterClass::sendRequest(QObject* notifyWindow, TDeviceNetWork* network,
                                     uint8_t service, const QByteArray& data,
                                     CorvixReplyCallback reply)
{
    if (RequestUnderWay() || !network || !device_) {
        return false;
    }
    notifyWindow_ = notifyWindow;
    network_ = network;
    // Looked up for every request: the network may have loaded another library meanwhile.
    const CorvixNetWorkRequestFn request = network->NetWorkRequestEntry();
    if (!request) {
        return false;
    }
    stateColour_ = StateColour::Gray;
    requestClock_.start();
    notify(ParameterRequestSentMessage);
    const QByteArray path = requestPath_.toLatin1();
    request(network->DriverHandle, 1, uint8_t(device_->MacId), path.constData(), service,
            uint32_t(data.size()), reinterpret_cast<const uint8_t*>(data.constData()), reply);
    return true;
}

void TDevParameterClass::readReply(uint8_t transferStatus, uint8_t service, uint32_t length,
                                   const uint8_t* data)
{
    if (transferStatus != CORVIX_TRANSFER_SUCCESS) {
        markDevice(false);
        stateColour_ = StateColour::Red;
        requestResult_ = RequestResult::Stop;
    } else if (service == GetAttributeSingleReply || service == AlternativeSuccessReply) {
        markDevice(true);
        requestResult_ = RequestResult::Done;
        SetFromNetworkBytes(
            QByteArray(reinterpret_cast<const char*>(data), data ? int(length) : 0));
        saved_ = false;
        synchronized_ = true;
        stateColour_ = validColour();
    } else {
        markDevice(true);
        askAboutErrorReply(QStringLiteral("Error reading parameter:"), length, data);
    }
    notify(ParameterReplyHandledMessage);
}

void TDevParameterClass::writeReply(uint8_t transferStatus, uint8_t service, uint32_t length,
                                    const uint8_t* data)
{
    if (transferStatus != CORVIX_TRANSFER_SUCCESS) {
        // Red in both cases: a gray value would stay locked against every further request.
        stateColour_ = StateColour::Red;
        if (suppressErrorDialog_) {
            requestResult_ = RequestResult::Done;
        } else {
            markDevice(false);
            requestResult_ = RequestResult::Stop;
        }
    } else if (service == SetAttributeSingleReply || service == AlternativeSuccessReply) {
        stateColour_ = StateColour::Navy;
        synchronized_ = true;
        requestResult_ = RequestResult::Done;
        markDevice(true);
    } else {
        askAboutErrorReply(QStringLiteral("Error during write of parameter:"), length, data);
    }
    notify(ParameterReplyHandledMessage);
}

void TDevParameterClass::askAboutErrorReply(const QString& text, uint32_t length,
                                            const uint8_t* data)
{
    if (suppressErrorDialog_) {
        requestResult_ = RequestResult::Done;
        stateColour_ = StateColour::Red;
        return;
    }
    // Further failures while the question is open ask nothing.
    suppressErrorDialog_ = true;
    const PromptButton answer = UserPrompt::current().retryIgnoreAllCancel(
        text + u' ' + QString::number(number_) + QStringLiteral("\r\n") +
        GeneralStatusText(length, data));
    suppressErrorDialog_ = false;
    switch (answer) {
        case PromptButton::Retry:
            requestResult_ = RequestResult::Retry;
            break;
        case PromptButton::Ignore:
            requestResult_ = RequestResult::Ignore;
            break;
        case PromptButton::IgnoreAll:
            requestResult_ = RequestResult::IgnoreAll;
            break;
        default:
            requestResult_ = RequestResult::Stop;
            break;
    }
    if (requestResult_ == RequestResult::Retry) {
        stateColour_ = StateColour::Navy;
        return;
    }
    stateColour_ = StateColour::Red;
    if (requestResult_ != RequestResult::Stop) {
        markDevice(true);
    }
}

void TDevParameterClass::markDevice(bool responding)
{
    if (device_) {
        device_->SetNotResponding(!responding);
    }
}

void TDevParameterClass::notify(int message)
{
    if (notifyWindow_) {
        PostWindowMessage(notifyWindow_, message, 0, number_);
    }
}

}  // namespace corvix
