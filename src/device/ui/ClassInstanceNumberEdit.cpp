#include "device/ui/ClassInstanceNumberEdit.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "device/ClassInstanceFields.h"

namespace corvix {

TClassInstanceNumberEdit::TClassInstanceNumberEdit(const QString& text, QWidget* parent)
    : QAbstractSpinBox(parent)
{
    lineEdit()->setText(text);
    // The arrows show whether a step would change anything.
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] { update(); });
}

void TClassInstanceNumberEdit::SetText(const QString& text)
{
    lineEdit()->setText(text);
}

void TClassInstanceNumberEdit::stepBy(int steps)
{
    if (const std::optional<QString> stepped = StepNumberField(text(), steps)) {
        lineEdit()->setText(*stepped);
    }
}

QAbstractSpinBox::StepEnabled TClassInstanceNumberEdit::stepEnabled() const
{
    StepEnabled enabled = StepNone;
    if (StepNumberField(text(), 1)) {
        enabled |= StepUpEnabled;
    }
    if (StepNumberField(text(), -1)) {
        enabled |= StepDownEnabled;
    }
    return enabled;
}

void TClassInstanceNumberEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        Q_EMIT returnPressed();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

}  // namespace corvix
