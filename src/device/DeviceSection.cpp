// The device section of network files and ".dev" files.
#include "app/UserPrompt.h"
#include "device/DeviceNetDevice.h"
#include "device/NumberText.h"

namespace corvix {

namespace {

const QString kDeviceBegin = QStringLiteral("$Device Begin");
const QString kDeviceEnd = QStringLiteral("$Device End");
const QString kParametersBegin = QStringLiteral("$Parameters Begin");
const QString kParametersEnd = QStringLiteral("$Parameters End");

// Lines 0 to 7: begin marker, MAC ID, the four identity values, name, Quick Connect flag.
constexpr qsizetype kHeaderLines = 8;

}  // namespace

QStringList TDeviceNetDevice::WriteSection()
{
    QStringList lines = {kDeviceBegin,
                         QString::number(MacId),
                         QString::number(VendorCode),
                         QString::number(ProductType),
                         QString::number(ProductCode),
                         QString::number(MajorRevision),
                         Name,
                         QuickConnectEnabled ? QStringLiteral("1") : QStringLiteral("0")};
    if (hasParameterList_) {
        lines.append(kParametersBegin);
        for (const auto& parameter : parameters_) {
            lines.append(parameter->DataType().Value());
            parameter->SetSaved(true);
        }
        lines.append(kParametersEnd);
    }
    if (ScannerConfig) {
        ScannerConfig->WriteScannerBlock(lines);
    }
    lines.append(kDeviceEnd);
    return lines;
}

void TDeviceNetDevice::ReadSection(const QStringList& lines)
{
    if (lines.size() < kHeaderLines) {
        return;
    }
    if (TextToInt32(lines[2]) != VendorCode || TextToInt32(lines[3]) != ProductType ||
        TextToInt32(lines[4]) != ProductCode || TextToInt32(lines[5]) != MajorRevision) {
        return;
    }
    Name = lines[6];
    // Files written before the Quick Connect line existed have the next marker here.
    QuickConnectEnabled = !lines[7].startsWith(u'$') && TextToInt64(lines[7]) != 0;
    if (hasParameterList_) {
        // Values are taken only from a block that is there and holds one line per parameter; a
        // missing begin marker must not make the header lines count as values.
        const qsizetype begin = lines.indexOf(kParametersBegin);
        const qsizetype end = lines.indexOf(kParametersEnd);
        if (begin >= 0 && end - begin == qsizetype(parameters_.size()) + 1) {
            for (size_t i = 0; i < parameters_.size(); ++i) {
                parameters_[i]->DataType().SetValue(lines[begin + 1 + qsizetype(i)]);
            }
        } else {
            UserPrompt::current().message(
                QStringLiteral("The number of parameters for the device with MAC-ID %1\n\r"
                               "does not match the current EDS file. Parameter values will not "
                               "be loaded.")
                    .arg(MacId),
                PromptIcon::Error);
        }
    }
    if (ScannerConfig) {
        ScannerConfig->ReadScannerBlock(lines);
    }
}

}  // namespace corvix
