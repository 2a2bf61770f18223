#include "device/ui/ClassInstanceDataEdit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

#include "device/ClassInstanceHexText.h"

namespace corvix {

TClassInstanceDataEdit::TClassInstanceDataEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    // Composed input would reach the text past the typing rule; hexadecimal digits need none.
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void TClassInstanceDataEdit::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ControlModifier)) {
        Q_EMIT sendRequested();
        return;
    }
    const QString typed = event->text();
    const bool shortcut =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (enter || (!shortcut && typed.size() == 1 && typed[0].isPrint())) {
        insertHexText(typed);
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TClassInstanceDataEdit::insertFromMimeData(const QMimeData* source)
{
    if (source->hasText()) {
        insertHexText(source->text());
    }
}

void TClassInstanceDataEdit::insertHexText(const QString& typed)
{
    QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    QString text = toPlainText();
    text.remove(start, cursor.selectionEnd() - start);
    const HexDataEdit edit = PasteHexDigits(text, start, typed);
    if (edit.caret == start) {
        return;  // nothing to take: the key is refused and a selection stays as it was
    }
    // The rule only ever inserts at the caret; inserting just that keeps the undo history.
    cursor.insertText(edit.text.mid(start, edit.caret - start));
    setTextCursor(cursor);
}

}  // namespace corvix
