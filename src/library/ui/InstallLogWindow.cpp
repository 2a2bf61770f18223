#include "library/ui/InstallLogWindow.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace corvix {

TInstallLogWindow::TInstallLogWindow(QWidget* parent)
    : QDialog(parent), text_(new QPlainTextEdit(this))
{
    setWindowTitle(QStringLiteral("EDS installation"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(buttons);
    resize(560, 300);
}

void TInstallLogWindow::AddLogLine(const QString& line)
{
    text_->appendPlainText(line);
}

QStringList TInstallLogWindow::Lines() const
{
    return text_->toPlainText().split(u'\n', Qt::SkipEmptyParts);
}

}  // namespace corvix
