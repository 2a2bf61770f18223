#include "device/ui/ClassInstanceEditorForm.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "device/ClassInstanceFields.h"
#include "device/ClassInstanceSender.h"
#include "device/ui/ClassInstanceDataEdit.h"
#include "device/ui/ClassInstanceNumberEdit.h"
#include "network/DeviceNetWork.h"

namespace corvix {

namespace {

const QString GetAttributeService = QStringLiteral("0x0e");
const QString SetAttributeService = QStringLiteral("0x10");

template <typename Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A group box whose edit fills it.
QGroupBox* GroupAround(const QString& title, QWidget* edit, const char* name)
{
    auto* group = Named(new QGroupBox(title), name);
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(edit);
    return group;
}

}  // namespace

TClassInstanceeditorForm::TClassInstanceeditorForm(TDeviceNetWork* network,
                                                   TDeviceNetDevice* device, QWidget* parent)
    : QWidget(parent), network_(network), sender_(new TClassInstanceSender(network, device, this))
{
    setWindowTitle(Caption());
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(createRequestPanel());
    layout->addWidget(createDataPanel(), 1);

    connect(c_.GetRadio, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) c_.ServiceEdit->SetText(GetAttributeService);
    });
    connect(c_.SetRadio, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) c_.ServiceEdit->SetText(SetAttributeService);
    });
    connect(c_.ClassCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) c_.ClassEdit->SetText(ClassTextOfEntry(c_.ClassCombo->itemText(index)));
    });
    connect(c_.SendAttribute, &QCheckBox::toggled, c_.AttributeEdit, &QWidget::setEnabled);
    connect(c_.SimpleCheck, &QCheckBox::toggled, this, &TClassInstanceeditorForm::applySimpleForm);
    connect(c_.Button1, &QPushButton::clicked, this, &TClassInstanceeditorForm::Button1Click);
    // Enter in a number field or Ctrl+Enter in the data sends, as the button would.
    for (TClassInstanceNumberEdit* edit :
         {c_.ServiceEdit, c_.ClassEdit, c_.InstanceEdit, c_.AttributeEdit}) {
        connect(edit, &TClassInstanceNumberEdit::returnPressed, c_.Button1, &QPushButton::click);
    }
    connect(c_.RichEdit1, &TClassInstanceDataEdit::sendRequested, c_.Button1, &QPushButton::click);
    connect(sender_, &TClassInstanceSender::replyShown, c_.RichEdit2,
            &QPlainTextEdit::setPlainText);

    applySimpleForm();
    Activate();
}

TClassInstanceeditorForm::~TClassInstanceeditorForm() = default;

QString TClassInstanceeditorForm::Caption()
{
    return QStringLiteral("Class/Instance editor");
}

