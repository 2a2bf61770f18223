#include "app/EdsValueReaders.h"

#include "app/TextSearch.h"

#include <algorithm>

namespace corvix {

namespace {

struct ValueRange {
    int64_t begin = -1;  // first byte after the key; -1 when the key is missing
    int64_t end = -1;    // the ";" or the range end
};

ValueRange valueAt(const QByteArray& buffer, int64_t at, int64_t keyLength, int64_t end)
{
    if (at < 0) {
        return {};
    }
    end = std::clamp<int64_t>(end, 0, buffer.size());
    const int64_t begin = at + keyLength;
    const int64_t semicolon = buffer.indexOf(';', begin);
    return {begin, semicolon < 0 || semicolon >= end ? end : semicolon};
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

QByteArray ReadValueAt(const QByteArray& buffer, int64_t at, int64_t keyLength, int64_t end)
{
    const ValueRange value = valueAt(buffer, at, keyLength, end);
    return value.begin < 0 ? QByteArray() : buffer.mid(value.begin, value.end - value.begin);
}

QByteArray ReadQuotedValueAt(const QByteArray& buffer, int64_t at, int64_t keyLength,
                             int64_t end)
{
    const ValueRange value = valueAt(buffer, at, keyLength, end);
    const int64_t length = value.end - value.begin - 2;
    return value.begin < 0 || length <= 0 ? QByteArray() : buffer.mid(value.begin + 1, length);
}

QByteArrayList ReadValueFieldsAt(const QByteArray& buffer, int64_t at, int64_t keyLength,
                                 int64_t end, int64_t& position)
{
    if (at < 0) {
        position = -1;
        return {};
    }
    end = std::clamp<int64_t>(end, 0, buffer.size());
    const char* data = buffer.constData();
    QByteArrayList fields;
    int64_t i = at + keyLength;
    while (true) {
        while (i < end && isBlank(data[i])) {
            ++i;
        }
        QByteArray field;
        if (i < end && data[i] == '"') {
            const int64_t close = buffer.indexOf('"', i + 1);
            if (close < 0 || close >= end) {
                position = i;
                return {};
            }
            field = buffer.mid(i + 1, close - i - 1);
            i = close + 1;
            // Anything between the closing quote and the separator is not part of the field.
            while (i < end && data[i] != ',' && data[i] != ';') {
                ++i;
            }
        } else {
            const int64_t fieldStart = i;
            while (i < end && data[i] != ',' && data[i] != ';') {
                ++i;
            }
            int64_t fieldEnd = i;
            while (fieldEnd > fieldStart && isBlank(data[fieldEnd - 1])) {
                --fieldEnd;
            }
            field = buffer.mid(fieldStart, fieldEnd - fieldStart);
        }
        fields.append(field);
        if (i >= end || data[i] == ';') {
            position = std::min(i, end);
            return fields;
        }
        ++i;  // past the comma
    }
}

QByteArray ReadValue(const QByteArray& buffer, const QByteArray& key, int64_t start, int64_t end)
{
    return ReadValueAt(buffer, FindText(buffer, key, start, end), key.size(), end);
}

QByteArray ReadQuotedValue(const QByteArray& buffer, const QByteArray& key, int64_t start,
                           int64_t end)
{
    return ReadQuotedValueAt(buffer, FindText(buffer, key, start, end), key.size(), end);
}

QByteArrayList ReadValueFields(const QByteArray& buffer, const QByteArray& key, int64_t start,
                               int64_t end, int64_t& position)
{
    return ReadValueFieldsAt(buffer, FindText(buffer, key, start, end), key.size(), end,
                             position);
}

}  // namespace corvix
