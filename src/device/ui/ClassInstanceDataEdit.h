#pragma once

#include <QPlainTextEdit>

namespace corvix {

// The request data of the class/instance editor, typed as hexadecimal bytes: typed and pasted
// text goes through the typing rule (TypeHexDigit, PasteHexDigits), so only hexadecimal digits
// get in, spaced in pairs. Editing keys (deleting, moving, selecting, copying, undoing) work as
// usual, so the text is checked again when it is sent. Ctrl+Enter asks to send.
class TClassInstanceDataEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TClassInstanceDataEdit(QWidget* parent = nullptr);

Q_SIGNALS:
    void sendRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void insertHexText(const QString& typed);
};

}  // namespace corvix
