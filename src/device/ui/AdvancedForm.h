#pragma once

#include <QWidget>

class QTabWidget;

namespace corvix {

class TClassInstanceeditorForm;
class TDeviceNetDevice;
class TDeviceNetWork;

// The device window's advanced page: a page control whose one page is the class/instance
// editor.
class TAdvancedform : public QWidget {
    Q_OBJECT
public:
    TAdvancedform(TDeviceNetWork* network, TDeviceNetDevice* device, QWidget* parent = nullptr);
    ~TAdvancedform() override;

    static QString Caption();  // "Advan&ced"
    TClassInstanceeditorForm& Editor() const { return *editor_; }
    // Page activation: "Send Request" is enabled exactly when the network is online.
    void Activate();

private:
    QTabWidget* pages_;
    TClassInstanceeditorForm* editor_;
};

}  // namespace corvix
