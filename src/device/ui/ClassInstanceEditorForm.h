#pragma once

#include <QPointer>
#include <QWidget>

#include "device/ClassInstanceRequest.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace corvix {

class TClassInstanceDataEdit;
class TClassInstanceNumberEdit;
class TClassInstanceSender;
class TDeviceNetDevice;
class TDeviceNetWork;

// The class/instance editor: composes one explicit request (service, class, instance, optional
// attribute, data typed as hexadecimal bytes), sends it to the device and shows the reply. The
// simple form offers the common services and classes by name, the full form any number.
class TClassInstanceeditorForm : public QWidget {
    Q_OBJECT
public:
    TClassInstanceeditorForm(TDeviceNetWork* network, TDeviceNetDevice* device,
                             QWidget* parent = nullptr);
    ~TClassInstanceeditorForm() override;

    static QString Caption();  // "Class/Instance editor"

    // Page activation: "Send Request" is enabled exactly when the network is online.
    void Activate();
    // "Send Request".
    void Button1Click();

    // The controls, under their designer names; each edit includes its spin buttons.
    struct Controls {
        QLabel* Label4;
        QRadioButton* GetRadio;
        QRadioButton* SetRadio;
        TClassInstanceNumberEdit* ServiceEdit;
        QLabel* Label1;
        QComboBox* ClassCombo;
        TClassInstanceNumberEdit* ClassEdit;
        QLabel* Label2;
        TClassInstanceNumberEdit* InstanceEdit;
        QLabel* Label3;
        TClassInstanceNumberEdit* AttributeEdit;
        QCheckBox* SendAttribute;
        QCheckBox* SimpleCheck;
        QPushButton* Button1;
        QGroupBox* DataGroup;
        TClassInstanceDataEdit* RichEdit1;
        QGroupBox* ReceivedGroup;
        QPlainTextEdit* RichEdit2;
    };
    const Controls& controls() const { return c_; }
    const TClassInstanceSender& Sender() const { return *sender_; }

private:
    QWidget* createRequestPanel();
    QWidget* createDataPanel();
    void applySimpleForm();
    ClassInstanceFields fields() const;

    QPointer<TDeviceNetWork> network_;
    Controls c_{};
    TClassInstanceSender* sender_;
};

}  // namespace corvix
