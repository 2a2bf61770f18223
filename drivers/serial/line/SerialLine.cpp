#include "line/SerialLine.h"

namespace corvix::serial {

namespace {

constexpr std::uint8_t CmdGoOffline = 0x03;
constexpr std::uint8_t CmdExplicitRequest = 0x04;
constexpr std::uint8_t CmdBrowse = 0x06;
constexpr std::uint8_t CmdGoOnline = 0x07;

// Command, slot, data length, MAC ID, service, class (2), instance (2).
constexpr int RequestHeaderSize = 9;

QByteArray Bytes(std::initializer_list<std::uint8_t> values)
{
    QByteArray bytes;
    for (std::uint8_t value : values)
        bytes.append(char(value));
    return bytes;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Reads the bytes of a parsed path one by one and refuses to run past the end.
class PathCursor {
public:
    explicit PathCursor(QByteArray bytes) : bytes_(std::move(bytes)) {}
    std::uint8_t next(const char* what)
    {
        if (position_ >= bytes_.size())
            throw LineError(std::string("request path ends before the ") + what);
        return std::uint8_t(bytes_[position_++]);
    }
    std::uint16_t nextWord(const char* what)
    {
        const std::uint8_t low = next(what);
        return std::uint16_t(low | (next(what) << 8));
    }

private:
    QByteArray bytes_;
    qsizetype position_ = 0;
};

std::uint16_t ReadSegment(PathCursor& cursor, std::uint8_t shortForm, const char* what)
{
    const std::uint8_t segment = cursor.next(what);
    if (segment == shortForm)
        return cursor.next(what);
    if (segment == shortForm + 1)
        return cursor.nextWord(what);
    throw LineError(std::string("request path has no ") + what + " segment");
}

bool ParseDecimal(const QByteArray& text, int maximum, int& value)
{
    if (text.isEmpty() || text.size() > 3)
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return value <= maximum;
}

}  // namespace

void FrameReader::feed(const QByteArray& bytes, QList<QByteArray>& payloads)
{
    qsizetype position = 0;
    while (position < bytes.size()) {
        if (!synchronised_) {
            expectedLength_ = 0;
            buffer_.clear();
            while (position < bytes.size() && std::uint8_t(bytes[position]) != Stx)
                ++position;
            if (position == bytes.size())
                return;
            ++position;
            synchronised_ = true;
        } else if (expectedLength_ == 0) {
            // A LEN of 0 carries nothing; the byte after it is read as the length instead.
            expectedLength_ = std::uint8_t(bytes[position++]);
        } else {
            const qsizetype take =
                std::min<qsizetype>(expectedLength_ - buffer_.size(), bytes.size() - position);
            buffer_.append(bytes.constData() + position, take);
            position += take;
            if (buffer_.size() == expectedLength_) {
                payloads.append(buffer_);
                reset();
            }
        }
    }
}

void FrameReader::reset()
{
    synchronised_ = false;
    expectedLength_ = 0;
    buffer_.clear();
}

QByteArray EncodeFrame(const QByteArray& payload)
{
    if (payload.isEmpty() || payload.size() > MaxPayload)
        throw LineError("frame payload must have 1 to 255 bytes");
    return Bytes({Stx, std::uint8_t(payload.size())}) + payload;
}

QByteArray GoOnlineFrame(std::uint8_t macId, std::uint8_t rateIndex)
{
    return EncodeFrame(Bytes({CmdGoOnline, macId, rateIndex}));
}

QByteArray GoOfflineFrame()
{
    return EncodeFrame(Bytes({CmdGoOffline, 0x00}));
}

QByteArray BrowseFrame()
{
    return EncodeFrame(Bytes({CmdBrowse, 0x01}));
}

RequestPath ParseRequestPath(const char* text)
{
    if (text == nullptr)
        throw LineError("no request path");
    QByteArray bytes;
    int high = -1;
    for (const char* c = text; *c != '\0'; ++c) {
        const int digit = HexDigitValue(*c);
        if (digit < 0)
            continue;
        if (high < 0) {
            high = digit;
        } else {
            bytes.append(char(high << 4 | digit));
            high = -1;
        }
    }
    if (high >= 0)
        bytes.append(char(high));
    // A path without attribute segment ends in this zero, which is no attribute segment.
    bytes.append('\0');

    PathCursor cursor(bytes);
    RequestPath path;
    path.classId = ReadSegment(cursor, 0x20, "class");
    path.instanceId = ReadSegment(cursor, 0x24, "instance");
    if (cursor.next("attribute") == 0x30) {
        path.attributeId = cursor.next("attribute");
        path.noAttribute = false;
    }
    return path;
}

int MaxRequestData(bool withAttribute)
{
    return MaxPayload - RequestHeaderSize - (withAttribute ? 1 : 0);
}

QByteArray ExplicitRequestFrame(const ExplicitRequest& request)
{
    const bool withAttribute = !request.path.noAttribute;
    if (request.data.size() > MaxRequestData(withAttribute))
        throw LineError("request data does not fit one frame");
    QByteArray payload = Bytes({
        CmdExplicitRequest,
        request.slot,
        std::uint8_t(request.data.size() + (withAttribute ? 1 : 0)),
        request.macId,
        request.service,
        std::uint8_t(request.path.classId & 0xFF),
        std::uint8_t(request.path.classId >> 8),
        std::uint8_t(request.path.instanceId & 0xFF),
        std::uint8_t(request.path.instanceId >> 8),
    });
    if (withAttribute)
        payload.append(char(request.path.attributeId));
    payload.append(request.data);
    return EncodeFrame(payload);
}

std::optional<std::uint16_t> StatusWord(const QByteArray& payload)
{
    if (payload.size() != 4 || payload[0] != char(MessageType::Status))
        return std::nullopt;
    return std::uint16_t(std::uint8_t(payload[2]) | std::uint8_t(payload[3]) << 8);
}

std::optional<ReplyMessage> ParseReply(const QByteArray& payload)
{
    constexpr int HeaderSize = 6;  // type, transfer status, slot, two unused bytes, service
    if (payload.size() < HeaderSize || std::uint8_t(payload[0]) != std::uint8_t(MessageType::Reply))
        return std::nullopt;
    return ReplyMessage{std::uint8_t(payload[1]), std::uint8_t(payload[2]),
                        std::uint8_t(payload[5]), payload.mid(HeaderSize)};
}

QByteArray ComposeSettingsText(const LineSettings& settings)
{
    return settings.port.toLocal8Bit() + ',' + QByteArray::number(settings.macId) + ',' +
           QByteArray::number(settings.rateIndex);
}

LineSettings ParseSettingsText(const QByteArray& text)
{
    const qsizetype first = text.indexOf(',');
    if (first < 0)
        throw LineError("settings text has no MAC ID");
    const QByteArray rest = text.mid(first + 1);
    const qsizetype second = rest.indexOf(',');
    LineSettings settings;
    settings.port = QString::fromLocal8Bit(text.left(first));
    if (second < 0 || !ParseDecimal(rest.left(second), 63, settings.macId) ||
        !ParseDecimal(rest.mid(second + 1), 3, settings.rateIndex))
        throw LineError("settings text needs a MAC ID 0-63 and a data-rate index 0-3");
    return settings;
}

}  // namespace corvix::serial
