#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace corvix {

class TDeviceNetDevice;

// The "&EDS" page of a device window: the device's EDS information lines (file, vendor,
// product, revision, ...), read-only, scrolling both ways so that long lines stay whole.
class TEDSForm : public QWidget {
    Q_OBJECT
public:
    explicit TEDSForm(const TDeviceNetDevice& device, QWidget* parent = nullptr);

    QPlainTextEdit& EdsIdInfo() const { return *edsIdInfo_; }

private:
    QPlainTextEdit* edsIdInfo_;
};

}  // namespace corvix
