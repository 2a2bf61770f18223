#include "SimFixtures.h"

#include "core/EnipSession.h"
#include "core/ExchangeLog.h"
#include "core/SerialAdapter.h"

#include <gtest/gtest.h>

using namespace corvix::sim;
using namespace corvix::sim::test;

namespace {

TEST(ExchangeLog, OneDecodedLinePerRequest)
{
    using Outcome = SimNetwork::Outcome;
    struct Case {
        NodeExchange exchange;
        const char* line;
    };
    const Case cases[] = {
        {{5, Request(0x0E, 0x0F, 3, 1), {Outcome::Replied, {0x8E, Hex("32 00")}, 0}},
         "serial MAC 5 Get_Attribute_Single (0E) class 0F instance 3 attribute 1 -> 8E data 32 00"},
        {{5, Request(0x10, 0x0F, 3, 1, "00 00"), {Outcome::Replied, CipReply::error(0x09), 20}},
         "serial MAC 5 Set_Attribute_Single (10) class 0F instance 3 attribute 1 data 00 00 -> 94 "
         "status 09 Invalid attribute value: Invalid attribute data detected after 20 ms"},
        {{63, Request(0x01, 0x10, 300), {Outcome::Replied, {0x81, {}}, 0}},
         "serial MAC 63 Get_Attributes_All (01) class 10 instance 300 -> 81"},
        {{9, Request(0x4B, 0x0F, 1, std::nullopt, "01"), {Outcome::NoNode, {}, 0}},
         "serial MAC 9 Get_Enum_String (4B) class 0F instance 1 data 01 -> no node"},
        {{9, Request(0x33, 0x91, 1), {Outcome::Dropped, {}, 0}},
         "serial MAC 9 service (33) class 91 instance 1 -> no reply (dropped)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DescribeExchange(QStringLiteral("serial"), c.exchange), QLatin1String(c.line));
}

TEST(ExchangeLog, BothFrontEndsLogTheRequestsToNodes)
{
    SimNetwork network;
    network.addNode(SmallNode(5));
    QStringList lines;
    const auto log = [&lines](const QString& line) { lines.append(line); };

    SerialAdapter adapter{network};
    adapter.log = log;
    adapter.receive(Hex("02 03 07 3F 02"), 0);  // online
    adapter.receive(Hex("02 0A 04 01 01 05 0E 01 00 01 00 07"), 0);
    EXPECT_EQ(lines, QStringList{QStringLiteral("serial MAC 5 Get_Attribute_Single (0E) class 01 "
                                                "instance 1 attribute 7 -> 8E data 05 44 72 69 76 65")});

    lines.clear();
    const BridgeConfig config = BridgeConfig::standard();
    EnipSession session{config, network, 1};
    session.log = log;
    session.receive(Hex("65 00 04 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
                        "01 00 00 00"),
                    0);  // RegisterSession
    // Unconnected Send through DeviceNet port 2 to MAC ID 5: Get_Attribute_Single 1/1/1.
    session.receive(Hex("6F 00 26 00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
                        "00 00 00 00 0E 00 02 00 00 00 00 00 B2 00 16 00"
                        "52 02 20 06 24 01 05 9B 08 00 0E 03 20 01 24 01 30 01 01 00 02 05"),
                    0);
    EXPECT_EQ(lines, QStringList{QStringLiteral("enip MAC 5 Get_Attribute_Single (0E) class 01 "
                                                "instance 1 attribute 1 -> 8E data 01 00")});
}

}  // namespace
