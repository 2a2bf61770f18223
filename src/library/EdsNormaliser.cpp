#include "library/EdsNormaliser.h"

namespace corvix {

namespace {

// A comment runs up to and including the next line break or other control byte of these ranges;
// tabs (9) and NUL do not end it.
bool endsComment(unsigned char byte)
{
    return (byte >= 1 && byte <= 8) || (byte >= 10 && byte <= 13) || byte == 26;
}

// The printable ASCII bytes an entry may consist of. Left out on purpose: "<", ">", "?", the at
// sign, "^", "_", the grave accent, "~", controls and everything from 0x7F up, so that a key
// such as 1_RSNetWorx_DCorvix is stored as 1RSNetWorxDCorvix.
bool isKept(unsigned char byte)
{
    return (byte >= 0x21 && byte <= 0x3B) || byte == 0x3D || (byte >= 0x41 && byte <= 0x5D) ||
           (byte >= 0x61 && byte <= 0x7D);
}

}  // namespace

QByteArray NormaliseEdsText(const QByteArray& raw)
{
    QByteArray text;
    text.reserve(raw.size() + raw.size() / 8);
    bool inQuotes = false;
    bool inComment = false;
    for (const char c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        if (inComment) {
            inComment = !endsComment(byte);
            continue;
        }
        if (byte == '$') {
            // Also inside quotes, and the quote flag stays as it is: a closing quote within the
            // comment is lost, so the text after the comment still counts as quoted.
            inComment = true;
            continue;
        }
        if (byte == '"') {
            inQuotes = !inQuotes;
            text.append(c);
            continue;
        }
        if (inQuotes && (byte == ' ' || byte == ',')) {
            text.append(byte == ',' ? '.' : ' ');
            continue;
        }
        if (!isKept(byte)) {
            continue;
        }
        text.append(c);
        if (!inQuotes && (byte == ';' || byte == ']')) {
            text.append("\r\n");
        }
    }
    return text;
}

}  // namespace corvix
