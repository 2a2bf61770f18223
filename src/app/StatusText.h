#pragma once

#include <QString>

namespace corvix {

// The text of a CIP general status code (0x00..0x2A) or of a scanner node status code
// (70..99), exactly as devices and scanners word them; "Unknown Error" for any other code.
QString StatusText(int code);

}  // namespace corvix
