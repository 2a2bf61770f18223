#include "device/DeviceJson.h"

#include <QJsonArray>

#include "device/DeviceNetDevice.h"

namespace corvix {

namespace {

QJsonArray toArray(const QStringList& texts)
{
    return QJsonArray::fromStringList(texts);
}

QJsonObject valuePair(const TDeviceNetDataTypes& type, const QString& raw)
{
    QString display = type.GetValue(raw);
    if (display.startsWith(QLatin1String("0B"))) {
        display.remove(0, 2);
    }
    return {{"raw", raw}, {"display", display}};
}

QJsonArray linearTables(const QList<THitachiLinearMappingTable>& tables)
{
    QJsonArray array;
    for (const THitachiLinearMappingTable& table : tables) {
        array.append(QJsonObject{{"name", table.Name},
                                 {"firstAddress", table.FirstAddress},
                                 {"prefix", table.Prefix},
                                 {"suffix", table.Suffix},
                                 {"spareNumbers", QJsonArray{table.SpareNumberA, table.SpareNumberB,
                                                             table.SpareNumberC}}});
    }
    return array;
}

QJsonObject memoryTables(const QStringList& names, const QStringList& types,
                         const QStringList& sizes, const QStringList& readOnlyBits,
                         int elementWidth, const QList<THitachiLinearMappingTable>& linear,
                         const QString& linearHelp)
{
    return {{"names", toArray(names)},        {"types", toArray(types)},
            {"sizes", toArray(sizes)},        {"readOnlyBits", toArray(readOnlyBits)},
            {"elementWidth", elementWidth},   {"linearMappingTables", linearTables(linear)},
            {"linearMappingHelp", linearHelp}};
}

}  // namespace

QJsonObject ParameterToJson(TDevParameterClass& parameter)
{
    const TDeviceNetDataTypes& type = parameter.DataType();
    QJsonObject value = valuePair(type, type.Value());
    value.insert("display", parameter.GetDisplayValue());
    value.insert("displayWithUnits", parameter.GetDisplayValueWithUnits());
    return {
        {"number", parameter.Number()},
        {"displayName", parameter.DisplayName()},
        {"units", parameter.Units()},
        {"helpText", parameter.HelpText()},
        {"requestPath", parameter.RequestPath()},
        {"linkPathSize", parameter.LinkPathSize()},
        {"descriptor", parameter.Descriptor()},
        {"dataTypeCode", parameter.DataTypeCode()},
        {"dataSize", parameter.DataSize()},
        {"readOnly", parameter.IsReadOnly()},
        {"minimum", valuePair(type, type.Minimum())},
        {"maximum", valuePair(type, type.Maximum())},
        {"default", valuePair(type, type.DefaultValue())},
        {"value", value},
        {"enumStrings", toArray(parameter.EnumStrings())},
        {"scaling", QJsonObject{{"multiplier", parameter.Multiplier()},
                                {"divisor", parameter.Divisor()},
                                {"base", parameter.Base()},
                                {"offset", parameter.Offset()},
                                {"multiplierLink", parameter.MultiplierLink()},
                                {"divisorLink", parameter.DivisorLink()},
                                {"baseLink", parameter.BaseLink()},
                                {"offsetLink", parameter.OffsetLink()},
                                {"precision", parameter.Precision()}}},
    };
}

QJsonObject ScannerConfigToJson(const TDevScannerCfgClass& config)
{
    return {
        {"inputTables",
         memoryTables(config.InputTableNames, config.InputTableTypes, config.InputTableSizes,
                      config.InputReadOnlyBits, config.InputElementWidth, config.InputHitachiTables,
                      config.InputHitachiHelp)},
        {"outputTables",
         memoryTables(config.OutputTableNames, config.OutputTableTypes, config.OutputTableSizes,
                      config.OutputReadOnlyBits, config.OutputElementWidth,
                      config.OutputHitachiTables, config.OutputHitachiHelp)},
        {"slaveMode", config.SlaveMode},
        {"sharedInputs", config.SharedInputs},
        {"adrSupported", config.AdrSupported},
        {"quickConnectSupported", config.QuickConnectSupported},
        {"expectedPacketRate", config.ExpectedPacketRate},
        {"interscanDelay", config.InterscanDelay},
        {"transmitRetries", config.TransmitRetries},
        {"backgroundPollRatio", config.BackgroundPollRatio},
        {"mapAlignment", config.MapAlignment},
    };
}

QJsonObject DeviceToJson(TDeviceNetDevice& device)
{
    QJsonArray parameters;
    for (const auto& parameter : device.Parameters()) {
        parameters.append(ParameterToJson(*parameter));
    }
    QJsonArray groups;
    for (const TParameterGroup& group : device.ParameterGroups) {
        QJsonArray members;
        for (const TDevParameterClass* member : group.Members) {
            members.append(member->Number());
        }
        groups.append(QJsonObject{{"name", group.Name}, {"members", members}});
    }
    QJsonObject json{
        {"edsFileName", device.EdsFileName},
        {"macId", device.MacId},
        {"name", device.Name},
        {"identity", QJsonObject{{"vendorCode", device.VendorCode},
                                 {"productType", device.ProductType},
                                 {"productCode", device.ProductCode},
                                 {"majorRevision", device.MajorRevision}}},
        {"productName", device.ProductName},
        {"withoutEds", device.WithoutEds},
        {"edsInfo", toArray(device.EdsInfo)},
        {"quickConnect", QJsonObject{{"support", qint64(device.QuickConnectSupport)},
                                     {"secondField", qint64(device.QuickConnectSecondField)},
                                     {"enabled", device.QuickConnectEnabled}}},
        {"io", QJsonObject{{"defaultConnections", qint64(device.DefaultConnections)},
                           {"pollInputSize", qint64(device.PollInputSize)},
                           {"pollOutputSize", qint64(device.PollOutputSize)},
                           {"strobeInputSize", qint64(device.StrobeInputSize)},
                           {"strobeOutputSize", qint64(device.StrobeOutputSize)},
                           {"cosInputSize", qint64(device.CosInputSize)},
                           {"cosOutputSize", qint64(device.CosOutputSize)},
                           {"cyclicInputSize", qint64(device.CyclicInputSize)},
                           {"cyclicOutputSize", qint64(device.CyclicOutputSize)}}},
        {"hasParameterList", device.HasParameterList()},
        {"paramClassDescriptor", qint64(device.ParamClassDescriptor)},
        {"parameters", parameters},
        {"groups", groups},
        {"definitionErrors", toArray(device.DefinitionErrors)},
    };
    if (device.ScannerConfig) {
        json.insert("scanner", ScannerConfigToJson(*device.ScannerConfig));
    }
    return json;
}

}  // namespace corvix
