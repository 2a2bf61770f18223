#pragma once

#include <QStyledItemDelegate>

namespace corvix {

class TParameterTableModel;

// Paints and edits the cells of the parameter grid. A value with enumeration strings is chosen
// from a drop-down list of them and taken as soon as it is picked; any other value is typed into
// a line that starts with the value without its units. The transfer pictures sit centred in their
// narrow columns, and a selected row keeps the state colours of its texts.
class TParameterItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TParameterItemDelegate(TParameterTableModel* model, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    void commitAndCloseList();

    TParameterTableModel* model_;
};

}  // namespace corvix
