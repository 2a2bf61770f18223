#include "device/ParameterGroupTransfer.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "app/UserPrompt.h"
#include "app/WindowMessage.h"
#include "device/DevParameterClass.h"
#include "device/DeviceNetDevice.h"
#include "network/DeviceNetWork.h"

namespace corvix {

namespace {

// The Parameter object class (0x0F), instance 0, attribute 0: Save addresses the class.
constexpr char SavePath[] = "20 0F 24 00 30 00";
// Bit of the parameter class descriptor that says values must be saved after they were set.
constexpr int64_t SaveNeededBit = 0x04;

// The answer to Save is not looked at. A plain function rather than a closure bound to the
// transfer: the driver may answer after the page and its transfer are gone.
void CORVIX_STDCALL IgnoreSaveReply(uint32_t, uint8_t, uint8_t, uint32_t, const uint8_t*) {}

const QString NotAvailableText =
    QStringLiteral("The requested module was not available on the network");

}  // namespace

TParameterGroupTransfer::TParameterGroupTransfer(TDeviceNetDevice* device, TDeviceNetWork* network,
                                                 QObject* parent)
    : QObject(parent),
      device_(device),
      network_(network)
{
}

TParameterGroupTransfer::~TParameterGroupTransfer()
{
    stop_ = true;
}

void TParameterGroupTransfer::UploadAll(int groupIndex)
{
    run(Direction::Upload, groupIndex);
}

void TParameterGroupTransfer::DownloadAll(int groupIndex)
{
    run(Direction::Download, groupIndex);
}

void TParameterGroupTransfer::UploadOne(TDevParameterClass* parameter)
{
    stop_ = false;
    parameter->ReadFromDevice(this, network_);
}

void TParameterGroupTransfer::DownloadOne(TDevParameterClass* parameter)
{
    if (parameter->IsReadOnly()) {
        return;
    }
    stop_ = false;
    parameter->WriteToDevice(this, network_);
    SaveParameterClass();
}

bool TParameterGroupTransfer::SaveParameterClass()
{
    if (!(device_->ParamClassDescriptor & SaveNeededBit) || !network_) {
        return false;
    }
    const CorvixNetWorkRequestFn request = network_->NetWorkRequestEntry();
    if (!request) {
        return false;
    }
    request(network_->DriverHandle, 1, uint8_t(device_->MacId), SavePath, CORVIX_SERVICE_SAVE, 0,
            nullptr, &IgnoreSaveReply);
    return true;
}

void TParameterGroupTransfer::Stop()
{
    stop_ = true;
    wakeUp();
}

void TParameterGroupTransfer::run(Direction direction, int groupIndex)
{
    if (running_) {
        return;
    }
    running_ = true;
    stop_ = false;
    const int count = device_->ParameterCount(groupIndex);
    total_ = 0;
    for (int i = 0; i < count; ++i) {
        if (direction == Direction::Upload || !device_->ParameterAt(groupIndex, i)->IsReadOnly()) {
            ++total_;
        }
    }
    position_ = 0;
    Q_EMIT started(total_);
    advance();

    bool ignoreAll = false;
    int i = 0;
    while (i < count && mayGoOn()) {
        TDevParameterClass* parameter = device_->ParameterAt(groupIndex, i);
        if (direction == Direction::Download && parameter->IsReadOnly()) {
            ++i;
            continue;
        }
        if (!transferOne(direction, parameter, ignoreAll)) {
            stop_ = true;
            break;
        }
        // A node that did not answer ends the run even when errors are ignored: every further
        // request would only wait for its own time-out.
        const RequestResult result = parameter->GetRequestResult();
        if (result == RequestResult::Stop) {
            stop_ = true;
        } else if (!ignoreAll && result == RequestResult::Retry) {
            continue;
        } else if (!ignoreAll && result == RequestResult::IgnoreAll) {
            ignoreAll = true;
        }
        ++i;
    }
    const bool completed = i >= count && !stop_ && network_ && network_->IsOnline();
    if (completed && direction == Direction::Download) {
        SaveParameterClass();
    }
    running_ = false;
    Q_EMIT finished(completed);
}

bool TParameterGroupTransfer::transferOne(Direction direction, TDevParameterClass* parameter,
                                          bool ignoreAll)
{
    if (ignoreAll) {
        parameter->SetSuppressErrorDialog(true);
    }
    // A request of this parameter left under way (a single transfer, a run stopped before its
    // reply) is answered first: nothing would be sent for the parameter until then.
    if (!waitUntil([parameter] { return !parameter->RequestUnderWay(); })) {
        return false;
    }
    awaitedNumber_ = parameter->Number();
    awaitedReplied_ = false;
    if (direction == Direction::Upload) {
        parameter->ReadFromDevice(this, network_);
    } else {
        parameter->WriteToDevice(this, network_);
    }
    const int number = parameter->Number();
    // The parameter must have left its gray state too: the reply message of a request left
    // under way may still be queued and must not count as the answer to this one.
    const bool replied = waitUntil([this, number, parameter] {
        return awaitedReplied_ && awaitedNumber_ == number &&
               parameter->GetStateColour() != StateColour::Gray;
    });
    if (ignoreAll) {
        parameter->SetSuppressErrorDialog(false);
    }
    return replied;
}

bool TParameterGroupTransfer::waitUntil(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (!mayGoOn()) {
            return false;
        }
        if (clock.hasExpired(ReplyTimeLimitMs)) {
            nodeNotAnswering();
            return false;
        }
        pause();
    }
    return true;
}

void TParameterGroupTransfer::pause()
{
    QEventLoop loop;
    QTimer::singleShot(PollMs, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    QEventLoop* const outer = pause_;
    pause_ = &loop;
    loop.exec();
    pause_ = outer;
}

void TParameterGroupTransfer::wakeUp()
{
    if (pause_) {
        pause_->quit();
    }
}

bool TParameterGroupTransfer::mayGoOn() const
{
    return !stop_ && network_ && network_->IsOnline();
}

void TParameterGroupTransfer::advance()
{
    if (position_ >= total_) {
        return;
    }
    Q_EMIT progressChanged(
        QStringLiteral("Processing parameter request %1/%2").arg(position_ + 1).arg(total_),
        position_ + 1, total_);
    ++position_;
}

void TParameterGroupTransfer::replyArrived(int parameterNumber)
{
    wakeUp();
    Q_EMIT replyHandled(parameterNumber);
    if (running_ && parameterNumber == awaitedNumber_) {
        awaitedReplied_ = true;
        const TDevParameterClass* parameter = nullptr;
        for (const auto& candidate : device_->Parameters()) {
            if (candidate->Number() == parameterNumber) {
                parameter = candidate.get();
            }
        }
        if (!stop_ && parameter && parameter->GetRequestResult() != RequestResult::Retry) {
            advance();
        }
    }
    if (device_->NotResponding && !stop_) {
        UserPrompt::current().message(NotAvailableText, PromptIcon::Error);
    }
}

void TParameterGroupTransfer::nodeNotAnswering()
{
    device_->SetNotResponding(true);
    if (!stop_) {
        stop_ = true;
        UserPrompt::current().message(NotAvailableText, PromptIcon::Error);
    }
}

bool TParameterGroupTransfer::event(QEvent* event)
{
    if (const WindowMessage* message = AsWindowMessage(event)) {
        if (message->id() == ParameterRequestSentMessage) {
            Q_EMIT requestSent(int(message->lParam()));
            return true;
        }
        if (message->id() == ParameterReplyHandledMessage) {
            replyArrived(int(message->lParam()));
            return true;
        }
    }
    return QObject::event(event);
}

}  // namespace corvix
