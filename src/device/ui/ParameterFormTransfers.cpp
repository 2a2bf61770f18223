// The group transfers of the parameter page: upload all, download all, their progress window,
// and what ends them.
#include "app/UserPrompt.h"
#include "device/DeviceNetDevice.h"
#include "device/ParameterGroupTransfer.h"
#include "device/ui/ParameterForm.h"
#include "device/ui/ParameterProgressDialog.h"
#include "device/ui/ParameterTableModel.h"
#include "network/DeviceNetWork.h"

namespace corvix {

namespace {

const QString DownloadQuestion = QStringLiteral(
    "Some or all parameters are not synchronized. Do you want to download these before "
    "cancelling?");

}  // namespace

void TParameterForm::connectTransfer()
{
    TParameterGroupTransfer* transfer = transfer_.get();
    connect(transfer, &TParameterGroupTransfer::started, this, &TParameterForm::transferStarted);
    connect(transfer, &TParameterGroupTransfer::progressChanged, this,
            [this](const QString& text, int position, int) {
                if (progress_) progress_->Advance(text, position);
            });
    connect(transfer, &TParameterGroupTransfer::requestSent, model_,
            &TParameterTableModel::ParameterChanged);
    connect(transfer, &TParameterGroupTransfer::replyHandled, model_,
            &TParameterTableModel::ParameterChanged);
    connect(transfer, &TParameterGroupTransfer::finished, this, &TParameterForm::transferFinished);
}

bool TParameterForm::Idle() const
{
    return !transfer_->Running();
}

void TParameterForm::StopTransfer()
{
    transfer_->Stop();
}

void TParameterForm::ParameterUploadBitBtnClick()
{
    runGroupTransfer(Direction::Upload);
}

void TParameterForm::ParameterDownloadBitBtnClick()
{
    runGroupTransfer(Direction::Download);
}

bool TParameterForm::SameAsNetWork()
{
    if (!online() || !Idle() || device_->NotResponding) {
        return false;
    }
    const int group = model_->GroupIndex();
    for (int i = 0; i < device_->ParameterCount(group); ++i) {
        const TDevParameterClass* parameter = device_->ParameterAt(group, i);
        if (!parameter->IsReadOnly() && !parameter->Synchronized()) {
            if (UserPrompt::current().confirmYesNo(DownloadQuestion)) {
                runGroupTransfer(Direction::Download);
            }
            break;
        }
    }
    return false;
}

void TParameterForm::runGroupTransfer(Direction direction)
{
    // A run needs the device window on the screen: hiding it is one way to end the run.
    if (!online() || !Idle() || !window()->isVisible()) {
        return;
    }
    const int group = model_->GroupIndex();
    // The run waits for replies inside this call. Should the page be destroyed meanwhile, the
    // transfer must live on until the call returns; this function touches nothing of the page
    // after it.
    const std::shared_ptr<TParameterGroupTransfer> transfer = transfer_;
    if (direction == Direction::Upload) {
        transfer->UploadAll(group);
    } else {
        transfer->DownloadAll(group);
    }
}

void TParameterForm::transferStarted(int total)
{
    watchedWindow_ = window();
    watchedWindow_->installEventFilter(this);
    updateButtons();
    progress_ = new TParameteprogressdialog(total, this);
    connect(progress_, &TParameteprogressdialog::cancelled, this, &TParameterForm::StopTransfer);
    progress_->show();
    Q_EMIT idleChanged(false);
}

void TParameterForm::transferFinished()
{
    if (watchedWindow_) {
        watchedWindow_->removeEventFilter(this);
    }
    watchedWindow_ = nullptr;
    if (progress_) {
        progress_->hide();
        progress_->deleteLater();
        progress_ = nullptr;
    }
    updateButtons();
    Q_EMIT idleChanged(true);
}

}  // namespace corvix
