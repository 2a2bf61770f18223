#include "network/DeviceNameLines.h"

#include <QRegularExpression>

namespace corvix {

QStringList BreakDeviceName(const QString& name, int maxLength)
{
    // Words are separated by blanks and control characters only; letters beyond ASCII
    // ("Müller", "Ventil Ø20") belong to their word.
    static const QRegularExpression separators(QStringLiteral("[\\x00-\\x20\\x7f]+"));
    const QStringList words = name.split(separators, Qt::SkipEmptyParts);
    QStringList lines;
    QString line;
    for (const QString& word : words) {
        if (!line.isEmpty() && line.size() + 1 + word.size() <= maxLength) {
            line += u' ' + word;
            continue;
        }
        if (!line.isEmpty()) {
            lines.append(line);
        }
        line = word;
    }
    if (!line.isEmpty()) {
        lines.append(line);
    }
    return lines;
}

}  // namespace corvix
