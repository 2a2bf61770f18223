#pragma once

#include <QAbstractSpinBox>

namespace corvix {

// A number field of the class/instance editor with its spin buttons. The text stays the user's
// (decimal or "0x" hexadecimal, checked only when a request is sent); a spin step keeps the
// text's form and the range 0..0xFFFF (StepNumberField). Enter asks to send.
class TClassInstanceNumberEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit TClassInstanceNumberEdit(const QString& text, QWidget* parent = nullptr);

    void SetText(const QString& text);
    void stepBy(int steps) override;

Q_SIGNALS:
    void returnPressed();

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace corvix
