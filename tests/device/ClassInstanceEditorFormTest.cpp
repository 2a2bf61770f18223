// The class/instance editor's page on its own, offscreen and without a driver.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "app/ScriptedPrompt.h"
#include "device/DeviceNetDevice.h"
#include "device/ui/AdvancedForm.h"
#include "device/ui/ClassInstanceDataEdit.h"
#include "device/ui/ClassInstanceEditorForm.h"
#include "device/ui/ClassInstanceNumberEdit.h"
#include "network/DeviceNetWork.h"

namespace corvix {
namespace {

// A key pressed on a widget; text is what the key types.
void Press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
           const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
}

void Type(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        Press(widget, c.toUpper().unicode(), Qt::NoModifier, QString(c));
    }
}

class ClassInstanceEditorFormTest : public ::testing::Test {
protected:
    void SetUp() override { UserPrompt::setCurrent(&prompt); }
    void TearDown() override { UserPrompt::setCurrent(nullptr); }

    ScriptedPrompt prompt;
    TDeviceNetWork network;
    std::unique_ptr<TDeviceNetDevice> device =
        TDeviceNetDevice::CreateWithoutEds(nullptr, 5, 1, 2, 3, 4);
    TClassInstanceeditorForm form{&network, device.get()};
    const TClassInstanceeditorForm::Controls& c = form.controls();
};

TEST_F(ClassInstanceEditorFormTest, StartsAsAGetOfIdentityAttributeOne)
{
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Class/Instance editor"));
    EXPECT_EQ(c.Label4->text(), QStringLiteral("Service:"));
    EXPECT_EQ(c.GetRadio->text(), QStringLiteral("Get attribute"));
    EXPECT_TRUE(c.GetRadio->isChecked());
    EXPECT_EQ(c.SetRadio->text(), QStringLiteral("Set attribute "));
    EXPECT_EQ(c.ServiceEdit->text(), QStringLiteral("0x0e"));
    EXPECT_EQ(c.Label1->text(), QStringLiteral("Class:"));
    EXPECT_EQ(c.ClassCombo->count(), 39);
    EXPECT_EQ(c.ClassCombo->currentText(), QStringLiteral("01 Identity"));
    EXPECT_EQ(c.ClassEdit->text(), QStringLiteral("0x01"));
    EXPECT_EQ(c.Label2->text(), QStringLiteral("Instance:"));
    EXPECT_EQ(c.InstanceEdit->text(), QStringLiteral("0x01"));
    EXPECT_EQ(c.Label3->text(), QStringLiteral("Attribute:"));
    EXPECT_EQ(c.AttributeEdit->text(), QStringLiteral("0x01"));
    EXPECT_TRUE(c.AttributeEdit->isEnabled());
    EXPECT_EQ(c.SendAttribute->text(), QStringLiteral("Send Attribute"));
    EXPECT_TRUE(c.SendAttribute->isChecked());
    EXPECT_EQ(c.SimpleCheck->text(), QStringLiteral("Simple"));
    EXPECT_TRUE(c.SimpleCheck->isChecked());
    EXPECT_EQ(c.Button1->text(), QStringLiteral("Send Request"));
    EXPECT_FALSE(c.Button1->isEnabled());  // the network is offline
    EXPECT_EQ(c.DataGroup->title(), QStringLiteral("Data to send"));
    EXPECT_EQ(c.ReceivedGroup->title(), QStringLiteral("Received data"));
    EXPECT_TRUE(c.RichEdit1->toPlainText().isEmpty());
    EXPECT_TRUE(c.RichEdit2->isReadOnly());
}

TEST_F(ClassInstanceEditorFormTest, SimpleFormOffersNamesAndTheFullFormNumbers)
{
    form.show();
    const auto shown = [&] {
        return QList<bool>{c.ClassCombo->isVisible(), c.GetRadio->isVisible(),
                           c.SetRadio->isVisible(), c.ClassEdit->isVisible(),
                           c.ServiceEdit->isVisible()};
    };
    EXPECT_EQ(shown(), (QList<bool>{true, true, true, false, false}));
    c.SimpleCheck->click();
    EXPECT_EQ(shown(), (QList<bool>{false, false, false, true, true}));
    c.SimpleCheck->click();
    EXPECT_EQ(shown(), (QList<bool>{true, true, true, false, false}));

    c.SetRadio->click();
    EXPECT_EQ(c.ServiceEdit->text(), QStringLiteral("0x10"));
    c.GetRadio->click();
    EXPECT_EQ(c.ServiceEdit->text(), QStringLiteral("0x0e"));
    c.ClassCombo->setCurrentIndex(c.ClassCombo->findText(QStringLiteral("2A AC/DC Drive")));
    EXPECT_EQ(c.ClassEdit->text(), QStringLiteral("0x2A"));
    c.SendAttribute->click();
    EXPECT_FALSE(c.AttributeEdit->isEnabled());
    c.SendAttribute->click();
    EXPECT_TRUE(c.AttributeEdit->isEnabled());
}

