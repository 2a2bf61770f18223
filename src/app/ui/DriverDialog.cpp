#include "app/ui/DriverDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvix {

TDriverDialog::TDriverDialog(const QList<DriverListEntry>& drivers, QWidget* parent)
    : QDialog(parent)
{
    // No close button: the dialog ends through OK, a double click or Cancel.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QStringLiteral("Driver Dialog"));

    list_ = new QListWidget(this);
    list_->setIconSize(QSize(32, 32));
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (const DriverListEntry& driver : drivers) {
        auto* item = new QListWidgetItem(QIcon(driver.iconFile), driver.caption, list_);
        item->setToolTip(driver.hint());
    }
    auto* group = new QGroupBox(QStringLiteral("Select a Driver"), this);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(list_);

    ok_ = new QPushButton(QStringLiteral("&Ok"), this);
    auto* cancel = new QPushButton(QStringLiteral("C&ancel"), this);
    ok_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    resize(360, 260);

    connect(ok_, &QPushButton::clicked, this, &TDriverDialog::acceptEntry);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &TDriverDialog::acceptEntry);
    connect(list_, &QListWidget::itemSelectionChanged, this, &TDriverDialog::updateOk);
    if (list_->count() > 0) {
        list_->setCurrentRow(0);
    }
    updateOk();
    ok_->setFocus();
}

void TDriverDialog::updateOk()
{
    ok_->setEnabled(!list_->selectedItems().isEmpty());
}

void TDriverDialog::acceptEntry()
{
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    choice_ = list_->row(selected.first()) + 1;
    accept();
}

int TDriverDialog::Choose(const QList<DriverListEntry>& drivers, QWidget* parent)
{
    TDriverDialog dialog(drivers, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.Choice() : -1;
}

}  // namespace corvix
