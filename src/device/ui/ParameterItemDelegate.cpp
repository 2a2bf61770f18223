#include "device/ui/ParameterItemDelegate.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPainter>

#include "device/DevParameterClass.h"
#include "device/ui/ParameterTableModel.h"

namespace corvix {

namespace {

// A pale selection, so that the value keeps the colour of its request state when selected.
const QColor SelectedRowColour(0xCC, 0xE4, 0xF7);

}  // namespace

TParameterItemDelegate::TParameterItemDelegate(TParameterTableModel* model, QObject* parent)
    : QStyledItemDelegate(parent), model_(model)
{
}

QWidget* TParameterItemDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                              const QModelIndex& index) const
{
    const TDevParameterClass* parameter = model_->ParameterAt(index.row());
    if (!parameter || parameter->EnumStrings().isEmpty()) {
        auto* line = new QLineEdit(parent);
        line->setFrame(false);
        return line;
    }
    auto* list = new QComboBox(parent);
    list->addItems(parameter->EnumStrings());
    // Picking an entry is the whole edit: no Enter or click elsewhere needed to take it.
    connect(list, &QComboBox::activated, this, &TParameterItemDelegate::commitAndCloseList);
    return list;
}

void TParameterItemDelegate::commitAndCloseList()
{
    auto* list = qobject_cast<QComboBox*>(sender());
    Q_EMIT commitData(list);
    Q_EMIT closeEditor(list);
}

void TParameterItemDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QString value = index.data(Qt::EditRole).toString();
    if (auto* list = qobject_cast<QComboBox*>(editor)) {
        list->setCurrentIndex(list->findText(value));
    } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setText(value);
    }
}

void TParameterItemDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                          const QModelIndex& index) const
{
    if (auto* list = qobject_cast<QComboBox*>(editor)) {
        if (list->currentIndex() >= 0) {
            model->setData(index, list->currentText());
        }
    } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        model->setData(index, line->text());
    }
}

void TParameterItemDelegate::initStyleOption(QStyleOptionViewItem* option,
                                             const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->state & QStyle::State_Selected) {
        option->backgroundBrush = SelectedRowColour;
        option->state &= ~QStyle::State_Selected;
    }
}

void TParameterItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const
{
    const QVariant picture = index.data(Qt::DecorationRole);
    if (picture.isNull()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The column is barely wider than the picture: the style's margins would push it aside.
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    painter->fillRect(cell.rect, cell.backgroundBrush);
    const QPixmap pixmap = picture.value<QPixmap>();
    painter->drawPixmap(cell.rect.x() + (cell.rect.width() - pixmap.width()) / 2,
                        cell.rect.y() + (cell.rect.height() - pixmap.height()) / 2, pixmap);
}

}  // namespace corvix
