#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace corvix {

// Follows an upload or download of a whole parameter group: "Processing parameter request k/n"
// over a progress bar, and a Cancel button. While it is shown no other window of the program
// takes input, so nothing can be edited or closed under the running transfer; it has no close
// button of its own, only Cancel (or Escape), which asks its owner to stop.
class TParameteprogressdialog : public QDialog {
    Q_OBJECT
public:
    TParameteprogressdialog(int total, QWidget* parent);

    // position: the request being processed, counting from 1.
    void Advance(const QString& text, int position);

    QLabel& Label1() const { return *label_; }
    QProgressBar& ProgressBar1() const { return *bar_; }
    QPushButton& Button1() const { return *cancel_; }

    // Cancel and Escape only ask; the owner closes the window when the transfer has ended.
    void reject() override;

Q_SIGNALS:
    void cancelled();

private:
    QLabel* label_;
    QProgressBar* bar_;
    QPushButton* cancel_;
};

}  // namespace corvix
