#pragma once

#include "core/SimNetwork.h"

#include <QByteArray>

namespace corvix::sim::test {

// "0A 00" -> bytes; the tests write every frame and reply as hex text.
inline QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

inline CipRequest Request(std::uint8_t service, std::uint16_t classId, std::uint16_t instance,
                          std::optional<std::uint8_t> attribute = std::nullopt,
                          const char* data = "")
{
    return CipRequest{service, classId, instance, attribute, Hex(data)};
}

// A small node: identity, two parameters (one read-only, one with enumeration strings and
// limits) and one group.
inline SimNode SmallNode(std::uint8_t macId = 5)
{
    SimNode node;
    node.macId = macId;
    node.dataRate = 2;
    node.identity = {0x0001, 0x0002, 0x0011, 2, 3, 0x0030, 0x12345678, QStringLiteral("Drive")};
    SimParameter speed;
    speed.instance = 1;
    speed.name = QStringLiteral("Speed");
    speed.units = QStringLiteral("rpm");
    speed.dataType = 0xC3;  // INT
    speed.dataSize = 2;
    speed.value = Hex("0A 00");
    speed.minimum = Hex("9C FF");  // -100
    speed.maximum = Hex("64 00");  // 100
    speed.defaultValue = Hex("00 00");
    speed.enumStrings = {QStringLiteral("Off"), QStringLiteral("On")};
    SimParameter current;
    current.instance = 2;
    current.name = QStringLiteral("Current");
    current.dataType = 0xC6;  // USINT
    current.dataSize = 1;
    current.value = Hex("07");
    current.readOnly = true;
    node.parameters.descriptor = 0x0004;
    node.parameters.configAssembly = 0x0064;
    node.parameters.parameters = {speed, current};
    node.parameters.groups = {SimGroup{QStringLiteral("Setup"), {1, 2}}};
    return node;
}

inline SimNode SmallScanner(std::uint8_t macId = 0)
{
    SimNode node;
    node.macId = macId;
    node.identity = {0x0001, 0x000C, 0x005A, 4, 2, 0, 0x00000100, QStringLiteral("Scanner")};
    node.scanner.emplace();
    return node;
}

}  // namespace corvix::sim::test
