#pragma once

#include "core/EdsSource.h"
#include "core/SimNode.h"

#include <QJsonObject>

namespace corvix::sim {

// Fills a node from its EDS file: the identity (vendor, device type, product code, revisions,
// product name), the Parameter object with every parameter the program reads from the file and
// the Parameter Group object; a scanner's file makes the node a scanner. Values are served in
// network form as the parameter's data type converts them.
//
// values holds initial parameter values by instance ("3": "150") as raw texts: the decimal
// integer that travels on the network (for REAL and LREAL the floating-point number, for texts
// the text itself), not the scaled number or enumeration string the user sees. A value must lie
// within the parameter's limits. Raises ConversionError naming where for a bad value or an
// instance the file does not define.
void FillNodeFromEds(SimNode& node, const EdsSource& eds, const QJsonObject& values,
                     const QString& where);

// The identity an EDS file gives; minor revision 1 when the file has none.
SimIdentity IdentityFromEds(const EdsSource& eds);

}  // namespace corvix::sim
