// The parameter page online, end to end through the real serial driver library and the
// simulated adapter: the upload offered on entering, the progress window and what ends a group
// transfer, the pictures of single transfers, and the download offered on leaving.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

#include "app/ScriptedPrompt.h"
#include "core/PtyFrontEnd.h"
#include "drivers/SimulatedSerialLine.h"
#include "device/ParameterFormFixture.h"
#include "device/ui/ParameterForm.h"
#include "device/ui/ParameterProgressDialog.h"
#include "device/ui/ParameterTableModel.h"
#include "network/DeviceNetWork.h"
#include "support/WaitFor.h"

using namespace corvix;
using namespace corvix::sim;
using corvix::test::OnlineThroughSerialDriverTest;
using corvix::test::DownloadQuestion;
using corvix::test::UploadQuestion;
using corvix::test::WaitFor;
using Column = TParameterTableModel::Column;

namespace {


// The node behind the page's test device: parameter i holds i + 4; the third is read-only.
SimNode Node()
{
    SimNode node;
    node.macId = 5;
    node.identity = {1, 0x0002, 0x11, 2, 3, 0, 0x1005u, QStringLiteral("N")};
    for (std::uint16_t instance = 1; instance <= 4; ++instance) {
        SimParameter parameter;
        parameter.instance = instance;
        parameter.name = QStringLiteral("P%1").arg(instance);
        parameter.dataType = instance == 4 ? 0xC7 : 0xC6;
        parameter.dataSize = instance == 4 ? 2 : 1;
        parameter.value = QByteArray(parameter.dataSize, 0);
        parameter.value[0] = char(instance == 2 ? 1 : 4 + instance);
        parameter.minimum = QByteArray(parameter.dataSize, 0);
        parameter.maximum = QByteArray(parameter.dataSize, 0);
        parameter.maximum[0] = char(instance == 4 ? 100 : instance == 2 ? 2 : 10);
        parameter.readOnly = instance == 3;
        node.parameters.parameters.append(parameter);
    }
    return node;
}

class ParameterFormOnlineTest : public OnlineThroughSerialDriverTest {
protected:
    QList<SimNode> Nodes() const override { return {Node()}; }
    void TearDown() override
    {
        window.reset();
        OnlineThroughSerialDriverTest::TearDown();
    }

    // The page as the first of two pages of a device window on the screen, once the question
    // on entering has been answered. The device asks for a save after a download.
    void open(PromptButton answerOnEntry)
    {
        devices.push_back(corvix::test::ParameterPageDevice("0x0004"));
        device = devices.back().get();
        window = std::make_unique<QTabWidget>();
        form = new TParameterForm(&network, device);
        window->addTab(form, TParameterForm::Caption());
        window->addTab(new QWidget, QStringLiteral("&EDS"));
        QObject::connect(form, &TParameterForm::idleChanged,
                         [this](bool idle) { idleChanges.append(idle); });
        window->resize(500, 480);
        asked.queueButton(answerOnEntry);
        window->show();
        ASSERT_TRUE(WaitFor([&] { return asked.texts() == QStringList{UploadQuestion}; }));
        ASSERT_TRUE(WaitFor([&] { return form->Idle(); }));
    }
    QString value(int row) const
    {
        return form->Model().index(row, Column::ValueColumn).data().toString();
    }
    bool settled(int row) const
    {
        return device->ParameterAt(0, row)->GetStateColour() != StateColour::Gray;
    }
    void click(const QModelIndex& index)
    {
        QWidget* viewport = form->Grid().viewport();
        const QPoint at = form->Grid().visualRect(index).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &press);
        QApplication::sendEvent(viewport, &release);
    }

    // Devices outlive their pages: a stopped run leaves its last request with the driver.
    std::vector<std::unique_ptr<TDeviceNetDevice>> devices;
    TDeviceNetDevice* device = nullptr;
    std::unique_ptr<QTabWidget> window;
    TParameterForm* form = nullptr;
    QList<bool> idleChanges;
};

