#include "network/RequestPathText.h"

#include "app/Conversions.h"
#include "app/CorvixError.h"

#include <CorvixDriverContract.h>

#include <QRegularExpression>
#include <QStringList>

namespace corvix {

namespace {

QString hexByte(unsigned value)
{
    return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

void appendSegment(QStringList& bytes, uint8_t segment8, uint8_t segment16, uint16_t value)
{
    if (value < 256) {
        bytes << hexByte(segment8) << hexByte(value);
    } else {
        bytes << hexByte(segment16) << hexByte(value) << hexByte(value >> 8);
    }
}

[[noreturn]] void raise(const QString& text, const QString& why)
{
    throw ConversionError(QStringLiteral("Invalid request path '%1': %2").arg(text, why));
}

// Reads one class or instance segment at pos; advances pos past it.
uint16_t readSegment(const QString& text, const QByteArray& bytes, qsizetype& pos,
                     uint8_t segment8, uint8_t segment16, const QString& what)
{
    if (pos >= bytes.size()) {
        raise(text, QStringLiteral("the %1 segment is missing").arg(what));
    }
    const auto segment = static_cast<uint8_t>(bytes[pos]);
    const qsizetype width = segment == segment8 ? 1 : segment == segment16 ? 2 : 0;
    if (width == 0) {
        raise(text, QStringLiteral("segment %1 found where the %2 segment belongs")
                        .arg(hexByte(segment), what));
    }
    if (pos + width >= bytes.size()) {
        raise(text, QStringLiteral("the %1 segment is cut short").arg(what));
    }
    uint16_t value = static_cast<uint8_t>(bytes[pos + 1]);
    if (width == 2) {
        value |= uint16_t(static_cast<uint8_t>(bytes[pos + 2]) << 8);
    }
    pos += 1 + width;
    return value;
}

}  // namespace

QString BuildPathText(const RequestPath& path)
{
    QStringList bytes;
    appendSegment(bytes, CORVIX_SEGMENT_CLASS_8, CORVIX_SEGMENT_CLASS_16, path.classId);
    appendSegment(bytes, CORVIX_SEGMENT_INSTANCE_8, CORVIX_SEGMENT_INSTANCE_16, path.instance);
    if (path.attribute) {
        bytes << hexByte(CORVIX_SEGMENT_ATTRIBUTE_8) << hexByte(*path.attribute);
    }
    return bytes.join(u' ');
}

RequestPath ParsePathText(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^[0-9A-Fa-f]{2}( [0-9A-Fa-f]{2})* ?$"));
    if (!form.match(text).hasMatch()) {
        raise(text, QStringLiteral("not two-digit hexadecimal bytes separated by single blanks"));
    }
    const QByteArray bytes = HexTextToBytes(text);
    RequestPath path;
    qsizetype pos = 0;
    path.classId = readSegment(text, bytes, pos, CORVIX_SEGMENT_CLASS_8, CORVIX_SEGMENT_CLASS_16,
                               QStringLiteral("class"));
    path.instance = readSegment(text, bytes, pos, CORVIX_SEGMENT_INSTANCE_8,
                                CORVIX_SEGMENT_INSTANCE_16, QStringLiteral("instance"));
    if (pos < bytes.size()) {
        if (static_cast<uint8_t>(bytes[pos]) != CORVIX_SEGMENT_ATTRIBUTE_8) {
            raise(text, QStringLiteral("segment %1 found where the attribute segment belongs")
                            .arg(hexByte(static_cast<uint8_t>(bytes[pos]))));
        }
        if (pos + 2 != bytes.size()) {
            raise(text, pos + 1 == bytes.size()
                            ? QStringLiteral("the attribute segment is cut short")
                            : QStringLiteral("bytes follow the attribute segment"));
        }
        path.attribute = static_cast<uint8_t>(bytes[pos + 1]);
    }
    return path;
}

}  // namespace corvix
