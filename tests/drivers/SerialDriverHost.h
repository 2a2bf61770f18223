#pragma once

// The real serial driver library, loaded the way the program loads it, and a host that records
// what the driver calls back.
#include "support/DriverHost.h"

namespace corvix::test {

struct SerialDriverLibrary : DriverLibrary {
    SerialDriverLibrary() : DriverLibrary(QStringLiteral(CORVIX_BIN_DIR "/Drivers/SerialAdapterDriver")) {}
};

using SerialHost = RecordingHost;

}  // namespace corvix::test
