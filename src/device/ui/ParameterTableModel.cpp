#include "device/ui/ParameterTableModel.h"

#include <QColor>

#include "app/CorvixError.h"
#include "device/DevParameterClass.h"
#include "device/DeviceNetDevice.h"
#include "device/ui/ParameterIcons.h"

namespace corvix {

namespace {

const QColor TextColour(0x00, 0x00, 0x80);  // navy
const QColor OddRowColour(0xEE, 0xEE, 0xEE);
const QColor EvenRowColour(Qt::white);

}  // namespace

QString ShownHelpText(const TDevParameterClass& parameter)
{
    QString text = parameter.HelpText();
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
}

TParameterTableModel::TParameterTableModel(TDeviceNetDevice* device, QObject* parent)
    : QAbstractTableModel(parent), device_(device)
{
}

void TParameterTableModel::Show(int groupIndex, bool online)
{
    beginResetModel();
    groupIndex_ = groupIndex;
    online_ = online;
    rows_ = device_->ParameterCount(groupIndex);
    endResetModel();
}

TDevParameterClass* TParameterTableModel::ParameterAt(int row) const
{
    return row < rows_ ? device_->ParameterAt(groupIndex_, row) : nullptr;
}

void TParameterTableModel::ParameterChanged(int parameterNumber)
{
    // A parameter may belong to a group more than once; every row of it is repainted.
    for (int row = 0; row < rows_; ++row) {
        if (ParameterAt(row)->Number() == parameterNumber) {
            Q_EMIT dataChanged(index(row, NameColumn), index(row, DownloadColumn));
        }
    }
}

int TParameterTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int TParameterTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TParameterTableModel::data(const QModelIndex& index, int role) const
{
    TDevParameterClass* parameter = ParameterAt(index.row());
    if (!parameter) {
        return {};
    }
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
            if (column == NameColumn) return parameter->DisplayName();
            if (column == ValueColumn) return parameter->GetDisplayValueWithUnits();
            return {};
        case Qt::EditRole:
            return column == ValueColumn ? QVariant(parameter->GetDisplayValue()) : QVariant();
        case Qt::DecorationRole:
            if (online_ && column == UploadColumn) return ParameterIcons::Upload();
            if (online_ && column == DownloadColumn && !parameter->IsReadOnly())
                return ParameterIcons::Download();
            return {};
        case Qt::ForegroundRole:
            if (column != ValueColumn) return TextColour;
            // Showing a value that cannot be shown turns it red; the colour must say so in the
            // same paint, and the view asks for the colour before the text.
            parameter->GetDisplayValue();
            return QColor::fromRgb(StateColourRgb(parameter->GetStateColour()));
        case Qt::BackgroundRole:
            return index.row() % 2 ? OddRowColour : EvenRowColour;
        case Qt::ToolTipRole:
            return hint(*parameter, column);
        default:
            return {};
    }
}

QVariant TParameterTableModel::hint(const TDevParameterClass& parameter, int column) const
{
    switch (column) {
        case NameColumn:
        case ValueColumn:
            return ShownHelpText(parameter);
        case UploadColumn:
            return online_ ? QStringLiteral("Single Upload") : QVariant();
        case DownloadColumn:
            return online_ && !parameter.IsReadOnly() ? QStringLiteral("Single download")
                                                      : QVariant();
        default:
            return {};
    }
}

Qt::ItemFlags TParameterTableModel::flags(const QModelIndex& index) const
{
    const TDevParameterClass* parameter = ParameterAt(index.row());
    if (!parameter) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == ValueColumn && !parameter->IsReadOnly()) {
        result |= Qt::ItemIsEditable;
    }
    return result;
}

bool TParameterTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    TDevParameterClass* parameter = ParameterAt(index.row());
    if (role != Qt::EditRole || index.column() != ValueColumn || !parameter ||
        parameter->IsReadOnly()) {
        return false;
    }
    try {
        parameter->SetFromUserText(value.toString());
    } catch (const CorvixError& error) {
        Q_EMIT userTextRefused(parameter->DisplayName(), error.message());
        return false;
    }
    Q_EMIT dataChanged(index, index);
    return true;
}

}  // namespace corvix
