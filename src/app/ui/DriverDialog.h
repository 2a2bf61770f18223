#pragma once

#include <QDialog>

#include "network/DriverList.h"

class QListWidget;
class QPushButton;

namespace corvix {

// The driver choice: one entry per driver library with its icon, its name and its description
// as hint. Answers the chosen entry's index + 1, or -1 for Cancel.
class TDriverDialog : public QDialog {
    Q_OBJECT
public:
    explicit TDriverDialog(const QList<DriverListEntry>& drivers, QWidget* parent = nullptr);

    int Choice() const { return choice_; }

    // Shows the dialog, modal, and returns its answer.
    static int Choose(const QList<DriverListEntry>& drivers, QWidget* parent);

    QListWidget* List() const { return list_; }
    QPushButton* OkButton() const { return ok_; }

private:
    void updateOk();
    void acceptEntry();

    QListWidget* list_;
    QPushButton* ok_;
    int choice_ = -1;
};

}  // namespace corvix
