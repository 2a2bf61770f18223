#include "TDrvBrindleForm.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSerialPortInfo>

namespace corvix::serial {

namespace {

const char* const LastPortName = "SerialCOMDriverLastCOMPort";
const char* const LastRateName = "SerialCOMDriverLastBaudRate";
const char* const LastMacName = "SerialCOMDriverLastMacID";

}  // namespace

TDrvBrindleForm::TDrvBrindleForm(const HostSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings)
{
    setWindowTitle(QStringLiteral("RS232 Interface"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QGridLayout(this);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox3 = new QComboBox(this);
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    layout->addWidget(new QLabel(QStringLiteral("COM-port:"), this), 0, 0);
    layout->addWidget(ComboBox1, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("DeviceNet Baudrate:"), this), 1, 0);
    layout->addWidget(ComboBox2, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("DeviceNet MAC ID:"), this), 2, 0);
    layout->addWidget(ComboBox3, 2, 1);
    auto* button1 = new QPushButton(QStringLiteral("Go Online"), this);
    button1->setObjectName(QStringLiteral("Button1"));
    button1->setDefault(true);
    auto* button2 = new QPushButton(QStringLiteral("Cancel"), this);
    button2->setObjectName(QStringLiteral("Button2"));
    layout->addWidget(button1, 3, 0);
    layout->addWidget(button2, 3, 1);
    connect(button1, &QPushButton::clicked, this, &TDrvBrindleForm::Button1Click);
    connect(button2, &QPushButton::clicked, this, &QDialog::reject);
    FormCreate();
}

void TDrvBrindleForm::FormCreate()
{
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts())
        ComboBox1->addItem(port.portName());
    ComboBox2->addItems({QStringLiteral("125 k"), QStringLiteral("250 k"), QStringLiteral("500 k"),
                         QStringLiteral("1Mbit")});
    for (int mac = 0; mac < CORVIX_MAC_ID_COUNT; ++mac)
        ComboBox3->addItem(QString::number(mac));
    int portIndex = 0;
    int rateIndex = 2;
    int macId = 63;
    if (settings_.readInteger != nullptr) {
        portIndex = settings_.readInteger(LastPortName, 0);
        rateIndex = settings_.readInteger(LastRateName, 2);
        macId = settings_.readInteger(LastMacName, 63);
    }
    // A stored index from another machine may point past this machine's lists.
    if (portIndex >= 0 && portIndex < ComboBox1->count())
        ComboBox1->setCurrentIndex(portIndex);
    ComboBox2->setCurrentIndex(rateIndex >= 0 && rateIndex < ComboBox2->count() ? rateIndex : 2);
    ComboBox3->setCurrentIndex(macId >= 0 && macId < CORVIX_MAC_ID_COUNT ? macId : 63);
}

void TDrvBrindleForm::Button1Click()
{
    if (settings_.writeInteger != nullptr) {
        settings_.writeInteger(LastPortName, ComboBox1->currentIndex());
        settings_.writeInteger(LastRateName, ComboBox2->currentIndex());
        settings_.writeInteger(LastMacName, ComboBox3->currentIndex());
    }
    accept();
}

LineSettings TDrvBrindleForm::chosen() const
{
    return {ComboBox1->currentText(), ComboBox3->currentIndex(), ComboBox2->currentIndex()};
}

}  // namespace corvix::serial
