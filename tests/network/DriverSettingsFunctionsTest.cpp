// The settings functions a driver is handed: values round-trip through the program's settings
// store, and a text never runs past the driver's buffer.
#include "network/DriverSettingsFunctions.h"

#include <algorithm>
#include <iterator>

#include <gtest/gtest.h>

using namespace corvix;

TEST(DriverSettingsFunctions, ValuesRoundTripAndTextsFitTheBuffer)
{
    EXPECT_EQ(DriverReadInteger("BindingTestMissing", 7), 7);
    DriverWriteInteger("BindingTestInteger", -42);
    EXPECT_EQ(DriverReadInteger("BindingTestInteger", 7), -42);
    EXPECT_EQ(DriverReadBool("BindingTestMissingBool"), 0);
    DriverWriteBool("BindingTestBool", 5);
    EXPECT_EQ(DriverReadBool("BindingTestBool"), 1);

    char buffer[6] = "xxxxx";
    EXPECT_EQ(DriverReadString("BindingTestMissingText", buffer, sizeof buffer), -1);
    EXPECT_STREQ(buffer, "xxxxx");  // unchanged when missing
    DriverWriteString("BindingTestText", "COM12,63,2");
    const struct {
        uint32_t size;
        const char* expected;
    } cases[] = {{6, "COM12"}, {1, ""}, {64, "COM12,63,2"}};
    for (const auto& c : cases) {
        char text[65];
        std::fill(std::begin(text), std::end(text), '#');
        EXPECT_EQ(DriverReadString("BindingTestText", text, c.size), 10);
        EXPECT_STREQ(text, c.expected) << c.size;
        EXPECT_EQ(text[c.size], '#') << "wrote past the buffer";
    }
}
