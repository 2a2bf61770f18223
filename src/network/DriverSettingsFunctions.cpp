#include "network/DriverSettingsFunctions.h"

#include "app/Registry.h"
#include "app/Windows1252.h"

#include <algorithm>
#include <cstring>

namespace corvix {

namespace {

QString Text(const char* text)
{
    return text ? DecodeWindows1252(QByteArray(text)) : QString();
}

}  // namespace

int32_t DriverReadInteger(const char* name, int32_t defaultValue)
{
    return ReadRegInteger(Text(name), defaultValue);
}

void DriverWriteInteger(const char* name, int32_t value)
{
    WriteRegInteger(Text(name), value);
}

int32_t DriverReadBool(const char* name)
{
    return ReadRegBool(Text(name)) ? 1 : 0;
}

void DriverWriteBool(const char* name, int32_t value)
{
    WriteRegBool(Text(name), value != 0);
}

int32_t DriverReadString(const char* name, char* result, uint32_t resultSize)
{
    if (!RegValueExists(Text(name))) {
        return -1;
    }
    QString value;
    ReadRegString(Text(name), value);
    const QByteArray bytes = EncodeWindows1252(value);
    // Never past the caller's buffer: the text is cut to fit, the full length is returned.
    if (result && resultSize > 0) {
        const uint32_t copied = std::min<uint32_t>(uint32_t(bytes.size()), resultSize - 1);
        std::memcpy(result, bytes.constData(), copied);
        result[copied] = '\0';
    }
    return int32_t(bytes.size());
}

void DriverWriteString(const char* name, const char* value)
{
    WriteRegString(Text(name), Text(value));
}

}  // namespace corvix
