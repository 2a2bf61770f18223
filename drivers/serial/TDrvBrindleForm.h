#pragma once

#include "line/SerialLine.h"

#include <CorvixDriverContract.h>

#include <QDialog>

class QComboBox;

namespace corvix::serial {

// The settings functions the host registered; null until it does.
struct HostSettings {
    CorvixReadIntegerFn readInteger = nullptr;
    CorvixWriteIntegerFn writeInteger = nullptr;
};

// The set-up window "RS232 Interface": port, DeviceNet data rate and the adapter's MAC ID.
// Created only when shown, so the driver runs without widgets when handed a settings text.
class TDrvBrindleForm : public QDialog {
    Q_OBJECT
public:
    TDrvBrindleForm(const HostSettings& settings, QWidget* parent = nullptr);

    // What "Go Online" chose; call after the window closed with Accepted.
    LineSettings chosen() const;

    QComboBox* ComboBox1 = nullptr;  // COM ports; a device path may be typed in
    QComboBox* ComboBox2 = nullptr;  // data rate
    QComboBox* ComboBox3 = nullptr;  // MAC ID

private:
    void FormCreate();
    void Button1Click();

    HostSettings settings_;
};

}  // namespace corvix::serial
