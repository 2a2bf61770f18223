#include "device/ClassInstanceHexText.h"

#include <QRegularExpression>
#include <algorithm>

namespace corvix {

namespace {

bool IsHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

}  // namespace

std::optional<HexDataEdit> TypeHexDigit(const QString& text, int caret, QChar typed)
{
    if (!IsHexDigit(typed)) {
        return std::nullopt;
    }
    caret = std::clamp(caret, 0, int(text.size()));
    QString inserted(typed.toUpper());
    if (caret >= 2 && text[caret - 1] != u' ' && text[caret - 2] != u' ') {
        inserted.prepend(u' ');
    }
    return HexDataEdit{QString(text).insert(caret, inserted), caret + int(inserted.size())};
}

HexDataEdit PasteHexDigits(const QString& text, int caret, const QString& pasted)
{
    HexDataEdit edit{text, std::clamp(caret, 0, int(text.size()))};
    for (const QChar c : pasted) {
        if (const std::optional<HexDataEdit> typed = TypeHexDigit(edit.text, edit.caret, c)) {
            edit = *typed;
        }
    }
    return edit;
}

bool IsHexDataText(const QString& text)
{
    static const QRegularExpression form(
        QRegularExpression::anchoredPattern(QStringLiteral("([0-9A-F]{2}( [0-9A-F]{2})*)?")));
    return form.match(text).hasMatch();
}

}  // namespace corvix
