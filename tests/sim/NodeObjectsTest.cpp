#include "SimFixtures.h"

#include <gtest/gtest.h>

using namespace corvix::sim;
using namespace corvix::sim::test;

namespace {

struct NodeCase {
    const char* name;
    CipRequest request;
    const char* replyService;
    const char* replyData;
};

class NodeObjects : public ::testing::TestWithParam<NodeCase> {};

TEST_P(NodeObjects, AnswersAsADevice)
{
    const NodeCase& c = GetParam();
    SimNode node = SmallNode();
    const CipReply reply = node.handle(c.request);
    EXPECT_EQ(QByteArray(1, static_cast<char>(reply.service)).toHex(), Hex(c.replyService).toHex());
    EXPECT_EQ(reply.data.toHex(' '), Hex(c.replyData).toHex(' '));
}

// Parameter 1 Get_Attributes_All: value, link path (none), descriptor (enum strings), type,
// size, three short strings, minimum, maximum, default, eight scaling words, precision.
const char* const SpeedAll = "0A 00  00  02 00  C3 02  05 53 70 65 65 64  03 72 70 6D  00"
                             "  9C FF 64 00 00 00  01 00 01 00 01 00 00 00 00 00 00 00 00 00 00 00"
                             "  00";

INSTANTIATE_TEST_SUITE_P(
    Requests, NodeObjects,
    ::testing::Values(
        NodeCase{"IdentityVendor", Request(0x0E, 1, 1, 1), "8E", "01 00"},
        NodeCase{"IdentityRevision", Request(0x0E, 1, 1, 4), "8E", "02 03"},
        NodeCase{"IdentitySerial", Request(0x0E, 1, 1, 6), "8E", "78 56 34 12"},
        NodeCase{"IdentityName", Request(0x0E, 1, 1, 7), "8E", "05 44 72 69 76 65"},
        NodeCase{"IdentityAll", Request(0x01, 1, 1), "81",
                 "01 00 02 00 11 00 02 03 30 00 78 56 34 12 05 44 72 69 76 65"},
        NodeCase{"IdentityNoAttribute8", Request(0x0E, 1, 1, 8), "94", "14"},
        NodeCase{"IdentityReadOnly", Request(0x10, 1, 1, 1, "02 00"), "94", "0E"},
        NodeCase{"IdentityInstance2", Request(0x0E, 1, 2, 1), "94", "16"},
        NodeCase{"IdentityUnknownService", Request(0x4C, 1, 1), "94", "08"},
        NodeCase{"UnknownClass", Request(0x0E, 0x77, 1, 1), "94", "05"},
        NodeCase{"NotAScanner", Request(0x01, 0x91, 1), "94", "05"},
        NodeCase{"MacIdGet", Request(0x0E, 3, 1, 1), "8E", "05"},
        NodeCase{"DataRateGet", Request(0x0E, 3, 1, 2), "8E", "02"},
        NodeCase{"DataRateSet", Request(0x10, 3, 1, 2, "01"), "90", ""},
        NodeCase{"DataRateTooHigh", Request(0x10, 3, 1, 2, "03"), "94", "09"},
        NodeCase{"MacIdTooHigh", Request(0x10, 3, 1, 1, "40"), "94", "09"},
        NodeCase{"MacIdNoData", Request(0x10, 3, 1, 1), "94", "13"},
        NodeCase{"MacIdTooMuchData", Request(0x10, 3, 1, 1, "06 00"), "94", "15"},
        NodeCase{"QuickConnectSet", Request(0x10, 3, 1, 0x0A, "01"), "90", ""},
        NodeCase{"DeviceNetSave", Request(0x16, 3, 0), "96", ""},
        NodeCase{"DeviceNetAttribute5", Request(0x0E, 3, 1, 5), "94", "14"},
        NodeCase{"ParamMaxInstance", Request(0x0E, 0x0F, 0, 2), "8E", "02 00"},
        NodeCase{"ParamClassDescriptor", Request(0x0E, 0x0F, 0, 8), "8E", "04 00"},
        NodeCase{"ParamConfigAssembly", Request(0x0E, 0x0F, 0, 9), "8E", "64 00"},
        NodeCase{"ParamClassAttribute3", Request(0x0E, 0x0F, 0, 3), "94", "14"},
        NodeCase{"ParamValue", Request(0x0E, 0x0F, 1, 1), "8E", "0A 00"},
        NodeCase{"ParamDataSize", Request(0x0E, 0x0F, 2, 6), "8E", "01"},
        NodeCase{"ParamAll", Request(0x01, 0x0F, 1), "81", SpeedAll},
        NodeCase{"ParamSetInRange", Request(0x10, 0x0F, 1, 1, "9C FF"), "90", ""},
        NodeCase{"ParamSetBelowSignedMinimum", Request(0x10, 0x0F, 1, 1, "9B FF"), "94", "09"},
        NodeCase{"ParamSetAboveMaximum", Request(0x10, 0x0F, 1, 1, "65 00"), "94", "09"},
        NodeCase{"ParamSetShort", Request(0x10, 0x0F, 1, 1, "01"), "94", "13"},
        NodeCase{"ParamSetLong", Request(0x10, 0x0F, 1, 1, "01 00 00"), "94", "15"},
        NodeCase{"ParamSetReadOnly", Request(0x10, 0x0F, 2, 1, "01"), "94", "0E"},
        NodeCase{"ParamSetName", Request(0x10, 0x0F, 1, 7, "00"), "94", "0E"},
        NodeCase{"ParamAttribute22", Request(0x0E, 0x0F, 1, 22), "94", "14"},
        NodeCase{"ParamMissingInstance", Request(0x0E, 0x0F, 3, 1), "94", "16"},
        NodeCase{"ParamReadOnlyDescriptor", Request(0x0E, 0x0F, 2, 4), "8E", "10 00"},
        NodeCase{"EnumStringByAttribute", Request(0x4B, 0x0F, 1, 1), "CB", "02 4F 6E"},
        NodeCase{"EnumStringByData", Request(0x4B, 0x0F, 1, std::nullopt, "00"), "CB", "03 4F 66 66"},
        NodeCase{"EnumStringPastEnd", Request(0x4B, 0x0F, 1, 2), "94", "20"},
        NodeCase{"ParamSave", Request(0x16, 0x0F, 0, 0xFF), "96", ""},
        NodeCase{"GroupCount", Request(0x0E, 0x10, 0, 2), "8E", "01 00"},
        NodeCase{"GroupName", Request(0x0E, 0x10, 1, 1), "8E", "05 53 65 74 75 70"},
        NodeCase{"GroupMemberCount", Request(0x0E, 0x10, 1, 2), "8E", "02 00"},
        NodeCase{"GroupSecondMember", Request(0x0E, 0x10, 1, 4), "8E", "02 00"},
        NodeCase{"GroupPastLastMember", Request(0x0E, 0x10, 1, 5), "94", "14"},
        NodeCase{"GroupAll", Request(0x01, 0x10, 1), "81", "05 53 65 74 75 70 02 00 01 00 02 00"},
        NodeCase{"GroupMissing", Request(0x0E, 0x10, 2, 1), "94", "16"}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(NodeObjectsWithoutParameters, HaveNoParameterClasses)
{
    SimNode node = SmallNode();
    node.parameters.parameters.clear();
    EXPECT_EQ(node.handle(Request(0x0E, 0x0F, 0, 2)).generalStatus(), cip::PathDestinationUnknown);
    EXPECT_EQ(node.handle(Request(0x0E, 0x10, 0, 2)).generalStatus(), cip::PathDestinationUnknown);
}

TEST(NodeObjectsState, SetValueIsReadBack)
{
    SimNode node = SmallNode();
    ASSERT_FALSE(node.handle(Request(0x10, 0x0F, 1, 1, "F6 FF")).isError());
    EXPECT_EQ(node.handle(Request(0x0E, 0x0F, 1, 1)).data, Hex("F6 FF"));
    ASSERT_FALSE(node.handle(Request(0x10, 3, 1, 0x0A, "01")).isError());
    EXPECT_EQ(node.handle(Request(0x0E, 3, 1, 0x0A)).data, Hex("01"));
}

TEST(NodeObjectsRange, ComparesAsTheDataType)
{
    struct Case {
        std::uint8_t dataType;
        const char* min;
        const char* max;
        const char* value;
        bool inRange;
    };
    const Case cases[] = {
        {0xC7, "00 00", "FF 7F", "00 80", false},  // UINT: 0x8000 above 0x7FFF
        {0xC3, "00 80", "FF 7F", "00 80", true},   // INT: -32768 is the minimum
        {0xC3, "00 00", "10 00", "FF FF", false},  // INT: -1 below 0
        {0xC8, "", "E8 03 00 00", "E9 03 00 00", false},  // UDINT, no minimum
        {0xCA, "00 00 00 00", "00 00 80 3F", "00 00 00 40", false},  // REAL 2.0 above 1.0
        {0xCA, "00 00 00 00", "00 00 80 3F", "00 00 00 3F", true},   // REAL 0.5
        {0xDA, "00", "00", "41", true},  // SHORT_STRING: no range
    };
    for (const Case& c : cases) {
        SimParameter p;
        p.dataType = c.dataType;
        p.minimum = Hex(c.min);
        p.maximum = Hex(c.max);
        EXPECT_EQ(ValueInRange(p, Hex(c.value)), c.inRange) << int(c.dataType) << " " << c.value;
    }
}

}  // namespace
