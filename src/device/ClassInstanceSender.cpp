#include "device/ClassInstanceSender.h"

#include "app/UserPrompt.h"
#include "device/DeviceNetDevice.h"
#include "network/DeviceNetWork.h"

namespace corvix {

TClassInstanceSender::TClassInstanceSender(TDeviceNetWork* network, TDeviceNetDevice* device,
                                           QObject* parent)
    : QObject(parent),
      network_(network),
      device_(device),
      port_(std::make_unique<TClassInstanceReplyPort>(
          [this](const TClassInstanceReplyPort::Reply& reply) { handleReply(reply); }))
{
}

TClassInstanceSender::~TClassInstanceSender()
{
    TClassInstanceReplyPort::Release(std::move(port_), network_);
}

const QString& TClassInstanceSender::NotAvailableText()
{
    static const QString text =
        QStringLiteral("The requested module was not available on the network");
    return text;
}

bool TClassInstanceSender::Send(const ClassInstanceFields& fields)
{
    if (!network_ || !device_) {
        return false;
    }
    const CorvixNetWorkRequestFn request = network_->NetWorkRequestEntry();
    if (!request) {
        return false;
    }
    const auto composed = ComposeClassInstanceRequest(fields);
    if (const QString* refusal = std::get_if<QString>(&composed)) {
        UserPrompt::current().message(*refusal, PromptIcon::Warning);
        return false;
    }
    const ClassInstanceRequest& sent = std::get<ClassInstanceRequest>(composed);
    const QByteArray path = sent.pathText.toLatin1();
    port_->Expect(*network_);
    // The tag carries the service, so a reply is judged against the request it answers even
    // when the service field was changed meanwhile.
    request(network_->DriverHandle, sent.service, uint8_t(device_->MacId), path.constData(),
            sent.service, uint32_t(sent.data.size()),
            reinterpret_cast<const uint8_t*>(sent.data.constData()), port_->Address());
    return true;
}

void TClassInstanceSender::handleReply(const TClassInstanceReplyPort::Reply& reply)
{
    if (!network_ || !network_->IsOnline()) {
        return;
    }
    if (reply.transferStatus != CORVIX_TRANSFER_SUCCESS) {
        if (reply.awaited) {
            UserPrompt::current().message(NotAvailableText(), PromptIcon::Error);
        }
        return;
    }
    Q_EMIT replyShown(ClassInstanceReplyText(uint8_t(reply.tag), reply.service, reply.data));
}

}  // namespace corvix
