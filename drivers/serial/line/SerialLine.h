#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>
#include <stdexcept>

namespace corvix::serial {

// A text the adapter line cannot carry or a path we cannot read; what() is for the log only.
class LineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Frames on the adapter line are STX (0x02), LEN and LEN payload bytes, no checksum, no escaping.
constexpr std::uint8_t Stx = 0x02;
constexpr int MaxPayload = 255;

// Reassembles frames from the bytes as they arrive, in any split. Bytes before an STX are
// skipped; after every complete frame the reader looks for the next STX again.
class FrameReader {
public:
    // Appends the payloads of every frame completed by `bytes`.
    void feed(const QByteArray& bytes, QList<QByteArray>& payloads);
    void reset();

private:
    bool synchronised_ = false;
    int expectedLength_ = 0;
    QByteArray buffer_;
};

QByteArray EncodeFrame(const QByteArray& payload);

// Commands to the adapter, as whole frames.
QByteArray GoOnlineFrame(std::uint8_t macId, std::uint8_t rateIndex);
QByteArray GoOfflineFrame();
QByteArray BrowseFrame();

// The addressing part of a request path text.
struct RequestPath {
    std::uint16_t classId = 0;
    std::uint16_t instanceId = 0;
    std::uint8_t attributeId = 0;
    bool noAttribute = true;
};

// Reads "20 0F 25 2C 01 30 01" and its relatives: hex digits are taken in order and anything
// else is skipped; an 8-bit or 16-bit class segment, an 8-bit or 16-bit instance segment and an
// optional attribute segment. Throws LineError when a segment is missing, unknown or cut short.
RequestPath ParseRequestPath(const char* text);

struct ExplicitRequest {
    std::uint8_t slot = 1;
    std::uint8_t macId = 0;
    std::uint8_t service = 0;
    RequestPath path;
    QByteArray data;
};

// The most request data one frame carries: LEN counts the command, eight header bytes and the
// attribute byte when there is one.
int MaxRequestData(bool withAttribute);
// Throws LineError when the data does not fit one frame.
QByteArray ExplicitRequestFrame(const ExplicitRequest& request);

// An adapter message, by its first payload byte.
enum class MessageType : std::uint8_t {
    Status = 0x00,
    Acknowledge = 0x37,
    BrowseRecord = 0x64,
    BrowseReport = 0x65,
    Reply = 0x82,
    Diagnostic = 0xA2,
};

struct ReplyMessage {
    std::uint8_t transferStatus = 0;
    std::uint8_t slot = 0;
    std::uint8_t service = 0;
    QByteArray data;
};

// 0x00 messages of exactly four bytes carry the network status word.
std::optional<std::uint16_t> StatusWord(const QByteArray& payload);
// A reply needs its six header bytes; a shorter one yields nothing.
std::optional<ReplyMessage> ParseReply(const QByteArray& payload);

// The settings text a session remembers: "COM1,63,2" (port, MAC ID, data-rate index).
struct LineSettings {
    QString port;
    int macId = 63;
    int rateIndex = 2;
};
QByteArray ComposeSettingsText(const LineSettings& settings);
// Throws LineError when the MAC ID or the rate index is not a decimal number in range.
LineSettings ParseSettingsText(const QByteArray& text);

}  // namespace corvix::serial
