#include "core/EdsNode.h"

#include "app/Conversions.h"
#include "app/CorvixError.h"
#include "app/EdsValueReaders.h"
#include "app/Windows1252.h"
#include "core/JsonFields.h"
#include "device/DataTypeFactory.h"
#include "device/DeviceNetDevice.h"
#include "device/NumberText.h"

#include <QFileInfo>
#include <QJsonValue>

namespace corvix::sim {

namespace {

// Field numbers (from 1) of a "ParamN=" entry.
constexpr int LinkPathField = 3;
constexpr int NameField = 7;
constexpr int UnitsField = 8;
constexpr int HelpField = 9;
constexpr int FirstLinkField = 17;

bool IsTextType(const TDevParameterClass& parameter)
{
    return IsStringDataTypeCode(TryTextToInt64(parameter.DataTypeCode()).value_or(0));
}

std::int64_t NumberOr(const QString& text, std::int64_t fallback)
{
    return TryTextToInt64(text).value_or(fallback);
}

// The bytes the data type sends for raw, leaving the parameter's own value as it was.
QByteArray NetworkBytes(TDevParameterClass& parameter, const QString& raw)
{
    TDeviceNetDataTypes& type = parameter.DataType();
    const QString kept = type.Value();
    type.SetValue(raw);
    QByteArray bytes = type.ConvertValueToNetWorkFormat();
    type.SetValue(kept);
    return bytes;
}

// The name, units and help as written in the file: the device model decorates them for display
// (a number in front of the name, default and range in front of the help).
QByteArrayList RawFields(const QByteArray& text, int instance)
{
    int64_t end = -1;
    const QByteArray key = "Param" + QByteArray::number(instance) + '=';
    return ReadValueFields(text, key, 0, text.size(), end);
}

SimParameter ParameterFromEds(TDevParameterClass& source, const QByteArray& text)
{
    const QByteArrayList fields = RawFields(text, source.Number());
    const auto field = [&fields](int oneBased) { return DecodeWindows1252(fields.value(oneBased - 1)); };
    SimParameter p;
    p.instance = static_cast<std::uint16_t>(source.Number());
    p.name = field(NameField);
    p.units = field(UnitsField);
    p.help = field(HelpField);
    p.dataType = static_cast<std::uint8_t>(NumberOr(source.DataTypeCode(), 0));
    p.dataSize = static_cast<std::uint8_t>(NumberOr(source.DataSize(), 0));
    p.readOnly = source.IsReadOnly();
    p.enumStrings = source.EnumStrings();
    p.descriptor = static_cast<std::uint16_t>(NumberOr(source.Descriptor(), 0));
    if (!field(LinkPathField).isEmpty()) {
        try {
            p.linkPath = HexTextToBytes(field(LinkPathField));
        } catch (const ConversionError& error) {
            throw ConversionError(QStringLiteral("link path of parameter %1: %2")
                                      .arg(p.instance)
                                      .arg(error.message()));
        }
    }
    p.multiplier = static_cast<std::uint16_t>(NumberOr(source.Multiplier(), 1));
    p.divisor = static_cast<std::uint16_t>(NumberOr(source.Divisor(), 1));
    p.base = static_cast<std::uint16_t>(NumberOr(source.Base(), 1));
    p.offset = static_cast<std::int16_t>(NumberOr(source.Offset(), 0));
    for (std::size_t i = 0; i < p.links.size(); ++i)
        p.links[i] = static_cast<std::uint16_t>(NumberOr(field(FirstLinkField + static_cast<int>(i)), 0));
    p.precision = static_cast<std::uint8_t>(NumberOr(source.Precision(), 0));

    const TDeviceNetDataTypes& type = source.DataType();
    if (IsTextType(source)) {
        // A text's limits are lengths.
        p.minimum = QByteArray(1, static_cast<char>(NumberOr(type.Minimum(), 0)));
        p.maximum = QByteArray(1, static_cast<char>(NumberOr(type.Maximum(), 0xFF)));
    } else {
        p.minimum = NetworkBytes(source, type.Minimum());
        p.maximum = NetworkBytes(source, type.Maximum());
    }
    p.defaultValue = NetworkBytes(source, type.DefaultValue());
    p.value = p.defaultValue;
    return p;
}

void SetInitialValue(SimParameter& p, TDevParameterClass& source, const QJsonValue& value,
                     const QString& where)
{
    QString raw;
    if (value.isString())
        raw = value.toString();
    else if (value.isDouble())
        raw = QString::number(value.toDouble(), 'g', 17);
    else
        json::Fail(where, QStringLiteral("expected a raw value as a text or a number"));
    // Descriptions are written with a decimal point whatever the locale of the machine.
    if (!IsTextType(source))
        raw = ToLocaleDecimalSeparator(raw);
    QByteArray bytes;
    try {
        bytes = NetworkBytes(source, source.DataType().ValidateString(raw));
    } catch (const CorvixError& error) {
        json::Fail(where, error.message());
    }
    if (!IsTextType(source) && !ValueInRange(p, bytes))
        json::Fail(where, QStringLiteral("%1 is outside %2 .. %3")
                              .arg(raw, source.DataType().Minimum(), source.DataType().Maximum()));
    p.value = bytes;
}

}  // namespace

SimIdentity IdentityFromEds(const EdsSource& eds)
{
    const TDeviceNetDevice& device = *eds.device;
    SimIdentity id;
    id.vendorId = static_cast<std::uint16_t>(device.VendorCode);
    id.deviceType = static_cast<std::uint16_t>(device.ProductType);
    id.productCode = static_cast<std::uint16_t>(device.ProductCode);
    id.majorRevision = static_cast<std::uint8_t>(device.MajorRevision);
    const QString minor = DecodeWindows1252(ReadValue(eds.text, "MinRev=", 0, eds.text.size()));
    id.minorRevision = static_cast<std::uint8_t>(NumberOr(minor, 1));
    id.productName = device.ProductName;
    return id;
}

void FillNodeFromEds(SimNode& node, const EdsSource& eds, const QJsonObject& values,
                     const QString& where)
{
    TDeviceNetDevice& device = *eds.device;
    const QString fileName = QFileInfo(eds.path).fileName();
    node.identity = IdentityFromEds(eds);
    node.parameters.descriptor = static_cast<std::uint16_t>(device.ParamClassDescriptor);
    const QByteArray assembly = ReadValue(eds.text, "CfgAssembly=", 0, eds.text.size());
    node.parameters.configAssembly = static_cast<std::uint16_t>(NumberOr(DecodeWindows1252(assembly), 0));
    for (const auto& source : device.Parameters()) {
        try {
            node.parameters.parameters.append(ParameterFromEds(*source, eds.text));
        } catch (const CorvixError& error) {
            json::Fail(where, QStringLiteral("%1: %2").arg(fileName, error.message()));
        }
    }
    // Group 0 of the device model is its own list of all parameters, not a group of the file.
    for (qsizetype g = 1; g < device.ParameterGroups.size(); ++g) {
        SimGroup group{device.ParameterGroups[g].Name, {}};
        for (const TDevParameterClass* member : device.ParameterGroups[g].Members)
            group.members.append(static_cast<std::uint16_t>(member->Number()));
        node.parameters.groups.append(group);
    }
    for (auto it = values.begin(); it != values.end(); ++it) {
        const QString valueWhere = where + QStringLiteral(".values.") + it.key();
        bool ok = false;
        const uint instance = it.key().toUInt(&ok);
        SimParameter* p = ok && instance <= 0xFFFF ? node.parameters.find(static_cast<std::uint16_t>(instance)) : nullptr;
        if (!p)
            json::Fail(valueWhere, QStringLiteral("%1 defines no parameter %2").arg(fileName, it.key()));
        for (const auto& source : device.Parameters())
            if (source->Number() == static_cast<int>(instance))
                SetInitialValue(*p, *source, it.value(), valueWhere);
    }
    if (device.ScannerConfig && !node.scanner)
        node.scanner.emplace();
}

}  // namespace corvix::sim
