#include "line/RequestSlots.h"

namespace corvix::serial {

int RequestSlotTable::allocate(std::int64_t nowMs)
{
    RequestSlot& request = slot(RequestSlotNumber);
    if (request.inUse)
        return -1;
    request.inUse = true;
    ++inProgress_;
    request.number = RequestSlotNumber;
    request.sentAtMs = nowMs;
    return RequestSlotNumber;
}

void RequestSlotTable::free(int number)
{
    RequestSlot& request = slot(number);
    if (request.inUse)
        --inProgress_;
    request = RequestSlot{};
}

void RequestSlotTable::freeOfMac(std::uint8_t macId)
{
    if (slot(RequestSlotNumber).macId == macId)
        free(RequestSlotNumber);
}

bool RequestSlotTable::releaseAged(std::int64_t nowMs)
{
    const RequestSlot& request = slot(RequestSlotNumber);
    if (inProgress_ == 0 || !request.inUse || nowMs - request.sentAtMs < ReleaseAgeMs)
        return false;
    freeOfMac(request.macId);
    return true;
}

}  // namespace corvix::serial
