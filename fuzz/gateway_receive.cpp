// Feeds arbitrary bytes to the gateway driver's receive processing: the encapsulation stream cut
// at fuzzer-chosen points, and every reply it yields handed to a request table with requests
// and a browse open, as a hostile bridge would answer them.

#include "gateway/BridgeDiscovery.h"
#include "gateway/EnipReceiver.h"
#include "gateway/TransactionTable.h"

#include <cstddef>
#include <cstdint>

using namespace corvix::gateway;

namespace {

struct NullSink : TransactionSink {
    void send(const Request&, const QByteArray&) override {}
    void reply(const Request&, std::uint8_t, std::uint8_t, const QByteArray&) override {}
    void browseRecord(const QByteArray&) override {}
    void status(std::uint32_t) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    // The first byte picks the chunk size, as reads from the socket would cut the stream.
    const qsizetype chunk = 1 + std::uint8_t(input[0]);
    NullSink sink;
    TransactionTable table(sink, QByteArray::fromHex("0100"), 1000);
    table.browse(0);
    Request request;
    request.tag = 7;
    request.macId = 5;
    request.service = 0x0E;
    request.path = QByteArray::fromHex("20012401");
    table.start(0, request);
    EnipReceiver receiver;
    qint64 now = 0;
    for (qsizetype at = 1; at < input.size() && !receiver.broken(); at += chunk) {
        for (const EnipEvent& event : receiver.receive(input.mid(at, chunk)))
            if (event.kind == EnipEvent::Kind::Reply)
                table.onReply(now, event.context, event.item);
        table.check(now += 400);
    }
    ParseListIdentity(input);
    ParseBridgeEds(input);
    return 0;
}
