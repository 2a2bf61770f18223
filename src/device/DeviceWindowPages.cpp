#include "device/DeviceWindowPages.h"

#include "device/DeviceNetDevice.h"

namespace corvix {

QList<DevicePage> DeviceWindowPages(const TDeviceNetDevice& device, bool online)
{
    QList<DevicePage> pages;
    if (!device.ParameterGroups.isEmpty()) {
        pages.append(DevicePage::Parameter);
    }
    if (const TDevScannerCfgClass* scanner = device.ScannerConfig.get()) {
        pages.append(DevicePage::ScanList);
        if (!scanner->InputTableNames.isEmpty()) {
            pages.append(DevicePage::InputMapping);
        }
        if (!scanner->OutputTableNames.isEmpty()) {
            pages.append(DevicePage::OutputMapping);
        }
        if (scanner->AdrSupported) {
            pages.append(DevicePage::Adr);
        }
        if (online) {
            pages.append(DevicePage::Diagnostics);
        }
    }
    if (online) {
        pages.append(DevicePage::Advanced);
    }
    pages.append(DevicePage::Eds);
    return pages;
}

QString DevicePageCaption(DevicePage page)
{
    switch (page) {
        case DevicePage::Parameter: return QStringLiteral("&Parameter");
        case DevicePage::ScanList: return QStringLiteral("&Scanlist");
        case DevicePage::InputMapping: return QStringLiteral("&Input");
        case DevicePage::OutputMapping: return QStringLiteral("&Output");
        case DevicePage::Adr: return QStringLiteral("&ADR");
        case DevicePage::Diagnostics: return QStringLiteral("&Diagnostics");
        case DevicePage::Advanced: return QStringLiteral("Advan&ced");
        case DevicePage::Eds: return QStringLiteral("&EDS");
    }
    return {};
}

QString DevicePageHelpTopic(const QString& caption)
{
    const auto is = [&caption](const char* name) {
        const QString text = QLatin1String(name);
        return caption == text || caption == u'&' + text;
    };
    if (is("Parameter")) return QStringLiteral("editindeviceproperties.htm");
    if (is("Scanlist")) return QStringLiteral("addingslavestoascnnerssca.htm");
    if (is("Input") || is("Output")) return QStringLiteral("scanlisttableiomapping.htm");
    if (is("ADR")) return QStringLiteral("adr.htm");
    if (caption == QLatin1String("Advan&ced")) return QStringLiteral("advanced.htm");
    if (is("Diagnostics")) return QStringLiteral("scanlistdiagnostics.htm");
    return QStringLiteral("welcometopic.htm");
}

QString DeviceWindowCaption(const TDeviceNetDevice& device)
{
    QString caption = QStringLiteral("Node %1 %2").arg(device.MacId).arg(device.ProductName);
    if (!device.Name.isEmpty()) {
        caption += QStringLiteral("   ") + device.Name;
    }
    return caption;
}

}  // namespace corvix
