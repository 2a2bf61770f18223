#pragma once

#include "gateway/EnipCodec.h"

#include <CorvixDriverContract.h>

#include <array>
#include <deque>

namespace corvix::gateway {

// One explicit request to one MAC ID.
struct Request {
    std::uint32_t tag = 0;
    std::uint8_t macId = 0;
    std::uint8_t service = 0;
    QByteArray path;  // compact path bytes
    QByteArray data;
    CorvixReplyCallback replyCallback = nullptr;
    int browseStep = -1;  // identity read of a browse: index into the attributes read
};

// What the table asks of its session. Calls may re-enter the table (a callback may start the
// next request), so the table finishes its own bookkeeping before it calls out.
class TransactionSink {
public:
    virtual ~TransactionSink() = default;
    virtual void send(const Request& request, const QByteArray& route) = 0;
    virtual void reply(const Request& request, std::uint8_t transferStatus,
                       std::uint8_t replyService, const QByteArray& data) = 0;
    virtual void browseRecord(const QByteArray& record) = 0;
    virtual void status(std::uint32_t code) = 0;
};

// The request table: one record per MAC ID, with its deadline, the one resend after a time-out,
// the paced resends while the bridge is short of resources, and the identity reads of a browse.
// Times are milliseconds of a clock the caller passes in.
class TransactionTable {
public:
    TransactionTable(TransactionSink& sink, QByteArray route, int timeoutMs);

    // Sends the request, or queues it behind the one still open for the same MAC ID.
    void start(qint64 now, Request request);
    // Starts the identity reads of every MAC ID 0 to 63.
    void browse(qint64 now);
    // A message router reply that came back with this sender context.
    void onReply(qint64 now, SenderContext context, const QByteArray& item);
    // Resends what is due and gives up on requests that timed out after their resend.
    void check(qint64 now);

    bool idle() const;

    static constexpr std::array<std::uint8_t, 5> BrowseAttributes{1, 2, 3, 4, 6};
    static std::uint32_t BrowseTag(int step, std::uint8_t macId);

private:
    struct Record {
        bool inProgress = false;
        qint64 deadline = 0;
        int sendCount = 0;
        bool timeoutResent = false;
        std::optional<qint64> resendAt;
        Request request;
        std::deque<Request> waiting;
        QByteArray browse = QByteArray(CORVIX_BROWSE_RECORD_PRESENT, '\0');
    };

    void begin(qint64 now, Record& record, Request request);
    void transmit(Record& record);
    void finish(qint64 now, Record& record);
    void giveUp(qint64 now, Record& record);
    void browseReply(qint64 now, Record& record, std::uint8_t status, const QByteArray& data);

    TransactionSink& sink_;
    QByteArray route_;
    int timeoutMs_;
    std::array<Record, CORVIX_MAC_ID_COUNT> records_;
};

}  // namespace corvix::gateway
