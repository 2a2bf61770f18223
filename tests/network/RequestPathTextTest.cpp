#include "app/CorvixError.h"
#include "network/RequestPathText.h"

#include <gtest/gtest.h>

using namespace corvix;

TEST(RequestPathText, BuildsAndParsesBothSegmentWidths)
{
    const struct {
        RequestPath path;
        QString text;
    } cases[] = {
        {{0x0F, 0, 2}, "20 0F 24 00 30 02"},
        {{0x0F, 300, 1}, "20 0F 25 2C 01 30 01"},  // parameter 300
        {{0x90, 1, std::nullopt}, "20 90 24 01"},
        {{0x1234, 0xFFFF, 0xFF}, "21 34 12 25 FF FF 30 FF"},
        {{255, 256, std::nullopt}, "20 FF 25 00 01"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BuildPathText(c.path), c.text);
        EXPECT_EQ(ParsePathText(c.text), c.path) << c.text.toStdString();
    }
    // The class/instance editor leaves a trailing blank when it sends no attribute.
    EXPECT_EQ(ParsePathText("20 01 24 01 "), (RequestPath{1, 1, std::nullopt}));
    // A 16-bit segment is accepted even for a small number.
    EXPECT_EQ(ParsePathText("21 01 00 24 01 30 07"), (RequestPath{1, 1, 7}));
}

TEST(RequestPathText, GarbageIsRefusedWithAReason)
{
    const struct {
        QString text;
        const char* reason;
    } cases[] = {
        {"", "not two-digit"},
        {"20", "the class segment is cut short"},
        {"20 0F", "the instance segment is missing"},
        {"24 01 20 0F", "found where the class segment belongs"},
        {"20 0F 30 01", "found where the instance segment belongs"},
        {"20 0F 25 2C", "the instance segment is cut short"},
        {"20 0F 24 00 30", "the attribute segment is cut short"},
        {"20 0F 24 00 30 01 00", "bytes follow the attribute segment"},
        {"20 0F 24 00 31 01", "found where the attribute segment belongs"},
        {"20 F 24 00", "not two-digit"},
        {"200F2400", "not two-digit"},
        {" 20 0F 24 00", "not two-digit"},
        {"20  0F 24 00", "not two-digit"},
        {"20 0F 24 0G", "not two-digit"},
        {"20 0F 24 00  ", "not two-digit"},
        {QString(10000, u'2'), "not two-digit"},
    };
    for (const auto& c : cases) {
        try {
            ParsePathText(c.text);
            ADD_FAILURE() << "accepted: " << c.text.left(30).toStdString();
        } catch (const ConversionError& error) {
            EXPECT_TRUE(error.message().contains(QLatin1String(c.reason)))
                << c.text.left(30).toStdString() << " -> " << error.message().toStdString();
        }
    }
}