QWidget* TClassInstanceeditorForm::createRequestPanel()
{
    c_.Label4 = Named(new QLabel(QStringLiteral("Service:")), "Label4");
    c_.GetRadio = Named(new QRadioButton(QStringLiteral("Get attribute")), "GetRadio");
    c_.GetRadio->setChecked(true);
    c_.SetRadio = Named(new QRadioButton(QStringLiteral("Set attribute ")), "SetRadio");
    c_.ServiceEdit = Named(new TClassInstanceNumberEdit(GetAttributeService), "ServiceEdit");
    c_.Label1 = Named(new QLabel(QStringLiteral("Class:")), "Label1");
    c_.ClassCombo = Named(new QComboBox, "ClassCombo");
    c_.ClassCombo->addItems(ClassInstanceClassEntries());
    c_.ClassCombo->setCurrentIndex(0);
    // The panel stays narrow; the open list is as wide as its longest name.
    c_.ClassCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c_.ClassCombo->setMinimumContentsLength(12);
    c_.ClassCombo->view()->setMinimumWidth(c_.ClassCombo->view()->sizeHintForColumn(0) + 24);
    c_.ClassEdit = Named(new TClassInstanceNumberEdit(QStringLiteral("0x01")), "ClassEdit");
    c_.Label2 = Named(new QLabel(QStringLiteral("Instance:")), "Label2");
    c_.InstanceEdit = Named(new TClassInstanceNumberEdit(QStringLiteral("0x01")), "InstanceEdit");
    c_.Label3 = Named(new QLabel(QStringLiteral("Attribute:")), "Label3");
    c_.AttributeEdit = Named(new TClassInstanceNumberEdit(QStringLiteral("0x01")), "AttributeEdit");
    c_.SendAttribute = Named(new QCheckBox(QStringLiteral("Send Attribute")), "SendAttribute");
    c_.SendAttribute->setChecked(true);
    c_.SimpleCheck = Named(new QCheckBox(QStringLiteral("Simple")), "SimpleCheck");
    c_.SimpleCheck->setChecked(true);
    c_.Button1 = Named(new QPushButton(QStringLiteral("Send Request")), "Button1");

    // One width for the fields of both forms, so the data boxes stay put when the user
    // switches between them.
    QWidget* const fieldsOfBothForms[] = {c_.ClassCombo,   c_.GetRadio,  c_.SetRadio,
                                          c_.ServiceEdit,  c_.ClassEdit, c_.InstanceEdit,
                                          c_.AttributeEdit};
    int fieldWidth = 0;
    for (QWidget* field : fieldsOfBothForms) {
        fieldWidth = std::max(fieldWidth, field->sizeHint().width());
    }
    for (QWidget* field : fieldsOfBothForms) {
        field->setMinimumWidth(fieldWidth);
    }

    auto* service = new QVBoxLayout;
    service->addWidget(c_.GetRadio);
    service->addWidget(c_.SetRadio);
    service->addWidget(c_.ServiceEdit);
    auto* classChoice = new QVBoxLayout;
    classChoice->addWidget(c_.ClassCombo);
    classChoice->addWidget(c_.ClassEdit);

    auto* panel = Named(new QWidget, "LeftPanel");
    auto* form = new QFormLayout(panel);
    form->setContentsMargins(0, 0, 0, 0);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(c_.Label4, service);
    form->addRow(c_.Label1, classChoice);
    form->addRow(c_.Label2, c_.InstanceEdit);
    form->addRow(c_.Label3, c_.AttributeEdit);
    form->addRow(QString(), c_.SendAttribute);
    form->addRow(QString(), c_.SimpleCheck);
    form->addRow(c_.Button1);
    auto* column = new QWidget;
    auto* columnLayout = new QVBoxLayout(column);
    columnLayout->setContentsMargins(0, 0, 0, 0);
    columnLayout->addWidget(panel);
    columnLayout->addStretch(1);
    return column;
}

QWidget* TClassInstanceeditorForm::createDataPanel()
{
    const QFont bytesFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    c_.RichEdit1 = Named(new TClassInstanceDataEdit, "RichEdit1");
    c_.RichEdit1->setFont(bytesFont);
    c_.RichEdit2 = Named(new QPlainTextEdit, "RichEdit2");
    c_.RichEdit2->setReadOnly(true);
    c_.RichEdit2->setFont(bytesFont);
    c_.DataGroup = GroupAround(QStringLiteral("Data to send"), c_.RichEdit1, "DataGroup");
    c_.ReceivedGroup = GroupAround(QStringLiteral("Received data"), c_.RichEdit2, "ReceivedGroup");

    // Equal stretch and no height of their own: each box keeps half of the panel.
    auto* panel = Named(new QWidget, "RightPanel");
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QGroupBox* group : {c_.DataGroup, c_.ReceivedGroup}) {
        group->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
        layout->addWidget(group, 1);
    }
    return panel;
}

void TClassInstanceeditorForm::applySimpleForm()
{
    const bool simple = c_.SimpleCheck->isChecked();
    QWidget* const simpleOnly[] = {c_.ClassCombo, c_.GetRadio, c_.SetRadio};
    QWidget* const fullOnly[] = {c_.ClassEdit, c_.ServiceEdit};
    for (QWidget* widget : simpleOnly) {
        widget->setVisible(simple);
    }
    for (QWidget* widget : fullOnly) {
        widget->setVisible(!simple);
    }
}

void TClassInstanceeditorForm::Activate()
{
    applySimpleForm();
    c_.Button1->setEnabled(network_ && network_->IsOnline());
}

ClassInstanceFields TClassInstanceeditorForm::fields() const
{
    return {c_.ServiceEdit->text(),   c_.ClassEdit->text(),          c_.InstanceEdit->text(),
            c_.AttributeEdit->text(), c_.SendAttribute->isChecked(), c_.RichEdit1->toPlainText()};
}

void TClassInstanceeditorForm::Button1Click()
{
    c_.RichEdit2->clear();
    // The simple form sends the class chosen by name, whatever the full form's field holds.
    if (c_.SimpleCheck->isChecked() && c_.ClassCombo->currentIndex() >= 0) {
        c_.ClassEdit->SetText(ClassTextOfEntry(c_.ClassCombo->currentText()));
    }
    // The last step: the form may be gone once the driver has sent.
    sender_->Send(fields());
}

}  // namespace corvix
