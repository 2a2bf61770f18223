#pragma once

#include "device/DeviceNetDataTypes.h"

#include <memory>

namespace corvix {

// The data type an EDS parameter entry names by its data type field: the DeviceNet EDS number
// (1..25) or the CIP type code (0xC1..0xDB, written in decimal or hexadecimal). Builds it from
// the definition, raising what the type's construction raises; nullptr for a code that names no
// supported type (ULINT and LWORD included).
std::unique_ptr<TDeviceNetDataTypes> CreateDeviceNetDataType(int64_t edsCode,
                                                             const DataTypeDefinition& definition);

// Whether the code names BOOL (4 or 0xC1).
bool IsBoolDataTypeCode(int64_t edsCode);

// Whether the code names a character string type (STRING, STRING2, STRINGN, SHORT_STRING).
bool IsStringDataTypeCode(int64_t edsCode);

}  // namespace corvix
