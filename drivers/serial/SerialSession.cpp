#include "SerialSession.h"

#include "DriverMessage.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>

namespace corvix::serial {

namespace {

// Host callbacks are plain C functions, but a C++ host could still throw through them; nothing
// may unwind into the port's signal handling.
template <typename Call>
void CallHost(Call&& call)
{
    try {
        call();
    } catch (...) {
    }
}

struct BusyScope {
    explicit BusyScope(int& counter) : counter_(counter) { ++counter_; }
    ~BusyScope() { --counter_; }
    int& counter_;
};

}  // namespace

SerialSession::SerialSession(CorvixStatusCallback statusCallback)
    : statusCallback_(statusCallback)
{
    clock_.start();
    timer1_.setInterval(Watchdog::TickMs);
    connect(&timer1_, &QTimer::timeout, this, &SerialSession::Timer1Timer);
    timer1_.start();
    maintainer_.setInterval(RequestSlotTable::CheckPeriodMs);
    connect(&maintainer_, &QTimer::timeout, this, &SerialSession::CheckSlots);
    maintainer_.start();
}

SerialSession::~SerialSession()
{
    StopDriver();
}

void SerialSession::StartAdapter(const LineSettings& settings)
{
    try {
        auto adapter = std::make_unique<TDeviceNetAdapter>();
        adapter->OnRxMessage = [this](const QByteArray& payload) { OnRxMessage(payload); };
        adapter->OnPortLost = [this] { PortLost(); };
        adapter->Port = settings.port;
        adapter->MacId = std::uint8_t(settings.macId);
        adapter->BaudRate = std::uint8_t(settings.rateIndex);
        adapter->OpenPort();
        adapter_ = std::move(adapter);
        watchdog_.arm();
    } catch (const std::exception&) {
        ShowDriverMessage(QStringLiteral("Could not open the serial inteface for the driver"));
    }
}

void SerialSession::StopDriver()
{
    if (stopped_)
        return;
    stopped_ = true;
    maintainer_.stop();
    statusCallback_ = nullptr;
    browseCallback_ = nullptr;
    timer1_.stop();
    watchdog_.disarm();
    // Replies can no longer arrive; a request still waiting for one will never be answered.
    slots_.freeAll();
    if (adapter_) {
        try {
            adapter_->OnRxMessage = nullptr;
            adapter_->OnPortLost = nullptr;
            adapter_->ClosePort();
        } catch (const std::exception&) {
        }
        // Inside one of the adapter's own signals the loop frees it; otherwise it goes now, so
        // that nothing of the driver is left queued when the host unloads the library.
        if (isBusy())
            adapter_.release()->deleteLater();
        else
            adapter_.reset();
    }
}

void SerialSession::NetWorkWho(CorvixBrowseCallback browseCallback)
{
    if (stopped_)
        return;
    browseCallback_ = browseCallback;
    try {
        if (adapter_)
            adapter_->SendBytes(BrowseFrame());
    } catch (const std::exception&) {
    }
    watchdog_.arm();
}

void SerialSession::NetWorkRequest(std::uint32_t tag, std::uint8_t macId, const char* pathText,
                                   std::uint8_t service, std::uint32_t dataLength,
                                   const std::uint8_t* data, CorvixReplyCallback replyCallback)
{
    // One request at a time: wait for the previous reply, its release by the ageing check or
    // the end of the session, handling the host's events meanwhile. The host may close the
    // session from one of those events; it is then freed once we are back in the host's loop,
    // and the guard covers a loop that frees it sooner.
    QPointer<SerialSession> self(this);
    ++busy_;
    while (self && !stopped_ && slots_.inProgress() >= 1)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (!self)
        return;
    --busy_;
    if (stopped_)
        return;

    const QByteArray requestData = (data != nullptr && dataLength > 0)
                                       ? QByteArray(reinterpret_cast<const char*>(data),
                                                    qsizetype(dataLength))
                                       : QByteArray();
    RequestPath path;
    try {
        path = ParseRequestPath(pathText);
    } catch (const LineError&) {
        // Nothing is sent for a path we cannot read; the caller's own time-out ends its wait,
        // as for a node that does not answer.
        return;
    }
    if (requestData.size() > MaxRequestData(!path.noAttribute)) {
        // The length bytes of the line cannot say this much. Sending a cut request could write
        // wrong values into the device, so the caller hears at once that it was too much.
        CallHost([&] {
            if (replyCallback != nullptr)
                replyCallback(tag, CORVIX_TRANSFER_TOO_MUCH_DATA, 0, 0, nullptr);
        });
        return;
    }

    const int number = slots_.allocate(nowMs());
    if (number < 0)
        return;
    RequestSlot& request = slots_.slot(number);
    request.tag = tag;
    request.replyCallback = replyCallback;
    request.macId = macId;
    request.service = service;
    request.replyData.clear();
    request.requestData = requestData;
    request.path = path;
    try {
        if (adapter_)
            adapter_->SendBytes(ExplicitRequestFrame(
                {std::uint8_t(number), macId, service, path, request.requestData}));
    } catch (const std::exception&) {
        // The slot stays taken until the ageing check releases it, as for a lost request.
    }
    // The adapter needs a short pause between requests.
    QThread::msleep(10);
    if (slots_.slot(number).inUse)
        slots_.slot(number).sentAtMs = nowMs();
}

void SerialSession::OnRxMessage(const QByteArray& payload)
{
    BusyScope busy(busy_);
    switch (MessageType(std::uint8_t(payload[0]))) {
        case MessageType::Status:
            if (const auto word = StatusWord(payload)) {
                watchdog_.heard();
                ReportStatus(*word);
            }
            break;
        case MessageType::Acknowledge:
            watchdog_.heard();
            break;
        case MessageType::BrowseRecord: {
            // The host reads a record by the contract's layout: one byte for an absent node,
            // thirteen for a present one. Anything else would be read past its end.
            const qsizetype length = payload.size() - 1;
            if (browseCallback_ != nullptr &&
                (length == CORVIX_BROWSE_RECORD_ABSENT || length == CORVIX_BROWSE_RECORD_PRESENT))
                CallHost([&] {
                    browseCallback_(int32_t(length),
                                    reinterpret_cast<const std::uint8_t*>(payload.constData() + 1));
                });
            break;
        }
        case MessageType::BrowseReport:
            if (browseCallback_ != nullptr)
                CallHost([&] {
                    browseCallback_(int32_t(payload.size()),
                                    reinterpret_cast<const std::uint8_t*>(payload.constData()));
                });
            break;
        case MessageType::Reply:
            HandleReply(payload);
            break;
        case MessageType::Diagnostic:
            // Answers to the adapter's diagnostic command, which this driver never sends.
            break;
    }
}

void SerialSession::HandleReply(const QByteArray& payload)
{
    const std::optional<ReplyMessage> reply = ParseReply(payload);
    if (!reply || reply->slot >= RequestSlotTable::SlotCount)
        return;
    RequestSlot& request = slots_.slot(reply->slot);
    request.transferStatus = reply->transferStatus;
    request.replied = true;
    request.replyData = reply->data;
    const std::uint32_t tag = request.tag;
    const CorvixReplyCallback callback = request.replyCallback;
    // The slot is free before the host hears of the reply, so that a request the host sends
    // from inside its callback does not wait for the slot and is not freed in its place.
    if (reply->slot != 0)
        slots_.free(reply->slot);
    if (callback != nullptr)
        CallHost([&] {
            callback(tag, reply->transferStatus, reply->service, std::uint32_t(reply->data.size()),
                     reinterpret_cast<const std::uint8_t*>(reply->data.constData()));
        });
    if (reply->slot == 0)
        ShowDriverMessage(QStringLiteral("MessageHandler Error"));
}

void SerialSession::Timer1Timer()
{
    if (watchdog_.tick(statusCallback_ != nullptr))
        ReportStatus(CORVIX_NET_INTERFACE_TIMEOUT);
}

void SerialSession::CheckSlots()
{
    slots_.releaseAged(nowMs());
}

void SerialSession::ReportStatus(std::uint32_t code)
{
    const CorvixStatusCallback callback = statusCallback_;
    if (callback != nullptr)
        CallHost([&] { callback(code); });
}

void SerialSession::PortLost()
{
    BusyScope busy(busy_);
    // An unplugged adapter is a silent adapter: report it at once rather than after the
    // watchdog's three seconds, and only once.
    watchdog_.disarm();
    slots_.freeAll();
    ReportStatus(CORVIX_NET_INTERFACE_TIMEOUT);
}

}  // namespace corvix::serial
