#include "device/ui/ParameterForm.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "app/UserPrompt.h"
#include "device/DeviceNetDevice.h"
#include "device/ParameterGroupTransfer.h"
#include "device/ui/ParameterItemDelegate.h"
#include "device/ui/ParameterTableModel.h"
#include "network/DeviceNetWork.h"

namespace corvix {

namespace {

constexpr int RowHeight = 21;
constexpr int PictureColumnWidth = 17;
// Room the column widths leave beside the scroll bar for the grid's frame and the page margin.
constexpr int GridAllowance = 8;

const QString UploadQuestion = QStringLiteral(
    "Some or all parameters may not be synchronized. do you want to upload these before "
    "entering?");

}  // namespace

TParameterForm::TParameterForm(TDeviceNetWork* network, TDeviceNetDevice* device, QWidget* parent)
    : QWidget(parent),
      network_(network),
      device_(device),
      transfer_(std::make_shared<TParameterGroupTransfer>(device, network)),
      model_(new TParameterTableModel(device, this))
{
    setWindowTitle(Caption());
    buildControls();
    for (const TParameterGroup& group : device_->ParameterGroups) {
        groupCombo_->addItem(group.Name);
    }
    groupCombo_->setCurrentIndex(0);
    connect(groupCombo_, &QComboBox::currentIndexChanged, this, &TParameterForm::refill);
    connect(model_, &TParameterTableModel::userTextRefused, this, &TParameterForm::showRefusedText,
            Qt::QueuedConnection);
    connect(sg_, &QTableView::clicked, this, &TParameterForm::cellClicked);
    connectTransfer();
    updateButtons();
    refill();
}

TParameterForm::~TParameterForm()
{
    transfer_->disconnect(this);
    transfer_->Stop();
}

QString TParameterForm::Caption()
{
    return QStringLiteral("&Parameter");
}

void TParameterForm::buildControls()
{
    groupCombo_ = new QComboBox(this);
    groupCombo_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    sg_ = new QTableView(this);
    sg_->setModel(model_);
    sg_->setItemDelegate(new TParameterItemDelegate(model_, sg_));
    sg_->horizontalHeader()->hide();
    sg_->horizontalHeader()->setMinimumSectionSize(0);
    sg_->verticalHeader()->hide();
    sg_->verticalHeader()->setMinimumSectionSize(0);
    sg_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sg_->verticalHeader()->setDefaultSectionSize(RowHeight);
    sg_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Always there, so that the column widths, which leave room for it, fit either way.
    sg_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sg_->setSelectionBehavior(QAbstractItemView::SelectRows);
    sg_->setSelectionMode(QAbstractItemView::SingleSelection);
    sg_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                         QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    sg_->setWordWrap(false);
    sg_->installEventFilter(this);

    uploadButton_ = new QPushButton(QStringLiteral("&Upload"), this);
    downloadButton_ = new QPushButton(QStringLiteral("&Download"), this);
    helpButton_ = new QPushButton(QStringLiteral("&Param Help"), this);
    connect(uploadButton_, &QPushButton::clicked, this,
            &TParameterForm::ParameterUploadBitBtnClick);
    connect(downloadButton_, &QPushButton::clicked, this,
            &TParameterForm::ParameterDownloadBitBtnClick);
    connect(helpButton_, &QPushButton::clicked, this, &TParameterForm::ParamHelpBitBtnClick);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(uploadButton_);
    buttons->addWidget(downloadButton_);
    buttons->addStretch();
    buttons->addWidget(helpButton_);

    // The grid's frame and the page margin together take what the column widths leave.
    const int margin = std::max(0, (GridAllowance - 2 * sg_->frameWidth()) / 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->addWidget(groupCombo_);
    layout->addWidget(sg_, 1);
    layout->addLayout(buttons);
}

void TParameterForm::FormRefresh()
{
    if (!online()) {
        StopTransfer();
    }
    updateButtons();
    refill();
}

void TParameterForm::refill()
{
    const int groupIndex = std::max(0, groupCombo_->currentIndex());
    const bool sameGroup = groupIndex == model_->GroupIndex();
    const int row = sameGroup ? sg_->currentIndex().row() : -1;
    model_->Show(groupIndex, online());
    setupColwidth();
    if (model_->rowCount() > 0) {
        sg_->setCurrentIndex(model_->index(row >= 0 && row < model_->rowCount() ? row : 0,
                                           TParameterTableModel::NameColumn));
    }
}

void TParameterForm::setupColwidth()
{
    const QWidget* parent = sg_->parentWidget();
    const int width =
        parent->width() - GridAllowance - sg_->verticalScrollBar()->sizeHint().width();
    const int half = width / 2;
    const bool withPictures = model_->Online();
    sg_->setColumnWidth(TParameterTableModel::NameColumn, half);
    sg_->setColumnWidth(TParameterTableModel::ValueColumn,
                        withPictures ? half - 2 * PictureColumnWidth : half);
    sg_->setColumnWidth(TParameterTableModel::UploadColumn, withPictures ? PictureColumnWidth : 0);
    sg_->setColumnWidth(TParameterTableModel::DownloadColumn,
                        withPictures ? PictureColumnWidth : 0);
}

void TParameterForm::updateButtons()
{
    const bool enabled = online() && Idle();
    uploadButton_->setEnabled(enabled);
    downloadButton_->setEnabled(enabled);
}

bool TParameterForm::online() const
{
    return network_ && network_->IsOnline();
}

void TParameterForm::cellClicked(const QModelIndex& index)
{
    TDevParameterClass* parameter = model_->ParameterAt(index.row());
    if (!parameter || !online() || !Idle()) {
        return;
    }
    if (index.column() == TParameterTableModel::UploadColumn) {
        transfer_->UploadOne(parameter);
    } else if (index.column() == TParameterTableModel::DownloadColumn) {
        transfer_->DownloadOne(parameter);
    }
}

void TParameterForm::ParamHelpBitBtnClick()
{
    const TDevParameterClass* parameter =
        model_->ParameterAt(std::max(0, sg_->currentIndex().row()));
    if (parameter) {
        UserPrompt::current().ask(ShownHelpText(*parameter), PromptIcon::Information,
                                  {PromptButton::Ok}, parameter->DisplayName());
    }
}

void TParameterForm::showRefusedText(const QString& caption, const QString& reason)
{
    UserPrompt::current().ask(reason, PromptIcon::Error, {PromptButton::Ok}, caption);
}

void TParameterForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    setupColwidth();
    if (shownBefore_) {
        return;
    }
    shownBefore_ = true;
    // Asked once the window is on the screen, so the user sees what the question is about.
    if (online()) {
        QMetaObject::invokeMethod(this, &TParameterForm::askUploadOnEntry, Qt::QueuedConnection);
    }
}

void TParameterForm::askUploadOnEntry()
{
    if (online() && Idle() && UserPrompt::current().confirmYesNo(UploadQuestion)) {
        runGroupTransfer(Direction::Upload);
    }
}

void TParameterForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    setupColwidth();
}

bool TParameterForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == sg_) {
        // F1 in the grid is the parameter's help, ahead of the device window's own help key.
        const bool isKey =
            event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
        if (isKey && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
            static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
            event->accept();
            if (event->type() == QEvent::KeyPress) {
                ParamHelpBitBtnClick();
            }
            return true;
        }
    } else if (watched == watchedWindow_ && event->type() == QEvent::Hide &&
               !watchedWindow_->isVisible()) {
        StopTransfer();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace corvix
