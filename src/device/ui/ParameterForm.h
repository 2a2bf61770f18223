#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

class QComboBox;
class QModelIndex;
class QPushButton;
class QTableView;

namespace corvix {

class TDeviceNetDevice;
class TDeviceNetWork;
class TParameteprogressdialog;
class TParameterGroupTransfer;
class TParameterTableModel;

// The "&Parameter" page of the device window: the parameters of a device in a grid, one group
// at a time, with their values edited in place, read from the device (upload) and written to it
// (download), one by one through the pictures of a row or a whole group through the buttons,
// and the help text of each.
//
// A group transfer runs inside the call that starts it (the buttons, the question when the page
// is first shown, SameAsNetWork) and keeps the program responsive while it waits for replies.
// Its progress window keeps the user out of every other window meanwhile. It ends when done, on
// Cancel, when the network goes offline, or when the device window is hidden or closed; the
// page merely being hidden behind another page of the device window does not end it. The device
// window destroys the page only while it is Idle(): wait for idleChanged(true) after
// StopTransfer().
class TParameterForm : public QWidget {
    Q_OBJECT
public:
    TParameterForm(TDeviceNetWork* network, TDeviceNetDevice* device, QWidget* parent = nullptr);
    ~TParameterForm() override;

    // The page's tab text.
    static QString Caption();

    // The page became active, a device file was loaded or the online state changed: buttons
    // and grid follow the network's state and the device's values.
    void FormRefresh();
    // Before the device window closes while online, while it is still on the screen: offers to
    // download the selected group when a writable parameter of it may hold a value the device
    // does not have, and runs that download before returning. Always false.
    bool SameAsNetWork();
    // No group transfer runs.
    bool Idle() const;
    // Ends a running group transfer; the reply under way is still shown.
    void StopTransfer();

    // What the buttons run: upload all, download all of the selected group, and the help of
    // the selected parameter.
    void ParameterUploadBitBtnClick();
    void ParameterDownloadBitBtnClick();
    void ParamHelpBitBtnClick();

    QComboBox& GroupCombo() const { return *groupCombo_; }
    QTableView& Grid() const { return *sg_; }
    QPushButton& ParameterUploadButton() const { return *uploadButton_; }
    QPushButton& ParameterDownloadButton() const { return *downloadButton_; }
    QPushButton& ParamHelpButton() const { return *helpButton_; }
    TParameterTableModel& Model() const { return *model_; }
    // The progress window of the running group transfer; nullptr when none runs.
    TParameteprogressdialog* ProgressDialog() const { return progress_; }

Q_SIGNALS:
    // A group transfer started (false) or ended (true).
    void idleChanged(bool idle);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Direction { Upload, Download };

    void buildControls();
    void connectTransfer();
    void refill();
    void setupColwidth();
    void updateButtons();
    bool online() const;
    void cellClicked(const QModelIndex& index);
    void askUploadOnEntry();
    void runGroupTransfer(Direction direction);
    void transferStarted(int total);
    void transferFinished();
    void showRefusedText(const QString& caption, const QString& reason);

    QPointer<TDeviceNetWork> network_;
    TDeviceNetDevice* device_;
    // Shared with a running group transfer's own call, which must outlive the page if the page
    // is destroyed under it.
    std::shared_ptr<TParameterGroupTransfer> transfer_;
    TParameterTableModel* model_;
    QComboBox* groupCombo_ = nullptr;
    QTableView* sg_ = nullptr;
    QPushButton* uploadButton_ = nullptr;
    QPushButton* downloadButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    TParameteprogressdialog* progress_ = nullptr;
    // The device window while a group transfer runs: hiding it ends the run.
    QPointer<QWidget> watchedWindow_;
    bool shownBefore_ = false;
};

}  // namespace corvix
