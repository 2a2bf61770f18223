#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <variant>

namespace corvix {

// The texts of the class/instance editor's fields when the user sends.
struct ClassInstanceFields {
    QString service;
    QString classId;
    QString instance;
    QString attribute;
    bool sendAttribute = true;
    QString data;  // hexadecimal bytes, "01 02 AB"
};

// One explicit request as the driver takes it.
struct ClassInstanceRequest {
    uint8_t service = 0;
    QString pathText;  // "20 0F 24 01 30 01"; without attribute "20 0F 24 01 " (trailing blank)
    QByteArray data;

    friend bool operator==(const ClassInstanceRequest&, const ClassInstanceRequest&) = default;
};

// The request the fields describe, or the message that tells the user why there is none. The
// data is checked first ("Tx-data format not correct"), then service, class, instance and
// attribute (only when it is sent), each for being a number and for fitting its segment: the
// service and the attribute one byte, class and instance 16 bits.
std::variant<ClassInstanceRequest, QString> ComposeClassInstanceRequest(
    const ClassInstanceFields& fields);

// What the editor shows for a reply to a request with requestService: on success (the service
// with bit 7 set) every data byte as two upper-case hexadecimal digits and a blank, "2A 00 ";
// otherwise the text of the general status in the first data byte, or nothing when the reply
// carries no byte.
QString ClassInstanceReplyText(uint8_t requestService, uint8_t replyService,
                               const QByteArray& data);

}  // namespace corvix
