#pragma once

#include "core/CipMessage.h"

#include <QList>
#include <QStringList>

#include <array>

namespace corvix::sim {

// One parameter of a simulated node as the Parameter object (class 0x0F) serves it. Values are
// kept in network form (little-endian, dataSize bytes); an empty minimum or maximum means no
// limit on that side.
struct SimParameter {
    std::uint16_t instance = 0;
    QString name;
    QString units;
    QString help;
    std::uint8_t dataType = 0xC7;  // CIP elementary type code (UINT)
    std::uint8_t dataSize = 2;
    QByteArray value;
    QByteArray minimum;
    QByteArray maximum;
    QByteArray defaultValue;
    bool readOnly = false;
    QStringList enumStrings;
    // Attributes 2 to 4 and 13 to 21 as the device's EDS file defines them; the descriptor bits
    // for enumeration strings and read-only follow the fields above in any case.
    QByteArray linkPath;
    std::uint16_t descriptor = 0;
    std::uint16_t multiplier = 1;
    std::uint16_t divisor = 1;
    std::uint16_t base = 1;
    std::int16_t offset = 0;
    std::array<std::uint16_t, 4> links{};  // multiplier, divisor, base and offset links
    std::uint8_t precision = 0;
};

// One instance of the Parameter Group object (class 0x10).
struct SimGroup {
    QString name;
    QList<std::uint16_t> members;
};

// Class-level data of the Parameter object.
struct SimParameterClass {
    std::uint16_t descriptor = 0;
    std::uint16_t configAssembly = 0;
    QList<SimParameter> parameters;
    QList<SimGroup> groups;

    const SimParameter* find(std::uint16_t instance) const;
    SimParameter* find(std::uint16_t instance);
    // The parameter whose link path names the request's class, instance and attribute (an AC
    // drive's output frequency lives in its drive object, say), or nullptr.
    SimParameter* findLinked(const CipRequest& request);
};

// Answers a request to class 0x0F or 0x10 of a node that has parameters.
CipReply HandleParameterRequest(SimParameterClass& params, const CipRequest& request);
CipReply HandleGroupRequest(const SimParameterClass& params, const CipRequest& request);
// Answers a request to the attribute a parameter's link path names: its value, read and written
// as through the Parameter object's value attribute.
CipReply HandleLinkedRequest(SimParameter& parameter, const CipRequest& request);

// The parameter's descriptor word (CIP Parameter object attribute 4).
std::uint16_t ParameterDescriptor(const SimParameter& parameter);

// True when value lies within the parameter's minimum and maximum, compared as the parameter's
// data type (signed, unsigned or floating point; texts and bit strings are not range checked).
bool ValueInRange(const SimParameter& parameter, const QByteArray& value);

}  // namespace corvix::sim
