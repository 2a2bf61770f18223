#include "device/ui/ScannerPagePlaceholder.h"

#include <QLabel>
#include <QVBoxLayout>

namespace corvix {

TScannerPagePlaceholder::TScannerPagePlaceholder(const QString& what, QWidget* parent)
    : QWidget(parent)
{
    auto* label = new QLabel(QStringLiteral("%1 is not available yet.").arg(what), this);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
}

}  // namespace corvix
