#include <gtest/gtest.h>

#include "app/StatusText.h"
#include "device/ClassInstanceRequest.h"

namespace corvix {

void PrintTo(const ClassInstanceRequest& request, std::ostream* out)
{
    *out << "service " << int(request.service) << " path \"" << request.pathText.toStdString()
         << "\" data " << request.data.toHex(' ').toStdString();
}

namespace {

ClassInstanceFields Fields(const char* service, const char* classId, const char* instance,
                           const char* attribute, bool sendAttribute = true, const char* data = "")
{
    return {QString::fromLatin1(service),
            QString::fromLatin1(classId),
            QString::fromLatin1(instance),
            QString::fromLatin1(attribute),
            sendAttribute,
            QString::fromLatin1(data)};
}

TEST(ClassInstanceRequest, FieldsBecomeServicePathAndData)
{
    const struct {
        ClassInstanceFields fields;
        ClassInstanceRequest request;
    } cases[] = {
        {Fields("0x0e", "0x01", "0x01", "0x01"), {0x0E, "20 01 24 01 30 01", {}}},
        {Fields("0x0E", "0x0F", "0x01", "0x01", false), {0x0E, "20 0F 24 01 ", {}}},
        {Fields("16", "15", "300", "1", true, "01 02 AB"),
         {0x10, "20 0F 25 2C 01 30 01", QByteArray("\x01\x02\xAB", 3)}},
        {Fields("0x01", "0x100", "0", "7", false), {0x01, "21 00 01 24 00 ", {}}},
        {Fields("255", "0xFFFF", "0xFFFF", "0xFF"), {0xFF, "21 FF FF 25 FF FF 30 FF", {}}},
        // The attribute field is not looked at when no attribute is sent.
        {Fields("0x05", "1", "1", "0x1234", false), {0x05, "20 01 24 01 ", {}}},
    };
    for (const auto& c : cases) {
        const auto composed = ComposeClassInstanceRequest(c.fields);
        const auto* request = std::get_if<ClassInstanceRequest>(&composed);
        ASSERT_NE(request, nullptr) << std::get<QString>(composed).toStdString();
        EXPECT_EQ(*request, c.request) << c.request.pathText.toStdString();
    }
}

TEST(ClassInstanceRequest, RefusalsNameTheFieldAndTheDataComesFirst)
{
    const struct {
        ClassInstanceFields fields;
        const char* message;
    } cases[] = {
        {Fields("0x0e", "1", "1", "256"), "The attribute number must be between 0 and 255 (0xFF)."},
        {Fields("0x100", "1", "1", "1"), "The service number must be between 0 and 255 (0xFF)."},
        {Fields("0x0e", "65536", "1", "1"),
         "The class number must be between 0 and 65535 (0xFFFF)."},
        {Fields("0x0e", "1", "-1", "1"),
         "The instance number must be between 0 and 65535 (0xFFFF)."},
        {Fields("get", "1", "1", "1"),
         "The service \"get\" is not a number: write it in decimal or in hexadecimal after "
         "\"0x\"."},
        {Fields("0x0e", "1", "", "1"),
         "The instance \"\" is not a number: write it in decimal or in hexadecimal after "
         "\"0x\"."},
        {Fields("0x0e", "1", "1", "0x1G"),
         "The attribute \"0x1G\" is not a number: write it in decimal or in hexadecimal after "
         "\"0x\"."},
        // The data is checked before any number field.
        {Fields("nothing", "1", "1", "1", true, "01 2"), "Tx-data format not correct"},
        {Fields("0x0e", "1", "1", "1", true, "01  02"), "Tx-data format not correct"},
        // Fields are checked in their order on the page.
        {Fields("0x0e", "x", "1", "999"),
         "The class \"x\" is not a number: write it in decimal or in hexadecimal after "
         "\"0x\"."},
    };
    for (const auto& c : cases) {
        const auto composed = ComposeClassInstanceRequest(c.fields);
        const auto* refusal = std::get_if<QString>(&composed);
        ASSERT_NE(refusal, nullptr) << c.message;
        EXPECT_EQ(*refusal, QString::fromLatin1(c.message));
    }
}

TEST(ClassInstanceRequest, ReplyTextShowsBytesOrTheGeneralStatus)
{
    const struct {
        uint8_t requestService;
        uint8_t replyService;
        QByteArray data;
        QString text;
    } cases[] = {
        {0x0E, 0x8E, QByteArray("\x2A\x00", 2), "2A 00 "},
        {0x10, 0x90, {}, ""},
        {0x01, 0x81, QByteArray("\x01\x00\xff", 3), "01 00 FF "},
        {0x0E, 0x94, QByteArray("\x14\x00", 2), StatusText(0x14)},
        // A success reply to another service is not taken for data.
        {0x0E, 0x90, QByteArray("\x09", 1), StatusText(0x09)},
        {0x0E, 0x94, {}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClassInstanceReplyText(c.requestService, c.replyService, c.data), c.text)
            << int(c.replyService);
    }
}

}  // namespace
}  // namespace corvix
