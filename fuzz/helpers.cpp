// Garbage through the text helpers that read what users and devices hand us: hex byte texts,
// request path texts and EDS keyword entries. Any input must end in a value or a
// ConversionError, never in a crash or an out-of-bounds read.
#include "app/Conversions.h"
#include "app/CorvixError.h"
#include "app/EdsValueReaders.h"
#include "network/RequestPathText.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = QString::fromLatin1(bytes);
    try {
        corvix::HexTextToBytes(text);
    } catch (const corvix::ConversionError&) {
    }
    try {
        corvix::ParsePathText(text);
    } catch (const corvix::ConversionError&) {
    }
    try {
        corvix::BinaryToDecimalText(text);
    } catch (const corvix::ConversionError&) {
    }
    int64_t position = 0;
    corvix::ReadValueFields(bytes, "Key=", 0, bytes.size(), position);
    corvix::ReadQuotedValue(bytes, "Key=", 0, bytes.size());
    return 0;
}
