#include "network/DeviceSectionHeader.h"

#include "app/CorvixError.h"
#include "network/FileLines.h"

namespace corvix {

DeviceSectionHeader ReadDeviceSectionHeader(const QStringList& section, qsizetype firstLineNumber)
{
    // Begin marker, six header lines and the end marker at the least.
    if (section.size() < 8 || !IsMarkerLine(section.first(), QStringLiteral("$Device Begin"))) {
        throw ConversionError(
            QStringLiteral("The device section at line %1 is too short: it needs the MAC ID, "
                           "vendor ID, device type, product code, major revision and name "
                           "lines.")
                .arg(firstLineNumber));
    }
    const struct {
        const char* what;
        int maximum;
    } numbers[] = {{"MAC ID", 63},
                   {"vendor ID", 65535},
                   {"device type", 65535},
                   {"product code", 65535},
                   {"major revision", 255}};
    int values[5] = {};
    for (int i = 0; i < 5; ++i) {
        const QString& line = section.at(i + 1);
        const auto value = ParseDecimalLine(line, numbers[i].maximum);
        if (!value) {
            throw ConversionError(
                QStringLiteral("Line %1 should hold the %2 of a device (0 to %3) but holds "
                               "\"%4\".")
                    .arg(firstLineNumber + i + 1)
                    .arg(QLatin1String(numbers[i].what))
                    .arg(numbers[i].maximum)
                    .arg(line.left(40)));
        }
        values[i] = *value;
    }
    return {values[0], values[1], values[2], values[3], values[4], section.at(6)};
}

}  // namespace corvix
