#include "device/ui/AdvancedForm.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include "device/ui/ClassInstanceEditorForm.h"

namespace corvix {

TAdvancedform::TAdvancedform(TDeviceNetWork* network, TDeviceNetDevice* device, QWidget* parent)
    : QWidget(parent),
      pages_(new QTabWidget(this)),
      editor_(new TClassInstanceeditorForm(network, device))
{
    setWindowTitle(Caption());
    pages_->setObjectName(QStringLiteral("PageControl1"));
    pages_->addTab(editor_, TClassInstanceeditorForm::Caption());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pages_);
}

TAdvancedform::~TAdvancedform() = default;

QString TAdvancedform::Caption()
{
    return QStringLiteral("Advan&ced");
}

void TAdvancedform::Activate()
{
    editor_->Activate();
}

}  // namespace corvix
