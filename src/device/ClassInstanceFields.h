#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace corvix {

// The classes the class/instance editor offers by name, in the order of its sorted list: two
// hexadecimal digits of the class, a blank and the name ("01 Identity" first).
const QStringList& ClassInstanceClassEntries();

// The class field's text for one of those entries: "0x" and the entry's two digits ("0x0F").
QString ClassTextOfEntry(const QString& entry);

// The value of a number field: decimal ("15", "-1") or hexadecimal after "0x" ("0x0F"), blanks at
// either end ignored; nothing for any other text. Values too large for any field come back
// limited to NumberFieldLimit, still out of every field's range.
std::optional<int64_t> ReadNumberField(const QString& text);
constexpr int64_t NumberFieldLimit = int64_t(1) << 40;

// The largest value a spin step reaches.
constexpr int64_t NumberFieldSpinMaximum = 0xFFFF;

// The field's text after a spin step of steps (positive up, negative down): up does nothing at
// 0xFFFF or above, down nothing at 0 or below, and the value stays within 0..0xFFFF. A field
// written in hexadecimal stays so ("0x" and at least two upper-case digits), any other in
// decimal. Nothing when the step changes nothing or the text is no number.
std::optional<QString> StepNumberField(const QString& text, int steps);

}  // namespace corvix
