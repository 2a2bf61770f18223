#include "core/ParameterObject.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace corvix::sim {

namespace {

// Descriptor bits of the CIP Parameter object.
constexpr std::uint16_t DescriptorEnumStrings = 0x0002;
constexpr std::uint16_t DescriptorReadOnly = 0x0010;

enum class Kind { Unsigned, Signed, Float, Unchecked };

// Both the DeviceNet codes 1..26 and the CIP elementary codes occur in the wild.
Kind KindOf(std::uint8_t dataType)
{
    switch (dataType) {
    case 0xC2: case 0xC3: case 0xC4: case 0xC5:  // SINT INT DINT LINT
    case 3: case 5: case 6: case 7:
        return Kind::Signed;
    case 0xCA: case 0xCB: case 11: case 12:  // REAL LREAL
        return Kind::Float;
    case 0xD0: case 0xD5: case 0xD9: case 0xDA:  // strings
    case 20: case 21: case 22: case 23:
        return Kind::Unchecked;
    default:
        return Kind::Unsigned;
    }
}

std::int64_t SignedOf(const QByteArray& bytes)
{
    std::uint64_t raw = 0;
    const auto size = std::min<qsizetype>(bytes.size(), 8);
    for (qsizetype i = size - 1; i >= 0; --i)
        raw = (raw << 8) | static_cast<std::uint8_t>(bytes[i]);
    if (size > 0 && size < 8 && (static_cast<std::uint8_t>(bytes[size - 1]) & 0x80))
        raw |= ~std::uint64_t{0} << (size * 8);
    return static_cast<std::int64_t>(raw);
}

std::uint64_t UnsignedOf(const QByteArray& bytes)
{
    std::uint64_t raw = 0;
    for (qsizetype i = std::min<qsizetype>(bytes.size(), 8) - 1; i >= 0; --i)
        raw = (raw << 8) | static_cast<std::uint8_t>(bytes[i]);
    return raw;
}

double FloatOf(const QByteArray& bytes)
{
    if (bytes.size() == 4)
        return qFromLittleEndian<float>(bytes.constData());
    if (bytes.size() == 8)
        return qFromLittleEndian<double>(bytes.constData());
    return 0.0;
}

template <typename T>
bool Within(T value, const QByteArray& minimum, const QByteArray& maximum, T (*of)(const QByteArray&))
{
    if (!minimum.isEmpty() && value < of(minimum))
        return false;
    return maximum.isEmpty() || !(of(maximum) < value);
}

// Bytes of the character count in front of a text value (SHORT_STRING, STRING); 0 for every
// other type, whose values have the parameter's data size.
int CountBytes(std::uint8_t dataType)
{
    switch (dataType) {
    case 0xDA: case 23: return 1;
    case 0xD0: case 20: return 2;
    default: return 0;
    }
}

QByteArray Sized(const QByteArray& bytes, std::uint8_t size)
{
    QByteArray result = bytes.left(size);
    result.append(QByteArray(size - result.size(), '\0'));
    return result;
}

// The attributes of one instance in CIP order; Get_Attributes_All is their concatenation from
// attribute 1 to 21.
QByteArray InstanceAttribute(const SimParameter& p, int attribute)
{
    QByteArray out;
    const bool isText = CountBytes(p.dataType) > 0;
    switch (attribute) {
    case 1: return isText ? p.value : Sized(p.value, p.dataSize);
    case 2: return QByteArray(1, static_cast<char>(p.linkPath.size()));
    case 3: return p.linkPath;
    case 4: AppendUint16(out, ParameterDescriptor(p)); return out;
    case 5: return QByteArray(1, static_cast<char>(p.dataType));
    case 6: return QByteArray(1, static_cast<char>(p.dataSize));
    case 7: AppendShortString(out, p.name); return out;
    case 8: AppendShortString(out, p.units); return out;
    case 9: AppendShortString(out, p.help); return out;
    // A text's limits are lengths; its default is a whole text, count first, like its value.
    case 10: return isText ? Sized(p.minimum, 1) : Sized(p.minimum, p.dataSize);
    case 11: return isText ? Sized(p.maximum, 1) : Sized(p.maximum, p.dataSize);
    case 12: return isText ? p.defaultValue : Sized(p.defaultValue, p.dataSize);
    case 13: AppendUint16(out, p.multiplier); return out;
    case 14: AppendUint16(out, p.divisor); return out;
    case 15: AppendUint16(out, p.base); return out;
    case 16: AppendUint16(out, static_cast<std::uint16_t>(p.offset)); return out;
    case 17: case 18: case 19: case 20:
        AppendUint16(out, p.links[static_cast<std::size_t>(attribute - 17)]); return out;
    case 21: return QByteArray(1, static_cast<char>(p.precision));
    default: return {};
    }
}

constexpr int LastInstanceAttribute = 21;

// A text travels as its count and that many characters, no more than its maximum length.
CipReply SetText(SimParameter& p, const CipRequest& request, int countBytes)
{
    if (request.data.size() < countBytes)
        return CipReply::error(cip::NotEnoughData);
    qsizetype count = static_cast<std::uint8_t>(request.data[0]);
    if (countBytes == 2)
        count |= static_cast<qsizetype>(static_cast<std::uint8_t>(request.data[1])) << 8;
    if (request.data.size() < countBytes + count)
        return CipReply::error(cip::NotEnoughData);
    if (request.data.size() > countBytes + count)
        return CipReply::error(cip::TooMuchData);
    // A maximum length of 0 is how many files say "no limit" for a text.
    const int maximum = p.maximum.isEmpty() ? 0 : static_cast<std::uint8_t>(p.maximum[0]);
    if (maximum > 0 && count > maximum)
        return CipReply::error(cip::InvalidAttributeValue);
    p.value = request.data;
    return CipReply::success(request);
}

CipReply SetValue(SimParameter& p, const CipRequest& request)
{
    if (p.readOnly)
        return CipReply::error(cip::AttributeNotSettable);
    if (const int countBytes = CountBytes(p.dataType))
        return SetText(p, request, countBytes);
    if (request.data.size() < p.dataSize)
        return CipReply::error(cip::NotEnoughData);
    if (request.data.size() > p.dataSize)
        return CipReply::error(cip::TooMuchData);
    if (!ValueInRange(p, request.data))
        return CipReply::error(cip::InvalidAttributeValue);
    p.value = request.data;
    return CipReply::success(request);
}

CipReply HandleInstance(SimParameter& p, const CipRequest& request)
{
    const int attribute = request.attribute.value_or(0);
    switch (request.service) {
    case cip::GetAttributesAll: {
        QByteArray all;
        for (int a = 1; a <= LastInstanceAttribute; ++a)
            all.append(InstanceAttribute(p, a));
        return CipReply::success(request, all);
    }
    case cip::GetAttributeSingle:
        if (attribute < 1 || attribute > LastInstanceAttribute)
            return CipReply::error(cip::AttributeNotSupported);
        return CipReply::success(request, InstanceAttribute(p, attribute));
    case cip::SetAttributeSingle:
        if (attribute < 1 || attribute > LastInstanceAttribute)
            return CipReply::error(cip::AttributeNotSupported);
        if (attribute != 1)
            return CipReply::error(cip::AttributeNotSettable);
        return SetValue(p, request);
    case cip::GetEnumString: {
        // The string index travels as request data in CIP; tools also put it in the attribute
        // segment, so both are accepted.
        const int index = request.data.isEmpty() ? attribute : static_cast<std::uint8_t>(request.data[0]);
        if (index >= p.enumStrings.size())
            return CipReply::error(cip::InvalidParameter);
        QByteArray text;
        AppendShortString(text, p.enumStrings[index]);
        return CipReply::success(request, text);
    }
    case cip::Save:
        return CipReply::success(request);
    default:
        return CipReply::error(cip::ServiceNotSupported);
    }
}

std::uint16_t MaxInstance(const SimParameterClass& params)
{
    std::uint16_t max = 0;
    for (const auto& p : params.parameters)
        max = std::max(max, p.instance);
    return max;
}

CipReply HandleClass(const SimParameterClass& params, const CipRequest& request)
{
    if (request.service == cip::Save)
        return CipReply::success(request);
    if (request.service != cip::GetAttributeSingle)
        return CipReply::error(cip::ServiceNotSupported);
    QByteArray out;
    switch (request.attribute.value_or(0)) {
    case 1: AppendUint16(out, 1); break;  // revision
    case 2: AppendUint16(out, MaxInstance(params)); break;
    case 8: AppendUint16(out, params.descriptor); break;
    case 9: AppendUint16(out, params.configAssembly); break;
    default: return CipReply::error(cip::AttributeNotSupported);
    }
    return CipReply::success(request, out);
}

}  // namespace

