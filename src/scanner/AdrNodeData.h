#pragma once

#include <QByteArray>
#include <QList>

#include <array>
#include <cstdint>

namespace corvix {

// One explicit request the scanner replays to a replaced node.
struct TADRNodeParameterRecord {
    uint16_t Sequence = 0;  // 1-based
    uint8_t Service = 0;    // CIP service code
    uint16_t PathLength = 0;
    QByteArray Path;  // the request path
    uint16_t DataLength = 0;
    QByteArray Data;

    bool operator==(const TADRNodeParameterRecord&) const = default;
};

struct TADRNodeRecord {
    bool ConfigurationRecovery = false;
    bool AddressRecovery = false;
    uint16_t ParameterCount = 0;
    QList<TADRNodeParameterRecord> Parameters;  // ParameterCount records

    bool operator==(const TADRNodeRecord&) const = default;
};

// The automatic device replacement data of a scanner: the header and one record per node
// (Nodes[i] is MAC ID i).
struct TADRNodeDataType {
    uint16_t AdrSpaceTotal = 0;  // bytes of ADR memory in the scanner
    uint16_t AdrSpaceUsed = 0;   // bytes in use
    // True while the number is our own estimate rather than read from the scanner.
    bool TotalIsEstimate = false;
    bool UsedIsEstimate = false;
    bool AutoAddressRecovery = false;  // "Enable Auto-Address Recovery"
    std::array<TADRNodeRecord, 64> Nodes{};

    bool operator==(const TADRNodeDataType&) const = default;
};

}  // namespace corvix
