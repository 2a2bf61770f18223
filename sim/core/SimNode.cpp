#include "core/SimNode.h"

namespace corvix::sim {

namespace {

QByteArray IdentityAttribute(const SimIdentity& id, int attribute)
{
    QByteArray out;
    switch (attribute) {
    case 1: AppendUint16(out, id.vendorId); break;
    case 2: AppendUint16(out, id.deviceType); break;
    case 3: AppendUint16(out, id.productCode); break;
    case 4:
        out.append(static_cast<char>(id.majorRevision));
        out.append(static_cast<char>(id.minorRevision));
        break;
    case 5: AppendUint16(out, id.status); break;
    case 6: AppendUint32(out, id.serialNumber); break;
    case 7: AppendShortString(out, id.productName); break;
    default: break;
    }
    return out;
}

constexpr int LastIdentityAttribute = 7;
constexpr int MaxMacId = 63;
constexpr int MaxDataRate = 2;

}  // namespace

CipReply SimNode::handle(const CipRequest& request)
{
    switch (request.classId) {
    case 0x01: return handleIdentity(request);
    case 0x03: return handleDeviceNet(request);
    case 0x0F:
    case 0x10:
        if (parameters.parameters.isEmpty())
            return CipReply::error(cip::PathDestinationUnknown);
        return request.classId == 0x0F ? HandleParameterRequest(parameters, request)
                                       : HandleGroupRequest(parameters, request);
    case 0x90:
    case 0x91:
    case 0x8F:
        if (!scanner)
            return CipReply::error(cip::PathDestinationUnknown);
        return HandleScannerRequest(*scanner, macId, request);
    default:
        // Objects the node has only as far as its parameters link to them.
        if (SimParameter* linked = parameters.findLinked(request))
            return HandleLinkedRequest(*linked, request);
        return CipReply::error(cip::PathDestinationUnknown);
    }
}

CipReply SimNode::handleIdentity(const CipRequest& request) const
{
    if (request.instance != 1)
        return CipReply::error(request.instance == 0 ? cip::ServiceNotSupported
                                                     : cip::ObjectDoesNotExist);
    const int attribute = request.attribute.value_or(0);
    switch (request.service) {
    case cip::GetAttributesAll: {
        QByteArray all;
        for (int a = 1; a <= LastIdentityAttribute; ++a)
            all.append(IdentityAttribute(identity, a));
        return CipReply::success(request, all);
    }
    case cip::GetAttributeSingle:
        if (attribute < 1 || attribute > LastIdentityAttribute)
            return CipReply::error(cip::AttributeNotSupported);
        return CipReply::success(request, IdentityAttribute(identity, attribute));
    case cip::SetAttributeSingle:
        return attribute >= 1 && attribute <= LastIdentityAttribute
                   ? CipReply::error(cip::AttributeNotSettable)
                   : CipReply::error(cip::AttributeNotSupported);
    case cip::Reset:
        return CipReply::success(request);
    default:
        return CipReply::error(cip::ServiceNotSupported);
    }
}

CipReply SimNode::handleDeviceNet(const CipRequest& request)
{
    if (request.instance == 0) {
        if (request.service == cip::Save)
            return CipReply::success(request);
        return CipReply::error(cip::ServiceNotSupported);
    }
    if (request.instance != 1)
        return CipReply::error(cip::ObjectDoesNotExist);
    const int attribute = request.attribute.value_or(0);
    if (attribute != 1 && attribute != 2 && attribute != 0x0A)
        return CipReply::error(cip::AttributeNotSupported);
    const std::uint8_t current = attribute == 1 ? macId : attribute == 2 ? dataRate : quickConnect;
    if (request.service == cip::GetAttributeSingle)
        return CipReply::success(request, QByteArray(1, static_cast<char>(current)));
    if (request.service != cip::SetAttributeSingle)
        return CipReply::error(cip::ServiceNotSupported);
    if (request.data.isEmpty())
        return CipReply::error(cip::NotEnoughData);
    if (request.data.size() > 1)
        return CipReply::error(cip::TooMuchData);
    const auto value = static_cast<std::uint8_t>(request.data[0]);
    const int limit = attribute == 1 ? MaxMacId : attribute == 2 ? MaxDataRate : 1;
    if (value > limit)
        return CipReply::error(cip::InvalidAttributeValue);
    if (attribute == 1)
        requestedMacId = value;
    else if (attribute == 2)
        dataRate = value;  // takes effect at the node's next power-up on a real bus
    else
        quickConnect = value == 1;
    return CipReply::success(request);
}

QByteArray SimNode::browseRecord() const
{
    QByteArray record(1, static_cast<char>(macId));
    AppendUint16(record, identity.vendorId);
    AppendUint16(record, identity.deviceType);
    AppendUint16(record, identity.productCode);
    record.append(static_cast<char>(identity.majorRevision));
    record.append(static_cast<char>(identity.minorRevision));
    AppendUint32(record, identity.serialNumber);
    return record;
}

}  // namespace corvix::sim