TEST_F(ParameterFormOnlineTest, EnteringUploadsTheGroupWhenTheUserAgrees)
{
    struct During {
        bool idle;
        bool uploadEnabled;
        bool progressModal;
        QString progressText;
    };
    QList<During> during;
    onRequest = [&] {
        const TParameteprogressdialog* progress = form->ProgressDialog();
        during.append(During{form->Idle(), form->ParameterUploadButton().isEnabled(),
                             progress && QApplication::activeModalWidget() == progress,
                             progress ? progress->Label1().text() : QString()});
    };
    open(PromptButton::Yes);

    EXPECT_EQ(requests, (QStringList{"0E/1", "0E/2", "0E/3", "0E/4"}));
    ASSERT_EQ(during.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(during[i].idle);
        EXPECT_FALSE(during[i].uploadEnabled);
        EXPECT_TRUE(during[i].progressModal);
        EXPECT_EQ(during[i].progressText,
                  QStringLiteral("Processing parameter request %1/4").arg(i + 1));
    }
    EXPECT_EQ(value(0), QStringLiteral("5 Hz"));
    EXPECT_EQ(value(1), QStringLiteral("Slow "));
    EXPECT_EQ(value(3), QStringLiteral("8 s"));
    EXPECT_EQ(idleChanges, (QList<bool>{false, true}));
    EXPECT_EQ(form->ProgressDialog(), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(form->ParameterUploadButton().isEnabled());
    // Every value is as the device has it: leaving asks nothing.
    EXPECT_FALSE(form->SameAsNetWork());
    EXPECT_EQ(asked.texts(), QStringList{UploadQuestion});
}

TEST_F(ParameterFormOnlineTest, CancelOrHidingTheWindowEndsTheRunButAnotherPageDoesNot)
{
    const struct {
        const char* name;
        std::function<void()> onFirstRequest;
        QStringList requests;
    } cases[] = {
        {"cancel in the progress window",
         [this] { form->ProgressDialog()->Button1().click(); },
         {"0E/1"}},
        {"device window hidden", [this] { window->hide(); }, {"0E/1"}},
        {"another page of the device window",
         [this] { window->setCurrentIndex(1); },
         {"0E/1", "0E/2", "0E/3", "0E/4"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        open(PromptButton::No);
        requests.clear();
        idleChanges.clear();
        onRequest = [&] {
            if (requests.size() == 1) c.onFirstRequest();
        };
        form->ParameterUploadButton().click();
        onRequest = nullptr;

        EXPECT_EQ(requests, c.requests);
        EXPECT_EQ(idleChanges, (QList<bool>{false, true}));
        EXPECT_EQ(form->ProgressDialog(), nullptr);
        EXPECT_TRUE(form->ParameterUploadButton().isEnabled());
        // The reply under way when the run ended is still shown.
        EXPECT_TRUE(WaitFor([&] { return settled(0); }));
        EXPECT_EQ(value(0), QStringLiteral("5 Hz"));
    }
}

TEST_F(ParameterFormOnlineTest, PicturesReadOrWriteOneParameter)
{
    open(PromptButton::No);
    const struct {
        const char* name;
        int row;
        Column column;
        QStringList requests;
    } cases[] = {
        {"upload", 0, Column::UploadColumn, {"0E/1"}},
        {"download, then the save the device asks for",
         3,
         Column::DownloadColumn,
         {"10/4", "16/0"}},
        {"upload of a read-only value", 2, Column::UploadColumn, {"0E/3"}},
        {"no download of a read-only value", 2, Column::DownloadColumn, {}},
    };
    device->ParameterAt(0, 3)->SetFromUserText(QStringLiteral("42"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        requests.clear();
        click(form->Model().index(c.row, c.column));
        WaitFor([&] { return requests.size() >= c.requests.size() && settled(c.row); }, 3000);
        EXPECT_EQ(requests, c.requests);
    }
    EXPECT_EQ(value(0), QStringLiteral("5 Hz"));
    EXPECT_EQ(simulated.node(5)->parameters.find(4)->value, QByteArray("\x2A\x00", 2));
    EXPECT_EQ(asked.texts(), QStringList{UploadQuestion});
}

TEST_F(ParameterFormOnlineTest, LeavingDownloadsTheGroupWhenTheUserAgrees)
{
    open(PromptButton::No);
    device->ParameterAt(0, 0)->SetFromUserText(QStringLiteral("7"));
    asked.queueButton(PromptButton::Yes);
    EXPECT_FALSE(form->SameAsNetWork());
    EXPECT_EQ(asked.texts(), (QStringList{UploadQuestion, DownloadQuestion}));
    WaitFor([&] { return requests.size() >= 4; }, 3000);
    EXPECT_EQ(requests, (QStringList{"10/1", "10/2", "10/4", "16/0"}));
    EXPECT_EQ(simulated.node(5)->parameters.find(1)->value, QByteArray(1, 7));
}

}  // namespace
