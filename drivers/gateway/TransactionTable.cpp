#include "gateway/TransactionTable.h"

#include <algorithm>

namespace corvix::gateway {

namespace {

constexpr std::uint8_t StatusSuccess = 0x00;
constexpr std::uint8_t StatusConnectionFailure = 0x01;
constexpr std::uint8_t StatusResourceUnavailable = 0x02;

// Bytes of the browse record each identity attribute fills, and how many it needs.
struct BrowseField {
    int offset;
    int size;
};
constexpr std::array<BrowseField, 5> BrowseFields{{{CORVIX_BROWSE_VENDOR_ID, 2},
                                                   {CORVIX_BROWSE_DEVICE_TYPE, 2},
                                                   {CORVIX_BROWSE_PRODUCT_CODE, 2},
                                                   {CORVIX_BROWSE_MAJOR_REVISION, 2},
                                                   {CORVIX_BROWSE_SERIAL_NUMBER, 4}}};

Request IdentityRead(int step, std::uint8_t macId)
{
    Request request;
    request.tag = TransactionTable::BrowseTag(step, macId);
    request.macId = macId;
    request.service = CORVIX_SERVICE_GET_ATTRIBUTE_SINGLE;
    request.path = QByteArray::fromHex("2001240130");
    request.path.append(char(TransactionTable::BrowseAttributes[std::size_t(step)]));
    request.browseStep = step;
    return request;
}

}  // namespace

TransactionTable::TransactionTable(TransactionSink& sink, QByteArray route, int timeoutMs)
    : sink_(sink), route_(std::move(route)), timeoutMs_(timeoutMs)
{
}

std::uint32_t TransactionTable::BrowseTag(int step, std::uint8_t macId)
{
    return std::uint32_t(0xFF - step) << 16 | 0xFF00u | macId;
}

void TransactionTable::start(qint64 now, Request request)
{
    if (request.macId >= CORVIX_MAC_ID_COUNT)
        return;
    Record& record = records_[request.macId];
    // A request to a MAC ID with one still open goes out only when that one is finished.
    if (record.inProgress || !record.waiting.empty())
        record.waiting.push_back(std::move(request));
    else
        begin(now, record, std::move(request));
}

void TransactionTable::browse(qint64 now)
{
    for (int mac = 0; mac < CORVIX_MAC_ID_COUNT; ++mac)
        start(now, IdentityRead(0, std::uint8_t(mac)));
}

void TransactionTable::begin(qint64 now, Record& record, Request request)
{
    record.inProgress = true;
    record.deadline = now + timeoutMs_;
    record.sendCount = 1;
    record.timeoutResent = false;
    record.resendAt.reset();
    record.request = std::move(request);
    transmit(record);
}

void TransactionTable::transmit(Record& record)
{
    QByteArray route = route_;
    route[route.size() - 1] = char(record.request.macId);
    sink_.send(record.request, route);
}

// Frees the record, then hands it the next waiting request unless a callback already did.
void TransactionTable::finish(qint64 now, Record& record)
{
    if (record.inProgress || record.waiting.empty())
        return;
    Request next = std::move(record.waiting.front());
    record.waiting.pop_front();
    begin(now, record, std::move(next));
}

void TransactionTable::giveUp(qint64 now, Record& record)
{
    record.inProgress = false;
    record.sendCount = 0;
    record.resendAt.reset();
    const Request request = record.request;
    // A browse still owes the host one record for this MAC ID.
    if (request.browseStep >= 0)
        sink_.browseRecord(QByteArray(1, char(request.macId)));
    sink_.status(CORVIX_NET_INTERFACE_TIMEOUT);
    finish(now, record);
}

void TransactionTable::onReply(qint64 now, SenderContext context, const QByteArray& item)
{
    if (item.size() < 3 || (std::uint8_t(item[0]) & CORVIX_SERVICE_REPLY_FLAG) == 0
        || context.macId >= CORVIX_MAC_ID_COUNT)
        return;
    Record& record = records_[context.macId];
    // A late answer to a request that was already given up, or a stranger's context.
    if (!record.inProgress || record.request.tag != context.tag)
        return;
    const auto replyService = std::uint8_t(item[0]);
    const auto status = std::uint8_t(item[2]);
    if (status == StatusResourceUnavailable) {
        if (now >= record.deadline) {
            giveUp(now, record);
            return;
        }
        record.resendAt = now + record.sendCount * 100 + 100;
        ++record.sendCount;
        return;
    }
    const QByteArray data = item.mid(std::min<qsizetype>(4, item.size()));
    if (record.request.browseStep >= 0) {
        browseReply(now, record, status, data);
        return;
    }
    record.inProgress = false;
    record.sendCount = 0;
    const Request request = record.request;
    if (status == StatusSuccess) {
        const std::uint8_t service = replyService == ServiceUnconnectedSendReply
                                         ? std::uint8_t(request.service | CORVIX_SERVICE_REPLY_FLAG)
                                         : replyService;
        sink_.reply(request, CORVIX_TRANSFER_SUCCESS, service, data);
    } else if (status == StatusConnectionFailure) {
        sink_.reply(request, CORVIX_TRANSFER_NODE_OFFLINE, replyService, data);
    } else {
        sink_.reply(request, CORVIX_TRANSFER_SUCCESS, CORVIX_SERVICE_ERROR_REPLY,
                    QByteArray(1, char(status)));
    }
    finish(now, record);
}

void TransactionTable::browseReply(qint64 now, Record& record, std::uint8_t status,
                                   const QByteArray& data)
{
    const std::uint8_t mac = record.request.macId;
    const int step = record.request.browseStep;
    const BrowseField field = BrowseFields[std::size_t(step)];
    if (status != StatusSuccess || data.size() < field.size) {
        record.inProgress = false;
        record.sendCount = 0;
        sink_.browseRecord(QByteArray(1, char(mac)));
        finish(now, record);
        return;
    }
    record.browse[CORVIX_BROWSE_MAC_ID] = char(mac);
    record.browse.replace(field.offset, field.size, data.left(field.size));
    if (step + 1 < int(BrowseAttributes.size())) {
        // The next read stays watched by the time-out check like the first.
        begin(now, record, IdentityRead(step + 1, mac));
        return;
    }
    record.inProgress = false;
    record.sendCount = 0;
    sink_.browseRecord(record.browse);
    finish(now, record);
}

void TransactionTable::check(qint64 now)
{
    for (Record& record : records_) {
        if (!record.inProgress)
            continue;
        if (record.resendAt) {
            if (now >= *record.resendAt) {
                record.resendAt.reset();
                transmit(record);
            }
            continue;
        }
        if (now < record.deadline)
            continue;
        if (!record.timeoutResent) {
            record.timeoutResent = true;
            ++record.sendCount;
            record.deadline = now + timeoutMs_;
            transmit(record);
            continue;
        }
        // The host closes the driver on this status; the check ends here.
        giveUp(now, record);
        return;
    }
}

bool TransactionTable::idle() const
{
    return std::all_of(records_.begin(), records_.end(), [](const Record& record) {
        return !record.inProgress && record.waiting.empty();
    });
}

}  // namespace corvix::gateway
