#include "core/ScannerObjects.h"

namespace corvix::sim {

namespace {

constexpr std::uint8_t CloseScanList = 0x50;
constexpr std::uint16_t MemberCount = 0x7FFF;
constexpr std::uint8_t ProgramModeByte = 0x50;

CipReply ByteReply(const CipRequest& request, int value)
{
    return CipReply::success(request, QByteArray(1, static_cast<char>(value)));
}

// Checks the length of a one-byte Set and returns the new value, or the error reply.
std::optional<CipReply> CheckSingleByte(const CipRequest& request)
{
    if (request.data.isEmpty())
        return CipReply::error(cip::NotEnoughData);
    if (request.data.size() > 1)
        return CipReply::error(cip::TooMuchData);
    return std::nullopt;
}

CipReply HandleSettings(SimScanner& s, std::uint8_t ownMacId, const CipRequest& request)
{
    if (request.instance != 1)
        return CipReply::error(cip::ObjectDoesNotExist);
    const int attribute = request.attribute.value_or(0);
    switch (request.service) {
    case cip::GetAttributesAll:
        return CipReply::success(request, s.settings);
    case cip::SetAttributesAll:
        if (s.runMode)
            return CipReply::error(cip::DeviceStateConflict);
        if (request.data.size() != SimScanner::SettingsSize)
            return CipReply::error(request.data.size() < SimScanner::SettingsSize
                                       ? cip::NotEnoughData
                                       : cip::TooMuchData);
        s.settings = request.data;
        return CipReply::success(request);
    case cip::GetAttributeSingle:
        if (attribute == 5)
            return ByteReply(request, s.autoAddressRecovery ? 1 : 0);
        if (attribute == 0x0D)
            return ByteReply(request, s.runMode ? 1 : 0);
        if (attribute == 0x0C) {
            QByteArray table(SimScanner::Nodes, '\0');
            for (int mac = 0; mac < SimScanner::Nodes; ++mac)
                table[mac] = static_cast<char>(s.faultTable[mac]);
            if (ownMacId < SimScanner::Nodes)
                table[ownMacId] = static_cast<char>(s.runMode ? 0 : ProgramModeByte);
            return CipReply::success(request, table);
        }
        return CipReply::error(cip::AttributeNotSupported);
    case cip::SetAttributeSingle:
        if (attribute == 5) {
            if (auto error = CheckSingleByte(request))
                return *error;
            if (static_cast<std::uint8_t>(request.data[0]) > 1)
                return CipReply::error(cip::InvalidAttributeValue);
            s.autoAddressRecovery = request.data[0] == 1;
            return CipReply::success(request);
        }
        return attribute == 0x0C || attribute == 0x0D
                   ? CipReply::error(cip::AttributeNotSettable)
                   : CipReply::error(cip::AttributeNotSupported);
    default:
        return CipReply::error(cip::ServiceNotSupported);
    }
}

CipReply HandleScanList(SimScanner& s, const CipRequest& request)
{
    if (request.instance == 0) {
        if (request.service == CloseScanList)
            return CipReply::success(request);
        return CipReply::error(cip::ServiceNotSupported);
    }
    if (request.instance > SimScanner::Nodes)
        return CipReply::error(cip::ObjectDoesNotExist);
    const int node = request.instance - 1;
    const int attribute = request.attribute.value_or(0);
    const bool isWrite = request.service == cip::SetAttributesAll
                         || request.service == cip::SetAttributeSingle;
    if (isWrite && s.runMode)
        return CipReply::error(cip::DeviceStateConflict);
    switch (request.service) {
    case cip::GetAttributesAll:
        return CipReply::success(request, s.scanList[node]);
    case cip::SetAttributesAll:
        // The record written carries one byte more than the record read; the scanner keeps the
        // common part.
        if (request.data.size() != SimScanner::ScanRecordSize + 1)
            return CipReply::error(request.data.size() <= SimScanner::ScanRecordSize
                                       ? cip::NotEnoughData
                                       : cip::TooMuchData);
        s.scanList[node] = request.data.left(SimScanner::ScanRecordSize);
        return CipReply::success(request);
    case cip::GetAttributeSingle:
        if (attribute == 0x17)
            return ByteReply(request, s.addressRecovery[node] ? 1 : 0);
        if (attribute == 0x18)
            return ByteReply(request, s.quickConnect[node] ? 1 : 0);
        return CipReply::error(cip::AttributeNotSupported);
    case cip::SetAttributeSingle: {
        if (attribute != 0x17 && attribute != 0x18)
            return CipReply::error(cip::AttributeNotSupported);
        if (auto error = CheckSingleByte(request))
            return *error;
        const auto value = static_cast<std::uint8_t>(request.data[0]);
        if (value > 1)
            return CipReply::error(cip::InvalidAttributeValue);
        (attribute == 0x17 ? s.addressRecovery : s.quickConnect)[node] = value == 1;
        return CipReply::success(request);
    }
    default:
        return CipReply::error(cip::ServiceNotSupported);
    }
}

CipReply HandleAdrClass(SimScanner& s, const CipRequest& request)
{
    QByteArray out;
    switch (request.service) {
    case cip::Reset:
        for (int node = 0; node < SimScanner::Nodes; ++node) {
            s.configRecovery[node] = 0;
            s.adrRecords[node].clear();
        }
        return CipReply::success(request);
    case cip::Save:
        return CipReply::success(request);
    case cip::GetAttributeSingle:
        if (request.attribute == 8)
            AppendUint16(out, s.adrSpaceTotal);
        else if (request.attribute == 9)
            AppendUint16(out, s.adrSpaceUsed());
        else
            return CipReply::error(cip::AttributeNotSupported);
        return CipReply::success(request, out);
    default:
        return CipReply::error(cip::ServiceNotSupported);
    }
}

CipReply HandleAdrMember(SimScanner& s, int node, const CipRequest& request)
{
    if (request.data.size() < 2)
        return CipReply::error(cip::NotEnoughData);
    const auto member = static_cast<std::uint16_t>(static_cast<std::uint8_t>(request.data[0])
                                                   | static_cast<std::uint8_t>(request.data[1]) << 8);
    QList<QByteArray>& records = s.adrRecords[node];
    QByteArray out;
    if (request.service == cip::GetMember) {
        if (request.data.size() > 2)
            return CipReply::error(cip::TooMuchData);
        if (member == MemberCount) {
            AppendUint16(out, static_cast<std::uint16_t>(records.size()));
            return CipReply::success(request, out);
        }
        if (member < 1 || member > records.size())
            return CipReply::error(cip::ObjectDoesNotExist);
        return CipReply::success(request, records[member - 1]);
    }
    // Set member: the member number, then the record; members are filled in order from 1.
    const QByteArray record = request.data.mid(2);
    if (record.isEmpty())
        return CipReply::error(cip::NotEnoughData);
    if (member < 1 || member > records.size() + 1)
        return CipReply::error(cip::InvalidParameter);
    const qsizetype replaced = member <= records.size() ? records[member - 1].size() : 0;
    if (s.adrSpaceUsed() - replaced + record.size() > s.adrSpaceTotal)
        return CipReply::error(cip::ResourceUnavailable);
    if (member <= records.size())
        records[member - 1] = record;
    else
        records.append(record);
    AppendUint16(out, member);
    return CipReply::success(request, out);
}

CipReply HandleAdr(SimScanner& s, const CipRequest& request)
{
    if (request.instance == 0)
        return HandleAdrClass(s, request);
    if (request.instance > SimScanner::Nodes)
        return CipReply::error(cip::ObjectDoesNotExist);
    const int node = request.instance - 1;
    const int attribute = request.attribute.value_or(0);
    if (s.runMode && (request.service == cip::SetAttributeSingle || request.service == cip::SetMember))
        return CipReply::error(cip::DeviceStateConflict);
    if (attribute == 4 && (request.service == cip::GetMember || request.service == cip::SetMember))
        return HandleAdrMember(s, node, request);
    if (attribute != 2 && attribute != 4)
        return CipReply::error(cip::AttributeNotSupported);
    if (request.service == cip::GetAttributeSingle && attribute == 2)
        return ByteReply(request, s.configRecovery[node]);
    if (request.service == cip::SetAttributeSingle && attribute == 2) {
        if (auto error = CheckSingleByte(request))
            return *error;
        const auto value = static_cast<std::uint8_t>(request.data[0]);
        if (value > 2 || (value == 2 && s.refuseRecoveryTwo))
            return CipReply::error(cip::InvalidAttributeValue);
        s.configRecovery[node] = value;
        return CipReply::success(request);
    }
    return CipReply::error(cip::ServiceNotSupported);
}

}  // namespace

SimScanner::SimScanner()
{
    scanList.fill(QByteArray(ScanRecordSize, '\0'));
    for (int node = 0; node < Nodes; ++node)
        scanList[node][2] = static_cast<char>(node);  // each entry names its own MAC ID
}

std::uint16_t SimScanner::adrSpaceUsed() const
{
    qsizetype used = 0;
    for (const auto& records : adrRecords)
        for (const auto& record : records)
            used += record.size();
    return static_cast<std::uint16_t>(std::min<qsizetype>(used, 0xFFFF));
}

CipReply HandleScannerRequest(SimScanner& scanner, std::uint8_t ownMacId, const CipRequest& request)
{
    switch (request.classId) {
    case 0x90: return HandleSettings(scanner, ownMacId, request);
    case 0x91: return HandleScanList(scanner, request);
    case 0x8F: return HandleAdr(scanner, request);
    default: return CipReply::error(cip::PathDestinationUnknown);
    }
}

}  // namespace corvix::sim
