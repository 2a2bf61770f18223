#pragma once

#include <QString>

#include <cstdint>

namespace corvix {

// A linear address view of a memory table, as the scanner's EDS file defines it: the mapping
// window labels row r with Prefix + hex(FirstAddress + r - 1) + Suffix. The spare numbers have
// no use here and are only kept.
struct THitachiLinearMappingTable {
    QString Name;
    int32_t SpareNumberA = 0;
    int32_t FirstAddress = 0;
    int32_t SpareNumberB = 0;
    int32_t SpareNumberC = 0;
    QString Prefix;
    QString Suffix;

    bool operator==(const THitachiLinearMappingTable&) const = default;
};

}  // namespace corvix
