#include "core/SerialAdapter.h"

#include "core/ExchangeLog.h"

#include <algorithm>
#include <cmath>

namespace corvix::sim {

namespace {

constexpr char Stx = 0x02;
constexpr std::uint8_t CmdOffline = 0x03;
constexpr std::uint8_t CmdRequest = 0x04;
constexpr std::uint8_t CmdBrowse = 0x06;
constexpr std::uint8_t CmdOnline = 0x07;
constexpr std::uint8_t CmdDiagnostic = 0xA0;
constexpr std::uint8_t MsgStatus = 0x00;
constexpr std::uint8_t MsgAck = 0x37;
constexpr std::uint8_t MsgBrowse = 0x64;
constexpr std::uint8_t MsgReply = 0x82;
constexpr std::uint8_t MsgDiagnostic = 0xA2;

constexpr std::uint8_t TransferSuccess = 1;
constexpr std::uint8_t TransferBusy = 2;
constexpr std::uint8_t TransferAdapterOffline = 5;
constexpr std::uint8_t TransferTooMuchData = 12;
constexpr std::uint8_t TransferTimedOut = 15;
constexpr std::uint8_t TransferFormatError = 20;

constexpr int RequestHeaderSize = 9;  // command, slot, length, MAC ID, service, class, instance
constexpr int MaxPayload = 255;
constexpr int ReplyHeaderSize = 6;
constexpr int MaxDataRateIndex = 3;

// The request body does not say whether an attribute byte is present: the driver counts it in
// the data length. Services on a whole object never carry one; every other service takes the
// first byte after the instance as its attribute.
bool ServiceOnWholeObject(std::uint8_t service)
{
    switch (service) {
    case cip::GetAttributesAll:
    case cip::SetAttributesAll:
    case cip::Reset:
    case 0x06:  // Start
    case 0x07:  // Stop
    case 0x50:  // scanner's close of a scan-list download
        return true;
    default:
        return false;
    }
}

QByteArray Acknowledge(std::uint8_t command)
{
    QByteArray message(1, static_cast<char>(MsgAck));
    message.append(static_cast<char>(command));
    return message;
}

std::uint16_t Word(const QByteArray& bytes, int offset)
{
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[offset])
                                      | static_cast<std::uint8_t>(bytes[offset + 1]) << 8);
}

}  // namespace

void SerialAdapter::receive(const QByteArray& bytes, std::int64_t nowUs)
{
    std::int64_t readyUs = nowUs;
    if (lineRate_) {
        inputLineFreeUs_ = std::max<double>(inputLineFreeUs_, nowUs) + bytes.size() * ByteTimeUs;
        readyUs = static_cast<std::int64_t>(std::ceil(inputLineFreeUs_));
    }
    for (qsizetype i = 0; i < bytes.size();) {
        if (!synchronised_) {
            buffer_.clear();
            expectedLength_ = 0;
            if (bytes[i++] == Stx)
                synchronised_ = true;
            continue;
        }
        if (expectedLength_ == 0) {
            expectedLength_ = static_cast<std::uint8_t>(bytes[i++]);
            if (expectedLength_ == 0)
                synchronised_ = false;  // an empty frame carries no command: look for STX again
            continue;
        }
        const qsizetype take = std::min<qsizetype>(expectedLength_ - buffer_.size(), bytes.size() - i);
        buffer_.append(bytes.constData() + i, take);
        i += take;
        if (buffer_.size() == expectedLength_) {
            synchronised_ = false;
            const QByteArray payload = buffer_;
            buffer_.clear();
            expectedLength_ = 0;
            handleFrame(payload, readyUs);
        }
    }
}

void SerialAdapter::handleFrame(const QByteArray& payload, std::int64_t readyUs)
{
    const auto command = static_cast<std::uint8_t>(payload[0]);
    switch (command) {
    case CmdOnline:
        if (payload.size() != 3 || static_cast<std::uint8_t>(payload[1]) > 63
            || static_cast<std::uint8_t>(payload[2]) > MaxDataRateIndex)
            return;
        macId_ = static_cast<std::uint8_t>(payload[1]);
        dataRate_ = static_cast<std::uint8_t>(payload[2]);
        online_ = true;
        queue(Acknowledge(CmdOnline), readyUs);
        queueStatus(readyUs);
        return;
    case CmdOffline:
        online_ = false;
        queue(Acknowledge(CmdOffline), readyUs);
        return;
    case CmdBrowse:
        if (!online_)
            return;
        for (int mac = 0; mac < 64; ++mac) {
            const SimNode* node = network_.node(static_cast<std::uint8_t>(mac));
            QByteArray message(1, static_cast<char>(MsgBrowse));
            message.append(node ? node->browseRecord() : QByteArray(1, static_cast<char>(mac)));
            queue(message, readyUs);
        }
        return;
    case CmdRequest:
        handleRequest(payload, readyUs);
        return;
    case CmdDiagnostic: {
        QByteArray answer(1, static_cast<char>(MsgDiagnostic));
        answer.append(static_cast<char>(macId_));
        answer.append(static_cast<char>(dataRate_));
        answer.append(static_cast<char>(online_ ? 1 : 0));
        answer.append(static_cast<char>(requestInProgress_ ? 1 : 0));
        queue(answer, readyUs);
        return;
    }
    default:
        return;  // unknown commands are ignored, as the adapter firmware does
    }
}

