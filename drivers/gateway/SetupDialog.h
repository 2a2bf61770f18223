#pragma once

#include "gateway/GatewaySettings.h"

namespace corvix::gateway {

// Shows the "Browse for network" dialog modally; the chosen bridge and route on OK, nothing on
// Cancel or in a process without widgets.
std::optional<GatewaySettings> RunSetupDialog(void* ownerWindow);

}  // namespace corvix::gateway
