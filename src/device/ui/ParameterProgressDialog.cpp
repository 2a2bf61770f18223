#include "device/ui/ParameterProgressDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvix {

TParameteprogressdialog::TParameteprogressdialog(int total, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      label_(new QLabel(this)),
      bar_(new QProgressBar(this)),
      cancel_(new QPushButton(QStringLiteral("C&ancel"), this))
{
    setWindowTitle(QStringLiteral("Uploading/Downloading Parameters"));
    setWindowModality(Qt::ApplicationModal);
    bar_->setRange(0, total);
    bar_->setValue(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(bar_);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    setMinimumWidth(320);
    connect(cancel_, &QPushButton::clicked, this, &TParameteprogressdialog::reject);
}

void TParameteprogressdialog::Advance(const QString& text, int position)
{
    label_->setText(text);
    bar_->setValue(position);
}

void TParameteprogressdialog::reject()
{
    Q_EMIT cancelled();
}

}  // namespace corvix
