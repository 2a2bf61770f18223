// Feeds arbitrary bytes to the serial driver's line pieces: the receive framing in random
// splits, every adapter message reader, and the request path and settings text parsers.

#include <cstddef>
#include <cstdint>

#include "line/SerialLine.h"

using namespace corvix::serial;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    // The first byte chooses where the stream is split into receive events.
    const int step = size > 0 ? 1 + data[0] % 17 : 1;
    FrameReader reader;
    QList<QByteArray> payloads;
    for (qsizetype at = 0; at < bytes.size(); at += step)
        reader.feed(bytes.mid(at, step), payloads);
    for (const QByteArray& payload : payloads) {
        if (payload.isEmpty())
            __builtin_trap();
        (void)StatusWord(payload);
        if (const auto reply = ParseReply(payload);
            reply && reply->data.size() + 6 != payload.size())
            __builtin_trap();
    }

    const QByteArray text = bytes + '\0';
    try {
        const RequestPath path = ParseRequestPath(text.constData());
        ExplicitRequest request{1, 5, 0x0E, path, bytes.left(MaxRequestData(!path.noAttribute))};
        if (ExplicitRequestFrame(request).size() > 2 + MaxPayload)
            __builtin_trap();
    } catch (const LineError&) {
    }
    try {
        (void)ParseSettingsText(bytes);
    } catch (const LineError&) {
    }
    return 0;
}
