// Feeds arbitrary bytes to the simulator's readers of its input files: the JSON network
// description and the [Port] entries of a bridge's EDS file.

#include "app/CorvixError.h"
#include "core/BridgeDescription.h"
#include "core/NetworkDescription.h"
#include "library/EdsNormaliser.h"

#include <cstddef>
#include <cstdint>

using namespace corvix;
using namespace corvix::sim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        ParseNetworkDescription(bytes);
    } catch (const CorvixError&) {
    }
    try {
        ReadEdsPorts(NormaliseEdsText(bytes));
    } catch (const CorvixError&) {
    }
    return 0;
}