void SerialAdapter::handleRequest(const QByteArray& payload, std::int64_t readyUs)
{
    if (payload.size() < 2)
        return;  // not even a slot number to answer to
    const auto slot = static_cast<std::uint8_t>(payload[1]);
    if (payload.size() < RequestHeaderSize
        || static_cast<std::uint8_t>(payload[2]) != payload.size() - RequestHeaderSize) {
        queueReply(TransferFormatError, slot, {}, readyUs);
        return;
    }
    if (!online_) {
        queueReply(TransferAdapterOffline, slot, {}, readyUs);
        return;
    }
    if (requestInProgress_) {
        queueReply(TransferBusy, slot, {}, readyUs);
        return;
    }
    CipRequest request;
    const auto mac = static_cast<std::uint8_t>(payload[3]);
    request.service = static_cast<std::uint8_t>(payload[4]);
    request.classId = Word(payload, 5);
    request.instance = Word(payload, 7);
    QByteArray rest = payload.mid(RequestHeaderSize);
    if (!rest.isEmpty() && !ServiceOnWholeObject(request.service)) {
        request.attribute = static_cast<std::uint8_t>(rest[0]);
        rest.remove(0, 1);
    }
    request.data = rest;

    const SimNetwork::Result result = network_.request(mac, request);
    if (log)
        log(DescribeExchange(QStringLiteral("serial"), {mac, request, result}));
    switch (result.outcome) {
    case SimNetwork::Outcome::NoNode:
        queueReply(TransferTimedOut, slot, {}, readyUs);
        return;
    case SimNetwork::Outcome::Dropped:
        return;
    case SimNetwork::Outcome::Replied:
        requestInProgress_ = true;
        delayedReply_ = result.delayMs > 0;
        queueReply(TransferSuccess, slot, result.reply, readyUs + result.delayMs * 1000LL);
        delayedReply_ = false;
        return;
    }
}

void SerialAdapter::queueReply(std::uint8_t transferStatus, std::uint8_t slot, const CipReply& reply,
                               std::int64_t readyUs)
{
    QByteArray message;
    message.append(static_cast<char>(MsgReply));
    message.append(static_cast<char>(transferStatus));
    message.append(static_cast<char>(slot));
    message.append(2, '\0');
    message.append(static_cast<char>(reply.service));
    if (ReplyHeaderSize + reply.data.size() > MaxPayload)
        message[1] = static_cast<char>(TransferTooMuchData);  // the frame cannot carry it
    else
        message.append(reply.data);
    queue(message, readyUs, transferStatus == TransferSuccess);
}

void SerialAdapter::queueStatus(std::int64_t nowUs)
{
    nextStatusUs_ = nowUs + StatusPeriodUs;
    if (network_.silentAdapter)
        return;
    QByteArray message(1, static_cast<char>(MsgStatus));
    message.append('\0');  // not used
    AppendUint16(message, network_.adapterStatus(macId_));
    queue(message, nowUs);
}

void SerialAdapter::queue(const QByteArray& payload, std::int64_t readyUs, bool endsRequest)
{
    QByteArray frame(1, Stx);
    frame.append(static_cast<char>(payload.size()));
    frame.append(payload);
    std::int64_t dueUs = readyUs;
    if (lineRate_) {
        // A frame goes out after the ones already on the line; a reply the node answers late
        // (injected delay) does not hold the line meanwhile.
        const double startUs = delayedReply_ ? readyUs : std::max<double>(outputLineFreeUs_, readyUs);
        dueUs = static_cast<std::int64_t>(std::ceil(startUs + frame.size() * ByteTimeUs));
        if (!delayedReply_)
            outputLineFreeUs_ = static_cast<double>(dueUs);
    }
    // Sorted by due time; equal times keep the order they were queued in.
    auto at = std::upper_bound(outbox_.begin(), outbox_.end(), dueUs,
                               [](std::int64_t due, const Pending& item) { return due < item.dueUs; });
    outbox_.insert(at, {dueUs, frame, endsRequest});
}

void SerialAdapter::tick(std::int64_t nowUs)
{
    if (online_ && nowUs >= nextStatusUs_)
        queueStatus(nowUs);
}

QByteArray SerialAdapter::takeDue(std::int64_t nowUs)
{
    QByteArray out;
    while (!outbox_.isEmpty() && outbox_.first().dueUs <= nowUs) {
        const Pending item = outbox_.takeFirst();
        if (item.endsRequest)
            requestInProgress_ = false;
        out.append(item.frame);
    }
    return out;
}

std::optional<std::int64_t> SerialAdapter::nextWakeUs() const
{
    std::optional<std::int64_t> wake;
    if (online_)
        wake = nextStatusUs_;
    if (!outbox_.isEmpty())
        wake = std::min(wake.value_or(outbox_.first().dueUs), outbox_.first().dueUs);
    return wake;
}

}  // namespace corvix::sim
