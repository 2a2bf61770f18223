#include "gateway/SetupDialog.h"

#include <QCoreApplication>

#include <cstdio>

namespace corvix::gateway {

std::optional<GatewaySettings> RunSetupDialog(void*)
{
    std::fputs("GatewayDriver: no bridge chosen\n", stderr);
    return std::nullopt;
}

}  // namespace corvix::gateway