const SimParameter* SimParameterClass::find(std::uint16_t instance) const
{
    for (const auto& p : parameters)
        if (p.instance == instance)
            return &p;
    return nullptr;
}

SimParameter* SimParameterClass::find(std::uint16_t instance)
{
    return const_cast<SimParameter*>(std::as_const(*this).find(instance));
}

std::uint16_t ParameterDescriptor(const SimParameter& parameter)
{
    std::uint16_t descriptor = parameter.descriptor;
    if (!parameter.enumStrings.isEmpty())
        descriptor |= DescriptorEnumStrings;
    if (parameter.readOnly)
        descriptor |= DescriptorReadOnly;
    return descriptor;
}

bool ValueInRange(const SimParameter& parameter, const QByteArray& value)
{
    switch (KindOf(parameter.dataType)) {
    case Kind::Signed:
        return Within<std::int64_t>(SignedOf(value), parameter.minimum, parameter.maximum, SignedOf);
    case Kind::Unsigned:
        return Within<std::uint64_t>(UnsignedOf(value), parameter.minimum, parameter.maximum,
                                     UnsignedOf);
    case Kind::Float:
        return Within<double>(FloatOf(value), parameter.minimum, parameter.maximum, FloatOf);
    case Kind::Unchecked:
        return true;
    }
    return true;
}

