#pragma once

#include "core/SimNetwork.h"

namespace corvix::sim {

// One request delivered to a node and what became of it, as a front end saw it.
struct NodeExchange {
    std::uint8_t macId = 0;
    CipRequest request;
    SimNetwork::Result result;
};

// The verbose log line of an exchange, decoded:
//   serial MAC 5 Get_Attribute_Single (0E) class 0F instance 3 attribute 1 -> 8E data 32 00
//   enip MAC 5 Set_Attribute_Single (10) class 0F instance 3 attribute 1 data 00 00
//       -> 94 status 09 Invalid attribute value
// frontEnd names the front end ("serial", "enip").
QString DescribeExchange(const QString& frontEnd, const NodeExchange& exchange);

}  // namespace corvix::sim
