#include "device/ui/EdsForm.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "device/DeviceNetDevice.h"

namespace corvix {

TEDSForm::TEDSForm(const TDeviceNetDevice& device, QWidget* parent)
    : QWidget(parent), edsIdInfo_(new QPlainTextEdit(this))
{
    edsIdInfo_->setReadOnly(true);
    edsIdInfo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    edsIdInfo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edsIdInfo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edsIdInfo_->setPlainText(device.EdsInfo.join(u'\n'));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edsIdInfo_);
}

}  // namespace corvix
