#include "app/StatusText.h"

#include <gtest/gtest.h>

using corvix::StatusText;

TEST(StatusText, CodesGiveTheirTextsBlanksIncluded)
{
    const struct {
        int code;
        const char* text;
    } cases[] = {
        {0x00, "Success Service was successfully performed by the object specified."},
        {0x02, " Resource unavailable: Resources needed for the object to perform the requested "
               "service were unavailable"},
        {0x0B, "Already in requested mode/state: The object is already in the mode/state being "
               "requested by the service "},
        {0x14, "Attribute not supported: The attribute specified in the request is not supported"},
        {0x2A, "Group 2 only server general failure"},
        {70, "Failed DUP MAC check."},
        {99, "Watchdog has timed-out."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StatusText(c.code), QString::fromUtf8(c.text)) << c.code;
    }
    EXPECT_TRUE(StatusText(0x10).contains(QChar(0x2019)));  // "device’s", typographic apostrophe
}

TEST(StatusText, GapsAndOutOfRangeCodesAreUnknown)
{
    for (const int code : {0x01, 0x03, 0x17, 0x2B, 69, 0x5D, 0x5E, 100, -1, 0x10000}) {
        EXPECT_EQ(StatusText(code), QStringLiteral("Unknown Error")) << code;
    }
}
