#pragma once

#include <QAbstractTableModel>

namespace corvix {

class TDevParameterClass;
class TDeviceNetDevice;

// The parameter's help text as the hint and the help box show it: its lines are broken by
// carriage returns alone, which Qt would run together on one line.
QString ShownHelpText(const TDevParameterClass& parameter);

// The rows of the parameter grid: the parameters of one group of a device, one row each. Texts,
// colours and hints are asked of the parameter when the view paints a cell, so a device with a
// thousand parameters costs no more than the rows on screen.
//
// Columns: the display name, the value with its units (the only editable one, for writable
// parameters), and while online the upload and the download picture (the latter only for
// writable parameters).
class TParameterTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn, ValueColumn, UploadColumn, DownloadColumn, ColumnCount };

    explicit TParameterTableModel(TDeviceNetDevice* device, QObject* parent = nullptr);

    // Shows the parameters of the group (0 is "All Parameters"), with the transfer pictures
    // when online.
    void Show(int groupIndex, bool online);
    int GroupIndex() const { return groupIndex_; }
    bool Online() const { return online_; }

    TDevParameterClass* ParameterAt(int row) const;
    // The value or the request state of this parameter changed: its rows are painted again.
    void ParameterChanged(int parameterNumber);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Hands the text to the parameter; a value out of range leaves the old one. A text the
    // parameter cannot read is refused and reported through userTextRefused.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

Q_SIGNALS:
    // caption: the parameter's display name; reason: why its data type refused the text.
    void userTextRefused(const QString& caption, const QString& reason);

private:
    QVariant hint(const TDevParameterClass& parameter, int column) const;

    TDeviceNetDevice* device_;
    int groupIndex_ = 0;
    int rows_ = 0;
    bool online_ = false;
};

}  // namespace corvix
