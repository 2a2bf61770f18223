#pragma once

#include <QDialog>

#include "library/EdsWizardLog.h"

class QPlainTextEdit;

namespace corvix {

// A plain window that lists what an EDS installation reported, line by line, so the user sees
// which files were installed and why others were refused.
class TInstallLogWindow : public QDialog, public EdsWizardLog {
    Q_OBJECT
public:
    explicit TInstallLogWindow(QWidget* parent = nullptr);

    void AddLogLine(const QString& line) override;
    QStringList Lines() const;

private:
    QPlainTextEdit* text_;
};

}  // namespace corvix
