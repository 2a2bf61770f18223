// The class/instance editor end to end: requests composed in the page go through the real
// serial driver library to a simulated node behind the adapter on a pseudo-terminal, and the
// node's replies come back into the page.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/CallbackThunk.h"
#include "app/ScriptedPrompt.h"
#include "app/StatusText.h"
#include "core/PtyFrontEnd.h"
#include "drivers/SimulatedSerialLine.h"
#include "device/ClassInstanceSender.h"
#include "device/DeviceNetDevice.h"
#include "device/ui/AdvancedForm.h"
#include "device/ui/ClassInstanceDataEdit.h"
#include "device/ui/ClassInstanceEditorForm.h"
#include "device/ui/ClassInstanceNumberEdit.h"
#include "network/DeviceNetWork.h"
#include "support/Screenshot.h"
#include "support/WaitFor.h"

using namespace corvix;
using namespace corvix::sim;
using corvix::test::GoOnlineThroughSerialDriver;
using corvix::test::WaitFor;

namespace {

constexpr int NodeMac = 5;
constexpr int AbsentMac = 9;

long LiveThunks()
{
    return thunk_detail::ClosureBase::liveCount();
}

// A node with the Identity object and two USINT parameters, 1 and 300 (a 16-bit instance).
SimNode Node()
{
    SimNode node;
    node.macId = NodeMac;
    node.identity = {1, 0x0002, 0x11, 2, 3, 0, 0x1005u, QStringLiteral("Demo Drive")};
    for (const std::uint16_t instance : {1, 300}) {
        SimParameter parameter;
        parameter.instance = instance;
        parameter.name = QStringLiteral("P%1").arg(instance);
        parameter.dataType = 0xC6;
        parameter.dataSize = 1;
        parameter.value = QByteArray(1, char(instance == 1 ? 4 : 5));
        parameter.minimum = QByteArray(1, 0);
        parameter.maximum = QByteArray(1, 10);
        node.parameters.parameters.append(parameter);
    }
    return node;
}

class ClassInstanceEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UserPrompt::setCurrent(&prompt);
        simulated.addNode(Node());
        pty.emplace(simulated, false);
        // Every request a node sees, as the simulator describes it, without its outcome:
        // "MAC 5 Get_Attribute_Single (0E) class 01 instance 1 attribute 1".
        pty->adapter().log = [this](const QString& line) {
            requests.append(line.section(QStringLiteral(" -> "), 0, 0).section(u' ', 1));
        };
        ASSERT_TRUE(GoOnlineThroughSerialDriver(network, *pty));
        ASSERT_NE(network.DeviceAt(NodeMac), nullptr);
        requests.clear();
        UserPrompt::setCurrent(&asked);
        form = std::make_unique<TClassInstanceeditorForm>(&network, network.DeviceAt(NodeMac));
        form->Activate();
    }
    void TearDown() override
    {
        form.reset();
        network.ReleaseDriver();
        UserPrompt::setCurrent(nullptr);
    }

    const TClassInstanceeditorForm::Controls& c() const { return form->controls(); }

    // The full form with these fields; data is put in as it stands.
    void Fill(const char* service, const char* classId, const char* instance, const char* attribute,
              bool sendAttribute = true, const char* data = "")
    {
        if (c().SimpleCheck->isChecked()) c().SimpleCheck->click();
        c().ServiceEdit->SetText(QString::fromLatin1(service));
        c().ClassEdit->SetText(QString::fromLatin1(classId));
        c().InstanceEdit->SetText(QString::fromLatin1(instance));
        c().AttributeEdit->SetText(QString::fromLatin1(attribute));
        if (c().SendAttribute->isChecked() != sendAttribute) c().SendAttribute->click();
        c().RichEdit1->setPlainText(QString::fromLatin1(data));
    }
    // Sends with the button and waits until the reply has been handled.
    void SendAndWait()
    {
        c().Button1->click();
        ASSERT_TRUE(WaitFor([&] { return form->Sender().Outstanding() == 0; }));
    }
    QString Shown() const { return c().RichEdit2->toPlainText(); }

    ScriptedPrompt prompt;
    ScriptedPrompt asked;  // what the editor says, once online
    SimNetwork simulated;
    std::optional<PtyFrontEnd> pty;
    TDeviceNetWork network;
    QStringList requests;
    std::unique_ptr<TClassInstanceeditorForm> form;
};

