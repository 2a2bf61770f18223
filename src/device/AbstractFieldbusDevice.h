#pragma once

namespace corvix {

// The fieldbus-neutral base of a node in a network document. DeviceNet is the only fieldbus we
// have; the base exists so that the network document can hold nodes without naming the bus.
class TAbstractFieldbusdevice {
public:
    virtual ~TAbstractFieldbusdevice() = default;

protected:
    TAbstractFieldbusdevice() = default;
};

}  // namespace corvix
