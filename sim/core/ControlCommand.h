#pragma once

#include "core/SimNetwork.h"

namespace corvix::sim {

// Changes the injected faults at run time, one text command a line:
//   drop  <mac|all> on|off      delay <mac|all> <ms>      error <mac|all> <status|off>
//   silent on|off               status online|busoff|duplicate|nopower
//   resource on|off             clear
// Returns a confirmation text; raises ConversionError for a command it does not understand.
QString ApplyControlCommand(SimNetwork& network, const QString& line);

}  // namespace corvix::sim
