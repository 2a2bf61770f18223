#pragma once

#include <QString>
#include <optional>

namespace corvix {

// The request data of the class/instance editor is typed as hexadecimal bytes, "01 02 AB".

// A data text and where the caret stands in it.
struct HexDataEdit {
    QString text;
    int caret = 0;

    friend bool operator==(const HexDataEdit&, const HexDataEdit&) = default;
};

// One character typed at caret. Only 0-9, A-F and a-f are taken, letters in upper case; when the
// caret follows two characters neither of which is a blank, a blank goes in first, so typing
// "0102AB" gives "01 02 AB". Nothing for any other character: the key is refused.
std::optional<HexDataEdit> TypeHexDigit(const QString& text, int caret, QChar typed);

// Pasted text at caret: its hexadecimal digits typed one after the other (everything else left
// out), so pasted data is spaced as if it had been typed.
HexDataEdit PasteHexDigits(const QString& text, int caret, const QString& pasted);

// Whether a data text can be sent: pairs of 0-9 and A-F, each but the last followed by one
// blank. The empty text sends no data and is valid.
bool IsHexDataText(const QString& text);

}  // namespace corvix