TEST_F(ClassInstanceEditorFormTest, SpinKeysStepTheFieldInItsOwnForm)
{
    form.show();
    c.InstanceEdit->SetText(QStringLiteral("0xFF"));
    Press(c.InstanceEdit, Qt::Key_Up);
    EXPECT_EQ(c.InstanceEdit->text(), QStringLiteral("0x100"));
    c.InstanceEdit->SetText(QStringLiteral("65535"));
    Press(c.InstanceEdit, Qt::Key_Up);
    EXPECT_EQ(c.InstanceEdit->text(), QStringLiteral("65535"));
    Press(c.InstanceEdit, Qt::Key_Down);
    EXPECT_EQ(c.InstanceEdit->text(), QStringLiteral("65534"));
}

TEST_F(ClassInstanceEditorFormTest, DataTakesOnlyHexDigitsTypedOrPasted)
{
    form.show();
    c.RichEdit1->setFocus();
    Type(c.RichEdit1, QStringLiteral("01 02ab!z"));
    EXPECT_EQ(c.RichEdit1->toPlainText(), QStringLiteral("01 02 AB"));
    Press(c.RichEdit1, Qt::Key_Return);  // no line break
    Press(c.RichEdit1, Qt::Key_Backspace);
    Press(c.RichEdit1, Qt::Key_Backspace);
    EXPECT_EQ(c.RichEdit1->toPlainText(), QStringLiteral("01 02 "));
    Press(c.RichEdit1, Qt::Key_Backspace);
    QApplication::clipboard()->setText(QStringLiteral("ff, ee\n0d"));
    c.RichEdit1->paste();
    EXPECT_EQ(c.RichEdit1->toPlainText(), QStringLiteral("01 02 FF EE 0D"));
    // A selection is replaced by what is typed over it.
    c.RichEdit1->selectAll();
    Type(c.RichEdit1, QStringLiteral("7"));
    EXPECT_EQ(c.RichEdit1->toPlainText(), QStringLiteral("7"));
}

TEST_F(ClassInstanceEditorFormTest, EachGroupBoxKeepsHalfOfTheHeight)
{
    form.show();
    for (const QSize size : {QSize(500, 480), QSize(700, 300), QSize(420, 900)}) {
        form.resize(size);
        QApplication::processEvents();
        const int data = c.DataGroup->height();
        const int received = c.ReceivedGroup->height();
        EXPECT_LE(std::abs(data - received), 1) << size.width() << "x" << size.height();
        EXPECT_GE(data + received, form.height() / 2);
    }
}

TEST_F(ClassInstanceEditorFormTest, SendingOnlineWithoutDriverSaysSoAfterTakingTheNamedClass)
{
    c.ClassCombo->setCurrentIndex(c.ClassCombo->findText(QStringLiteral("0F Parameter")));
    c.SimpleCheck->click();
    c.ClassEdit->SetText(QStringLiteral("0x03"));
    c.SimpleCheck->click();
    c.RichEdit2->setPlainText(QStringLiteral("old reply"));

    // Offline the button is disabled, and so are its keys.
    Press(c.InstanceEdit, Qt::Key_Return);
    EXPECT_TRUE(prompt.texts().isEmpty());

    network.NetworkStatus = CORVIX_NET_ONLINE;
    form.Activate();
    ASSERT_TRUE(c.Button1->isEnabled());
    Press(c.InstanceEdit, Qt::Key_Return);
    EXPECT_EQ(prompt.texts(), QStringList{"DLL not found..."});
    EXPECT_EQ(c.ClassEdit->text(), QStringLiteral("0x0F"));
    EXPECT_TRUE(c.RichEdit2->toPlainText().isEmpty());
    Press(c.RichEdit1, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(prompt.texts().size(), 2);

    network.NetworkStatus = CORVIX_NET_BUS_OFF;
    form.Activate();
    EXPECT_FALSE(c.Button1->isEnabled());
}

TEST(AdvancedForm, HoldsTheEditorAsItsOnePage)
{
    TDeviceNetWork network;
    const auto device = TDeviceNetDevice::CreateWithoutEds(nullptr, 5, 1, 2, 3, 4);
    TAdvancedform advanced(&network, device.get());
    EXPECT_EQ(TAdvancedform::Caption(), QStringLiteral("Advan&ced"));
    const auto* pages = advanced.findChild<QTabWidget*>();
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->count(), 1);
    EXPECT_EQ(pages->tabText(0), QStringLiteral("Class/Instance editor"));
    EXPECT_EQ(pages->widget(0), &advanced.Editor());

    network.NetworkStatus = CORVIX_NET_ONLINE;
    advanced.Activate();
    EXPECT_TRUE(advanced.Editor().controls().Button1->isEnabled());
    network.NetworkStatus = CORVIX_NET_OFFLINE;
    advanced.Activate();
    EXPECT_FALSE(advanced.Editor().controls().Button1->isEnabled());
}

}  // namespace
}  // namespace corvix
