#pragma once

#include <CorvixDriverContract.h>

namespace corvix {

// The six settings functions a driver is handed so it can keep values of its own in the
// program's settings store. Names and texts are Windows-1252.
int32_t DriverReadInteger(const char* name, int32_t defaultValue);
void DriverWriteInteger(const char* name, int32_t value);
int32_t DriverReadBool(const char* name);
void DriverWriteBool(const char* name, int32_t value);
int32_t DriverReadString(const char* name, char* result, uint32_t resultSize);
void DriverWriteString(const char* name, const char* value);

}  // namespace corvix
