#pragma once

#include "core/SimNode.h"

#include <map>

namespace corvix::sim {

// Faults that apply to one node or, as the network default, to every node.
struct NodeFaults {
    bool dropReplies = false;
    int delayMs = 0;
    std::optional<std::uint8_t> errorStatus;  // every request answered with this general status
};

// Adapter status words of the serial line (the same codes the drivers report).
namespace status {
constexpr std::uint16_t Online = 4;
constexpr std::uint16_t BusOff = 8;
constexpr std::uint16_t DuplicateMac = 16;
constexpr std::uint16_t NoPower = 64;
}  // namespace status

// The simulated bus: up to 64 nodes by MAC ID plus the faults injected into it.
class SimNetwork {
public:
    enum class Outcome { Replied, NoNode, Dropped };
    struct Result {
        Outcome outcome = Outcome::NoNode;
        CipReply reply;
        int delayMs = 0;
    };

    void addNode(SimNode node);
    SimNode* node(std::uint8_t macId);
    const std::map<std::uint8_t, SimNode>& nodes() const { return nodes_; }

    // Delivers one explicit request to the node at macId, applying the faults. A successful Set
    // of the DeviceNet MAC ID moves the node after its reply.
    Result request(std::uint8_t macId, const CipRequest& request);

    NodeFaults networkFaults;
    std::map<std::uint8_t, NodeFaults> nodeFaults;
    bool silentAdapter = false;
    std::optional<std::uint16_t> statusOverride;  // bus off, no power ... instead of online
    bool bridgeResourceUnavailable = false;

    // The status word the serial adapter reports while online at its own MAC ID.
    std::uint16_t adapterStatus(std::uint8_t adapterMacId) const;

private:
    const NodeFaults& faultsOf(std::uint8_t macId) const;

    std::map<std::uint8_t, SimNode> nodes_;
};

}  // namespace corvix::sim
