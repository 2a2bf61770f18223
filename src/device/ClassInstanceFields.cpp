#include "device/ClassInstanceFields.h"

#include <algorithm>

namespace corvix {

namespace {

bool HasHexPrefix(const QString& trimmed)
{
    return trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
}

// The value of a digit 0-9, A-F or a-f; -1 for any other character.
int DigitValue(QChar c)
{
    const QChar lower = c.toLower();
    if (lower >= u'0' && lower <= u'9') {
        return lower.unicode() - u'0';
    }
    return lower >= u'a' && lower <= u'f' ? lower.unicode() - u'a' + 10 : -1;
}

std::optional<int64_t> ReadDigits(QStringView digits, int base)
{
    if (digits.isEmpty()) {
        return std::nullopt;
    }
    int64_t value = 0;
    for (const QChar c : digits) {
        const int digit = DigitValue(c);
        if (digit < 0 || digit >= base) {
            return std::nullopt;
        }
        value = std::min(value * base + digit, NumberFieldLimit);
    }
    return value;
}

}  // namespace

const QStringList& ClassInstanceClassEntries()
{
    static const QStringList entries = {
        QStringLiteral("01 Identity"),
        QStringLiteral("02 Message Router"),
        QStringLiteral("03 DeviceNet"),
        QStringLiteral("04 Assembly"),
        QStringLiteral("05 Connection"),
        QStringLiteral("06 Connection Manager"),
        QStringLiteral("07 Register"),
        QStringLiteral("08 Discrete Input Point"),
        QStringLiteral("09 Discrete Output Point"),
        QStringLiteral("0A Analog Input Point"),
        QStringLiteral("0B Analog Output Point"),
        QStringLiteral("0E Presence Sensing"),
        QStringLiteral("0F Parameter"),
        QStringLiteral("10 Parameter Group"),
        QStringLiteral("12 Group"),
        QStringLiteral("1D Discrete Input Group"),
        QStringLiteral("1E Discrete Output Group"),
        QStringLiteral("1F Discrete Group"),
        QStringLiteral("20 Analog Input Group"),
        QStringLiteral("21 Analog Output Group"),
        QStringLiteral("22 Analog Group"),
        QStringLiteral("23 Position Sensor"),
        QStringLiteral("24 Position Controller Supervisor"),
        QStringLiteral("25 Position Controller"),
        QStringLiteral("26 Block Sequencer"),
        QStringLiteral("27 Command Block"),
        QStringLiteral("28 Motor Data"),
        QStringLiteral("29 Control Supervisor"),
        QStringLiteral("2A AC/DC Drive"),
        QStringLiteral("2B Acknowledge Handler"),
        QStringLiteral("2C Overload"),
        QStringLiteral("2D Softstart"),
        QStringLiteral("2E Selection"),
        QStringLiteral("30 S-Device Supervisor"),
        QStringLiteral("31 S-Analog Sensor"),
        QStringLiteral("32 S-Analog Actuator"),
        QStringLiteral("33 S-Single Stage Controller"),
        QStringLiteral("34 S-Gas Calibration"),
        QStringLiteral("35 Trip Point Object"),
    };
    return entries;
}

QString ClassTextOfEntry(const QString& entry)
{
    return QStringLiteral("0x") + entry.left(2);
}

std::optional<int64_t> ReadNumberField(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (HasHexPrefix(trimmed)) {
        return ReadDigits(QStringView(trimmed).mid(2), 16);
    }
    if (trimmed.startsWith(u'-')) {
        const auto magnitude = ReadDigits(QStringView(trimmed).mid(1), 10);
        return magnitude ? std::optional<int64_t>(-*magnitude) : std::nullopt;
    }
    return ReadDigits(trimmed, 10);
}

std::optional<QString> StepNumberField(const QString& text, int steps)
{
    const std::optional<int64_t> value = ReadNumberField(text);
    if (!value || steps == 0 || (steps > 0 && *value >= NumberFieldSpinMaximum) ||
        (steps < 0 && *value <= 0)) {
        return std::nullopt;
    }
    const int64_t next = steps > 0 ? std::min(*value + steps, NumberFieldSpinMaximum)
                                   : std::max(*value + steps, int64_t(0));
    if (HasHexPrefix(text.trimmed())) {
        return QStringLiteral("0x") + QString::number(next, 16).toUpper().rightJustified(2, u'0');
    }
    return QString::number(next);
}

}  // namespace corvix
