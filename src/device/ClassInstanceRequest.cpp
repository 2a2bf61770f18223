#include "device/ClassInstanceRequest.h"

#include <CorvixDriverContract.h>

#include <optional>

#include "app/Conversions.h"
#include "app/StatusText.h"
#include "device/ClassInstanceFields.h"
#include "device/ClassInstanceHexText.h"
#include "network/RequestPathText.h"

namespace corvix {

namespace {

// A field's value when it is a number within 0..maximum; otherwise the message for the user.
std::variant<int64_t, QString> FieldValue(const QString& text, const QString& what, int64_t maximum)
{
    const std::optional<int64_t> value = ReadNumberField(text);
    if (!value) {
        return QStringLiteral(
                   "The %1 \"%2\" is not a number: write it in decimal or in "
                   "hexadecimal after \"0x\".")
            .arg(what, text);
    }
    if (*value < 0 || *value > maximum) {
        return QStringLiteral("The %1 number must be between 0 and %2 (0x%3).")
            .arg(what)
            .arg(maximum)
            .arg(QString::number(maximum, 16).toUpper());
    }
    return *value;
}

}  // namespace

std::variant<ClassInstanceRequest, QString> ComposeClassInstanceRequest(
    const ClassInstanceFields& fields)
{
    if (!IsHexDataText(fields.data)) {
        return QStringLiteral("Tx-data format not correct");
    }
    struct Field {
        const QString& text;
        const char* what;
        int64_t maximum;
    };
    const Field checked[] = {
        {fields.service, "service", 0xFF},
        {fields.classId, "class", 0xFFFF},
        {fields.instance, "instance", 0xFFFF},
        {fields.attribute, "attribute", 0xFF},
    };
    const int count = fields.sendAttribute ? 4 : 3;
    int64_t values[4] = {};
    for (int i = 0; i < count; ++i) {
        const auto value =
            FieldValue(checked[i].text, QLatin1String(checked[i].what), checked[i].maximum);
        if (const QString* refusal = std::get_if<QString>(&value)) {
            return *refusal;
        }
        values[i] = std::get<int64_t>(value);
    }
    RequestPath path{uint16_t(values[1]), uint16_t(values[2]), std::nullopt};
    if (fields.sendAttribute) {
        path.attribute = uint8_t(values[3]);
    }
    // Without an attribute the path text ends in a blank; drivers accept it, and it is the
    // text this editor has always handed them.
    const QString pathText =
        BuildPathText(path) + (path.attribute ? QString() : QStringLiteral(" "));
    return ClassInstanceRequest{uint8_t(values[0]), pathText, HexTextToBytes(fields.data)};
}

QString ClassInstanceReplyText(uint8_t requestService, uint8_t replyService, const QByteArray& data)
{
    if (replyService == (requestService | CORVIX_SERVICE_REPLY_FLAG)) {
        QString text;
        for (const char byte : data) {
            text += QStringLiteral("%1 ").arg(uint8_t(byte), 2, 16, QLatin1Char('0')).toUpper();
        }
        return text;
    }
    return data.isEmpty() ? QString() : StatusText(uint8_t(data[0]));
}

}  // namespace corvix