namespace {

// A packed DeviceNet path: class, instance and attribute, each as an 8-bit segment or as a
// 16-bit one with its two bytes low first.
std::optional<CipRequest> ParseLinkPath(const QByteArray& path)
{
    CipRequest target;
    qsizetype pos = 0;
    const auto segment = [&](std::uint8_t eightBit, std::uint16_t& value) {
        if (pos < path.size() && std::uint8_t(path[pos]) == eightBit && pos + 1 < path.size()) {
            value = std::uint8_t(path[pos + 1]);
            pos += 2;
            return true;
        }
        if (pos < path.size() && std::uint8_t(path[pos]) == eightBit + 1 && pos + 2 < path.size()) {
            value = std::uint16_t(std::uint8_t(path[pos + 1]) | std::uint8_t(path[pos + 2]) << 8);
            pos += 3;
            return true;
        }
        return false;
    };
    std::uint16_t attribute = 0;
    if (!segment(0x20, target.classId) || !segment(0x24, target.instance) ||
        !segment(0x30, attribute) || pos != path.size() || attribute > 0xFF)
        return std::nullopt;
    target.attribute = std::uint8_t(attribute);
    return target;
}

}  // namespace

SimParameter* SimParameterClass::findLinked(const CipRequest& request)
{
    for (SimParameter& p : parameters) {
        const std::optional<CipRequest> target = ParseLinkPath(p.linkPath);
        if (target && target->classId == request.classId && target->instance == request.instance &&
            target->attribute == request.attribute)
            return &p;
    }
    return nullptr;
}

CipReply HandleLinkedRequest(SimParameter& parameter, const CipRequest& request)
{
    if (request.service != cip::GetAttributeSingle && request.service != cip::SetAttributeSingle)
        return CipReply::error(cip::ServiceNotSupported);
    CipRequest valueRequest = request;
    valueRequest.classId = 0x0F;
    valueRequest.instance = parameter.instance;
    valueRequest.attribute = 1;
    return HandleInstance(parameter, valueRequest);
}

CipReply HandleParameterRequest(SimParameterClass& params, const CipRequest& request)
{
    if (request.instance == 0)
        return HandleClass(params, request);
    SimParameter* p = params.find(request.instance);
    if (!p)
        return CipReply::error(cip::ObjectDoesNotExist);
    return HandleInstance(*p, request);
}

CipReply HandleGroupRequest(const SimParameterClass& params, const CipRequest& request)
{
    const int attribute = request.attribute.value_or(0);
    QByteArray out;
    if (request.instance == 0) {
        if (request.service != cip::GetAttributeSingle)
            return CipReply::error(cip::ServiceNotSupported);
        if (attribute == 1)
            AppendUint16(out, 1);
        else if (attribute == 2)
            AppendUint16(out, static_cast<std::uint16_t>(params.groups.size()));
        else
            return CipReply::error(cip::AttributeNotSupported);
        return CipReply::success(request, out);
    }
    if (request.instance > params.groups.size())
        return CipReply::error(cip::ObjectDoesNotExist);
    const SimGroup& group = params.groups[request.instance - 1];
    const int lastAttribute = 2 + static_cast<int>(group.members.size());
    if (request.service == cip::GetAttributesAll) {
        AppendShortString(out, group.name);
        AppendUint16(out, static_cast<std::uint16_t>(group.members.size()));
        for (auto member : group.members)
            AppendUint16(out, member);
        return CipReply::success(request, out);
    }
    if (request.service == cip::SetAttributeSingle)
        return attribute >= 1 && attribute <= lastAttribute
                   ? CipReply::error(cip::AttributeNotSettable)
                   : CipReply::error(cip::AttributeNotSupported);
    if (request.service != cip::GetAttributeSingle)
        return CipReply::error(cip::ServiceNotSupported);
    if (attribute == 1)
        AppendShortString(out, group.name);
    else if (attribute == 2)
        AppendUint16(out, static_cast<std::uint16_t>(group.members.size()));
    else if (attribute > 2 && attribute <= lastAttribute)
        AppendUint16(out, group.members[attribute - 3]);
    else
        return CipReply::error(cip::AttributeNotSupported);
    return CipReply::success(request, out);
}

}  // namespace corvix::sim
