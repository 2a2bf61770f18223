#include "core/SimNetwork.h"

namespace corvix::sim {

void SimNetwork::addNode(SimNode node)
{
    const auto mac = node.macId;
    nodes_.insert_or_assign(mac, std::move(node));
}

SimNode* SimNetwork::node(std::uint8_t macId)
{
    auto it = nodes_.find(macId);
    return it == nodes_.end() ? nullptr : &it->second;
}

const NodeFaults& SimNetwork::faultsOf(std::uint8_t macId) const
{
    auto it = nodeFaults.find(macId);
    return it == nodeFaults.end() ? networkFaults : it->second;
}

SimNetwork::Result SimNetwork::request(std::uint8_t macId, const CipRequest& request)
{
    SimNode* target = node(macId);
    if (!target)
        return {};
    const NodeFaults& faults = faultsOf(macId);
    if (faults.dropReplies)
        return {Outcome::Dropped, {}, 0};
    if (faults.errorStatus)
        return {Outcome::Replied, CipReply::error(*faults.errorStatus), faults.delayMs};

    Result result{Outcome::Replied, target->handle(request), faults.delayMs};
    if (target->requestedMacId) {
        const std::uint8_t newMac = *target->requestedMacId;
        target->requestedMacId.reset();
        if (newMac != macId) {
            if (nodes_.count(newMac)) {
                // A second node at that address would fail its duplicate MAC ID check and stay
                // off the bus; the simulated node refuses the change instead.
                result.reply = CipReply::error(cip::DeviceStateConflict);
            } else {
                SimNode moved = std::move(*target);
                nodes_.erase(macId);
                moved.macId = newMac;
                nodes_.insert_or_assign(newMac, std::move(moved));
            }
        }
    }
    return result;
}

std::uint16_t SimNetwork::adapterStatus(std::uint8_t adapterMacId) const
{
    if (statusOverride)
        return *statusOverride;
    return nodes_.count(adapterMacId) ? status::DuplicateMac : status::Online;
}

}  // namespace corvix::sim