TEST_F(ClassInstanceEditorTest, GetAttributeSingleShowsTheReplyBytes)
{
    ASSERT_TRUE(c().Button1->isEnabled());
    SendAndWait();  // as the page starts: Identity, instance 1, attribute 1 (vendor ID)
    EXPECT_EQ(requests,
              QStringList{"MAC 5 Get_Attribute_Single (0E) class 01 instance 1 attribute 1"});
    EXPECT_EQ(Shown(), QStringLiteral("01 00 "));
    EXPECT_TRUE(asked.texts().isEmpty());
}

TEST_F(ClassInstanceEditorTest, RequestsReachTheNodeAsComposed)
{
    const struct {
        const char* name;
        const char* fields[4];
        bool sendAttribute;
        const char* data;
        QString request;
        QString shown;
    } cases[] = {
        {"error reply shows its general status",
         {"0x0e", "0x01", "0x01", "99"},
         true,
         "",
         "MAC 5 Get_Attribute_Single (0E) class 01 instance 1 attribute 99",
         StatusText(0x14)},
        {"set with data",
         {"0x10", "0x0F", "1", "1"},
         true,
         "07",
         "MAC 5 Set_Attribute_Single (10) class 0F instance 1 attribute 1 data 07",
         ""},
        {"whole instance without attribute",
         {"1", "1", "1", "1"},
         false,
         "",
         "MAC 5 Get_Attributes_All (01) class 01 instance 1",
         "01 00 02 00 11 00 02 03 "},  // vendor, type, product code, revision; more follows
        {"16-bit instance",
         {"0x0e", "0x0f", "300", "1"},
         true,
         "",
         "MAC 5 Get_Attribute_Single (0E) class 0F instance 300 attribute 1",
         "05 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        requests.clear();
        Fill(c.fields[0], c.fields[1], c.fields[2], c.fields[3], c.sendAttribute, c.data);
        SendAndWait();
        EXPECT_EQ(requests, QStringList{c.request});
        EXPECT_TRUE(Shown().startsWith(c.shown)) << Shown().toStdString();
    }
    EXPECT_EQ(simulated.node(NodeMac)->parameters.find(1)->value, QByteArray(1, 7));
    EXPECT_TRUE(asked.texts().isEmpty());
}

TEST_F(ClassInstanceEditorTest, TheSimpleFormSendsTheClassChosenByName)
{
    c().ClassCombo->setCurrentIndex(c().ClassCombo->findText(QStringLiteral("0F Parameter")));
    c().SimpleCheck->click();
    c().ClassEdit->SetText(QStringLiteral("0x03"));
    c().SimpleCheck->click();
    SendAndWait();
    EXPECT_EQ(requests,
              QStringList{"MAC 5 Get_Attribute_Single (0E) class 0F instance 1 attribute 1"});
    EXPECT_EQ(Shown(), QStringLiteral("04 "));
}

TEST_F(ClassInstanceEditorTest, RefusedRequestsNeverReachTheNode)
{
    const struct {
        const char* fields[4];
        const char* data;
        const char* message;
    } cases[] = {
        {{"0x0e", "1", "1", "256"}, "", "The attribute number must be between 0 and 255 (0xFF)."},
        {{"0x10E", "1", "1", "1"}, "", "The service number must be between 0 and 255 (0xFF)."},
        {{"0x0e", "0x10000", "1", "1"},
         "",
         "The class number must be between 0 and 65535 (0xFFFF)."},
        {{"0x0e", "1", "one", "1"},
         "",
         "The instance \"one\" is not a number: write it in decimal or in hexadecimal after "
         "\"0x\"."},
        {{"0x0e", "1", "1", "1"}, "01 2", "Tx-data format not correct"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        asked = ScriptedPrompt();
        Fill(c.fields[0], c.fields[1], c.fields[2], c.fields[3], true, c.data);
        this->c().RichEdit2->setPlainText(QStringLiteral("old reply"));
        this->c().Button1->click();
        EXPECT_EQ(asked.texts(), QStringList{c.message});
        EXPECT_EQ(form->Sender().Outstanding(), 0);
        EXPECT_TRUE(Shown().isEmpty());
    }
    // Whatever was refused, nothing went out; a request sent now is the first the node sees.
    Fill("0x0e", "1", "1", "1");
    SendAndWait();
    EXPECT_EQ(requests,
              QStringList{"MAC 5 Get_Attribute_Single (0E) class 01 instance 1 attribute 1"});
}

TEST_F(ClassInstanceEditorTest, ANodeThatIsNotThereIsReportedOncePerRequest)
{
    const auto absent = TDeviceNetDevice::CreateWithoutEds(nullptr, AbsentMac, 1, 2, 3, 4);
    form = std::make_unique<TClassInstanceeditorForm>(&network, absent.get());
    form->Activate();
    SendAndWait();
    EXPECT_EQ(asked.texts(), QStringList{TClassInstanceSender::NotAvailableText()});
    SendAndWait();
    EXPECT_EQ(asked.texts().size(), 2);
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(ClassInstanceEditorTest, RepliesArrivingOfflineAreIgnored)
{
    simulated.statusOverride = status::BusOff;
    ASSERT_TRUE(WaitFor([&] { return !network.IsOnline(); }));
    form->Activate();
    EXPECT_FALSE(c().Button1->isEnabled());
    asked = ScriptedPrompt();
    // The driver still delivers what the node answers; the page does not show it.
    form->Button1Click();
    ASSERT_TRUE(WaitFor([&] { return form->Sender().Outstanding() == 0; }));
    EXPECT_EQ(requests.size(), 1);
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_TRUE(asked.texts().isEmpty());
}

TEST_F(ClassInstanceEditorTest, AReplyAfterTheEditorClosedFindsItsWayBackSafely)
{
    simulated.networkFaults.delayMs = 300;
    const long withForm = LiveThunks();
    c().Button1->click();
    form.reset();
    // The driver still holds the reply address: it must lead somewhere until the reply came.
    EXPECT_EQ(LiveThunks(), withForm);
    EXPECT_TRUE(WaitFor([&] { return LiveThunks() == withForm - 1; }));
    EXPECT_EQ(requests.size(), 1);
    EXPECT_TRUE(asked.texts().isEmpty());
}

TEST_F(ClassInstanceEditorTest, AnUnansweredRequestKeepsItsReplyAddressUntilTheSessionEnds)
{
    simulated.networkFaults.dropReplies = true;
    const long withForm = LiveThunks();
    c().Button1->click();
    ASSERT_TRUE(WaitFor([&] { return requests.size() == 1; }));
    form.reset();
    EXPECT_EQ(LiveThunks(), withForm);
    network.ReleaseDriver();
    EXPECT_TRUE(WaitFor([&] { return LiveThunks() == withForm - 1; }));
}

TEST_F(ClassInstanceEditorTest, ClassInstanceEditorScreenshot)
{
    form.reset();
    TAdvancedform page(&network, network.DeviceAt(NodeMac));
    page.resize(500, 480);
    page.Activate();
    const TClassInstanceeditorForm::Controls& controls = page.Editor().controls();
    controls.AttributeEdit->SetText(QStringLiteral("0x07"));  // the product name
    controls.Button1->click();
    ASSERT_TRUE(WaitFor([&] { return !controls.RichEdit2->toPlainText().isEmpty(); }));
    test::SaveScreenshot(page, QStringLiteral("ClassInstanceEditor"));
    controls.SimpleCheck->click();
    controls.RichEdit1->setPlainText(QStringLiteral("01 02 AB"));
    test::SaveScreenshot(page, QStringLiteral("ClassInstanceEditorFullForm"));
}

}  // namespace
