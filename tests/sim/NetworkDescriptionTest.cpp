#include "SimFixtures.h"

#include "app/CorvixError.h"
#include "core/ControlCommand.h"
#include "core/NetworkDescription.h"

#include <gtest/gtest.h>

using namespace corvix;
using namespace corvix::sim;
using namespace corvix::sim::test;

namespace {

TEST(NetworkDescription, DemoNetworkLoads)
{
    const SimDescription description =
        LoadNetworkDescription(QStringLiteral(CORVIX_SOURCE_DIR "/data/sim/demo.json"));
    SimNetwork network = description.network;
    ASSERT_NE(network.node(5), nullptr);
    ASSERT_NE(network.node(0), nullptr);
    EXPECT_TRUE(network.node(0)->scanner.has_value());
    ASSERT_NE(network.node(7), nullptr);
    ASSERT_NE(network.node(9), nullptr);
    // Initial values from the description override the defaults of the EDS file.
    EXPECT_EQ(network.node(5)->handle(Request(0x0E, 0x0F, 3, 1)).data, Hex("32 00"));
    EXPECT_EQ(network.node(5)->handle(Request(0x0E, 0x0F, 2, 1)).data, Hex("00 00"));
    EXPECT_EQ(network.node(5)->handle(Request(0x10, 0x0F, 3, 1, "A1 8C")).generalStatus(), 0x09);
    EXPECT_EQ(network.node(5)->identity.serialNumber, 4660u);
    EXPECT_EQ(network.node(0)->handle(Request(0x0E, 0x91, 6, 0x18)).data, Hex("01"));
    EXPECT_EQ(description.bridge.ports.size(), 2);
}

TEST(NetworkDescription, BridgeWithBackplaneModulesFromItsOwnPortList)
{
    const SimDescription description = ParseNetworkDescription(R"({"bridge":{
        "identity":{"vendorId":1,"deviceType":12,"productCode":256},
        "ports":[{"number":1,"type":"Backplane","name":"Backplane","path":"20 66 24 01"}],
        "modules":[{"slot":2,"identity":{"vendorId":1,"deviceType":12,"productCode":512},
                    "deviceNetPort":2}]}})");
    ASSERT_EQ(description.bridge.modules.size(), 1);
    EXPECT_EQ(description.bridge.modules[0].slot, 2);
    EXPECT_EQ(description.bridge.modules[0].deviceNetPort, std::optional<std::uint16_t>(2));
    EXPECT_EQ(description.bridge.ports.size(), 1);
}

TEST(NetworkDescription, RejectsBadDescriptionsNamingTheEntry)
{
    struct Case {
        const char* json;
        const char* messagePart;
    };
    const Case cases[] = {
        {"", "not a network description"},
        {"[1]", "expected a JSON object"},
        {R"({"nodes":[{"identity":{"vendorId":1,"deviceType":1,"productCode":1}}]})", "\"macId\" is missing"},
        {R"({"nodes":[{"macId":64,"identity":{}}]})", "nodes[0].macId"},
        {R"({"nodes":[{"macId":1.5}]})", "whole number"},
        {R"({"nodes":[{"macId":1,"identity":{"vendorId":70000,"deviceType":1,"productCode":1}}]})", "vendorId"},
        {R"({"nodes":[{"macId":1,"identity":{"vendorId":1,"deviceType":1,"productCode":1}},
                      {"macId":1,"identity":{"vendorId":1,"deviceType":1,"productCode":1}}]})", "used twice"},
        {R"({"nodes":[{"macId":1,"identity":{"vendorId":1,"deviceType":1,"productCode":1},
                      "scanner":{"settings":"00"}}]})", "expected 12 bytes"},
        {R"({"nodes":[{"macId":1,"identity":{"vendorId":1,"deviceType":1,"productCode":1},
                      "scanner":{"faultTable":{"x":1}}}]})", "not a MAC ID"},
        {R"({"nodes":[{"macId":1,"eds":"a.eds"}]})", "a.eds not found"},
        {R"({"faults":{"status":"sleepy"}})", "faults.status"},
        {R"({"bridge":{"ports":[{"number":1,"path":"20 66 24"}]}})", "bridge.ports[0].path"},
        {R"({"bridge":{"modules":[{"slot":1}]}})", "bridge.modules[0].identity"},
        {R"({"faults":{"delayMs":-1}})", "faults.delayMs"},
    };
    for (const Case& c : cases) {
        try {
            ParseNetworkDescription(c.json);
            ADD_FAILURE() << "accepted: " << c.json;
        } catch (const ConversionError& error) {
            EXPECT_TRUE(error.message().contains(QLatin1String(c.messagePart)))
                << error.message().toStdString() << " / expected " << c.messagePart;
        }
    }
}

TEST(ControlCommand, ChangesFaultsAtRunTime)
{
    SimNetwork network;
    network.addNode(SmallNode(5));
    ApplyControlCommand(network, QStringLiteral("delay all 20"));
    ApplyControlCommand(network, QStringLiteral("drop 5 on"));
    EXPECT_TRUE(network.nodeFaults[5].dropReplies);
    EXPECT_EQ(network.nodeFaults[5].delayMs, 20) << "a node's faults start from the network's";
    ApplyControlCommand(network, QStringLiteral("error 0x05 0x0C"));
    EXPECT_EQ(network.nodeFaults[5].errorStatus, std::optional<std::uint8_t>(0x0C));
    ApplyControlCommand(network, QStringLiteral("status  busoff"));
    EXPECT_EQ(network.adapterStatus(63), status::BusOff);
    ApplyControlCommand(network, QStringLiteral("silent on"));
    ApplyControlCommand(network, QStringLiteral("resource on"));
    EXPECT_TRUE(network.silentAdapter && network.bridgeResourceUnavailable);
    ApplyControlCommand(network, QStringLiteral("clear"));
    EXPECT_TRUE(network.nodeFaults.empty());
    EXPECT_EQ(network.adapterStatus(63), status::Online);
    EXPECT_FALSE(network.silentAdapter);

    for (const char* bad : {"", "drop", "drop 64 on", "drop 5 maybe", "delay 5 -1", "error all 256",
                            "status asleep", "shout"})
        EXPECT_THROW(ApplyControlCommand(network, QString::fromLatin1(bad)), ConversionError) << bad;
}

}  // namespace
