// The network window: name lines, the bus view's hit testing, which drags it accepts, what
// drops, keys and the popup menu do, and the close question.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

#include "NetworkFixtures.h"
#include "app/ScriptedPrompt.h"
#include "device/DeviceNetDevice.h"
#include "library/ui/LibraryDrag.h"
#include "network/DeviceClipboard.h"
#include "network/DeviceNameLines.h"
#include "network/ui/BusView.h"
#include "network/ui/DeviceNetWorkWindow.h"
#include "network/ui/DeviceNetWorkWindowPrivate.h"
#include "network/ui/MacIdDlg.h"

using namespace corvix;
using namespace corvix::test;

namespace {

class NetworkWindowTest : public ::testing::Test {
protected:
    void SetUp() override { UserPrompt::setCurrent(&prompt); }
    void TearDown() override
    {
        UserPrompt::setCurrent(nullptr);
        CurrentDrag() = {};
        DeviceClipboard().clear();
    }

    std::unique_ptr<TDeviceNetWorkWindow> makeWindow(const QList<std::array<int, 5>>& devices)
    {
        auto network = std::make_unique<TDeviceNetWork>(library.path());
        for (const auto& d : devices) {
            network->AddDevice(d[0], d[1], d[2], d[3], d[4], QString());
        }
        network->SavedFlag = true;
        auto window = std::make_unique<TDeviceNetWorkWindow>(std::move(network));
        window->resize(800, 500);
        window->show();
        return window;
    }

    // Answers the next MAC ID dialog with its first free entry, or cancels it.
    static void answerMacIdDialog(bool accept)
    {
        QTimer::singleShot(0, [accept] {
            auto* dialog = qobject_cast<TMacIdDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            accept ? dialog->accept() : dialog->reject();
        });
    }

    static QPoint iconCenter(const TDeviceNetWorkWindow& window, int index)
    {
        return window.BusView().IconRect(index).center();
    }

    static QMimeData* mimeOf(const QString& type, const QByteArray& data)
    {
        auto* mime = new QMimeData;
        mime->setData(type, data);
        return mime;
    }

    ExampleLibrary library;
    ScriptedPrompt prompt;
};

TEST(DeviceNameLines, WordsAreJoinedUpToSixteenCharacters)
{
    const struct {
        const char* name;
        QStringList lines;
    } cases[] = {
        {"", {}},
        {"Line scanner", {"Line scanner"}},
        {"Conveyor belt drive left", {"Conveyor belt", "drive left"}},
        {"Sixteen chars ok", {"Sixteen chars ok"}},
        {"A VeryLongWordOfTwentySix x", {"A", "VeryLongWordOfTwentySix", "x"}},
        {"  tabs\tand\r\nbreaks  ", {"tabs and breaks"}},
        {"Pumpe Zulauf Süd Ventil", {"Pumpe Zulauf Süd", "Ventil"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BreakDeviceName(QString::fromUtf8(c.name)), c.lines) << c.name;
    }
}

TEST_F(NetworkWindowTest, BusViewFindsDevicesWhereItDrawsThemAlsoWhenScrolled)
{
    QList<std::array<int, 5>> devices;
    for (int mac = 0; mac < TDeviceNetWork::MaxDevices; ++mac) {
        devices.append({mac, 9, 9, 9, 9});
    }
    auto window = makeWindow(devices);
    TBusView& view = window->BusView();
    EXPECT_EQ(view.DeviceAt(iconCenter(*window, 0))->MacId, 0);
    EXPECT_EQ(view.DeviceAt(QPoint(2, 2)), nullptr);

    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    ASSERT_GT(view.verticalScrollBar()->value(), 0) << "64 devices do not fit: the view scrolls";
    const QRect last = view.IconRect(63);
    EXPECT_TRUE(view.viewport()->rect().contains(last)) << "the last device can be scrolled to";
    EXPECT_EQ(view.DeviceAt(last.center())->MacId, 63);

    // Devices follow their MAC ID, and the second row runs right to left.
    const int columns = std::max(1, (view.viewport()->width() - 50) / view.ColumnWidth());
    ASSERT_GE(columns, 2);
    EXPECT_LT(view.IconRect(0).left(), view.IconRect(1).left());
    EXPECT_EQ(view.IconRect(columns).left(), view.IconRect(columns - 1).left());
    EXPECT_GT(view.IconRect(columns).left(), view.IconRect(columns + 1).left());
}

TEST_F(NetworkWindowTest, DragsAreAcceptedByTheirSourceAndTarget)
{
    // Target window: MAC 1 is the identity being dragged, MAC 2 another one.
    auto target = makeWindow({{1, 9, 9, 9, 9}, {2, 9, 9, 9, 8}});
    auto source = makeWindow({{5, 9, 9, 9, 9}});
    QList<std::array<int, 5>> all;
    for (int mac = 0; mac < TDeviceNetWork::MaxDevices; ++mac) {
        all.append({mac, 9, 9, 9, 9});
    }
    auto full = makeWindow(all);
    const QPoint empty(5, 5);
    const std::unique_ptr<QMimeData> libraryDrag(mimeOf(LibraryDeviceMimeType(), "eds\\1_2_3_4."));
    const std::unique_ptr<QMimeData> networkDrag(mimeOf(NetworkDeviceMimeType(), "5"));
    const std::unique_ptr<QMimeData> text(mimeOf("text/plain", "eds\\1_2_3_4."));

    const struct {
        const char* what;
        TDeviceNetWorkWindow* window;
        const QMimeData* mime;
        QPoint point;
        TDeviceNetWorkWindow* dragSource;
        int draggedMac;
        bool accepted;
    } cases[] = {
        {"library entry", target.get(), libraryDrag.get(), empty, nullptr, -1, true},
        {"library entry, full network", full.get(), libraryDrag.get(), empty, nullptr, -1, false},
        {"device on same identity", target.get(), networkDrag.get(), iconCenter(*target, 0),
         source.get(), 5, true},
        {"device on other identity", target.get(), networkDrag.get(), iconCenter(*target, 1),
         source.get(), 5, false},
        {"device on itself", target.get(), networkDrag.get(), iconCenter(*target, 0), target.get(),
         1, false},
        {"device on empty space", target.get(), networkDrag.get(), empty, source.get(), 5, true},
        {"device on full network", full.get(), networkDrag.get(), empty, source.get(), 5, false},
        {"device that vanished", target.get(), networkDrag.get(), empty, source.get(), 6, false},
        {"foreign data", target.get(), text.get(), empty, nullptr, -1, false},
    };
    for (const auto& c : cases) {
        CurrentDrag() = {c.dragSource, c.draggedMac};
        EXPECT_EQ(c.window->AcceptsDrop(*c.mime, c.point), c.accepted) << c.what;
    }
    EXPECT_EQ(target->SelectedMacId(), 1) << "an accepting device is selected";

    target->onConnectionStateChanged(true, 4);
    CurrentDrag() = {source.get(), 5};
    EXPECT_FALSE(target->AcceptsDrop(*libraryDrag, empty)) << "online";
    EXPECT_FALSE(target->AcceptsDrop(*networkDrag, empty)) << "online";
}

TEST_F(NetworkWindowTest, DropsAddOrCopyDevices)
{
    auto window = makeWindow({{0, 9, 9, 9, 9}});
    TDeviceNetWork& network = window->Network();

    // A library entry goes to the first free MAC ID with its EDS file.
    const std::unique_ptr<QMimeData> entry(
        mimeOf(LibraryDeviceMimeType(), QByteArray("eds\\") + IoBlockKey + "."));
    answerMacIdDialog(true);
    window->Drop(*entry, QPoint(5, 5));
    ASSERT_NE(network.DeviceAt(1), nullptr);
    EXPECT_FALSE(network.DeviceAt(1)->WithoutEds);
    EXPECT_FALSE(network.IsSaved());

    // A file name of another form is reported and adds nothing; a cancelled dialog neither.
    const std::unique_ptr<QMimeData> odd(mimeOf(LibraryDeviceMimeType(), "eds\\my device."));
    answerMacIdDialog(true);
    window->Drop(*odd, QPoint(5, 5));
    answerMacIdDialog(false);
    window->Drop(*entry, QPoint(5, 5));
    EXPECT_EQ(network.Devices().size(), 2u);
    ASSERT_EQ(prompt.questions().size(), 1);
    EXPECT_EQ(prompt.questions().first().icon, PromptIcon::Error);

    // A device dragged from another window onto empty space: a copy with name and values.
    auto source = makeWindow({});
    TDeviceNetDevice* original =
        source->Network().DropLibraryFile(QStringLiteral("eds\\") + IoBlockKey + ".eds", 20);
    source->Network().RenameDevice(20, "Valve block");
    const QStringList originalSection = original->WriteSection();
    const std::unique_ptr<QMimeData> dragged(mimeOf(NetworkDeviceMimeType(), "20"));
    CurrentDrag() = {source.get(), 20};
    answerMacIdDialog(true);
    window->Drop(*dragged, QPoint(5, 5));
    ASSERT_NE(network.DeviceAt(2), nullptr);
    EXPECT_EQ(network.DeviceAt(2)->Name, "Valve block");
    EXPECT_EQ(network.DeviceAt(2)->WriteSection().mid(7), originalSection.mid(7));

    // Onto a device of that identity: only after the question.
    network.RenameDevice(1, "Target");
    window->BusView().ArrangeDevices();
    prompt.queueButton(PromptButton::No);
    window->Drop(*dragged, iconCenter(*window, 1));
    EXPECT_EQ(network.DeviceAt(1)->Name, "Target");
    EXPECT_EQ(prompt.texts().last(),
              "Are you sure you want to copy device data from the dragged device?");
    prompt.queueButton(PromptButton::Yes);
    window->Drop(*dragged, iconCenter(*window, 1));
    EXPECT_EQ(network.DeviceAt(1)->WriteSection().mid(7), originalSection.mid(7));
}

TEST_F(NetworkWindowTest, KeysAndMenuActOnTheSelectedDevice)
{
    auto window = makeWindow({{3, 9, 9, 9, 9}, {4, 9, 9, 9, 9}});
    TDeviceNetWork& network = window->Network();
    window->BusView().SelectMacId(3);

    prompt.queueInput(QStringLiteral("Left conveyor"));
    QKeyEvent f2(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
    // Keys reach the window through the bus view, which has the focus.
    QApplication::sendEvent(window->BusView().viewport(), &f2);
    EXPECT_EQ(network.DeviceAt(3)->Name, "Left conveyor");
    EXPECT_FALSE(network.IsSaved());

    // A double click on a device without EDS file leads to the EDS wizard; on a missing device
    // it does nothing.
    const auto doubleClick = [&window] {
        const QPoint at = window->BusView().IconRect(0).center();
        QMouseEvent click(QEvent::MouseButtonDblClick, at,
                          window->BusView().viewport()->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window->BusView().viewport(), &click);
    };
    int wizardFor = -1;
    const QMetaObject::Connection wizard = QObject::connect(
        window.get(), &TDeviceNetWorkWindow::edsWizardRequested, [&](int mac) { wizardFor = mac; });
    doubleClick();
    EXPECT_EQ(wizardFor, 3);
    QObject::disconnect(wizard);
    doubleClick();
    EXPECT_EQ(prompt.texts().last(), "The EDS wizard is not available yet.");
    const qsizetype asked = prompt.questions().size();
    network.DeviceAt(3)->NotResponding = true;
    doubleClick();
    EXPECT_EQ(prompt.questions().size(), asked);
    network.DeviceAt(3)->NotResponding = false;

    // The menu for a device without EDS file and nothing on the clipboard.
    const auto entries = [&window] {
        Q_EMIT window->PopupMenu().aboutToShow();
        QStringList texts;
        for (QMenu* menu :
             {window->PopupMenu().actions()[0]->menu(), window->PopupMenu().actions()[1]->menu()}) {
            for (const QAction* action : menu->actions()) {
                if (!action->isSeparator()) {
                    texts << action->text() + (action->isEnabled() ? "" : " (off)");
                }
            }
        }
        return texts;
    };
    const QString update =
        "Update (" + QKeySequence(Qt::Key_F5).toString(QKeySequence::NativeText) + ") (off)";
    EXPECT_EQ(entries(),
              (QStringList{"Copy (off)", "Delete", "Rename", "Information", "Register EDS-file",
                           "Change Node Address", "Configure Driver", "Go Online",
                           "Go Offline (off)", update}));
    DeviceClipboard() = QStringList{"$Device Begin"};
    window->BusView().SelectMacId(-1);
    window->onConnectionStateChanged(true, 64);
    EXPECT_EQ(entries(),
              (QStringList{"Copy (off)", "Paste (off)", "Delete (off)", "Rename (off)",
                           "Information (off)", "Change Node Address (off)", "Configure Driver",
                           "Go Online (off)", "Go Offline", update.chopped(6)}));
    window->onConnectionStateChanged(false, 0);

    window->BusView().SelectMacId(4);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(window->BusView().viewport(), &del);
    EXPECT_EQ(network.DeviceAt(4), nullptr);
    EXPECT_EQ(window->SelectedMacId(), -1);

    // Change node address asks first, then moves the device offline.
    window->BusView().SelectMacId(3);
    prompt.queueButton(PromptButton::Yes);
    answerMacIdDialog(true);
    window->ChangeNodeAddress();
    EXPECT_EQ(network.DeviceAt(3), nullptr);
    EXPECT_NE(network.DeviceAt(0), nullptr);
    EXPECT_EQ(window->SelectedMacId(), 0);
}

TEST_F(NetworkWindowTest, CloseQuestionKeepsUnsavedWork)
{
    const struct {
        const char* what;
        bool modified;
        QList<PromptButton> answers;
        bool closes;
    } cases[] = {
        {"saved", false, {}, true},
        {"cancel", true, {PromptButton::Cancel}, false},
        {"do not save", true, {PromptButton::No}, true},
        // Yes, but the save dialog that follows is cancelled: nothing was saved.
        {"save cancelled", true, {PromptButton::Yes}, false},
    };
    for (const auto& c : cases) {
        ScriptedPrompt answers;
        UserPrompt::setCurrent(&answers);
        auto window = makeWindow({});
        window->Network().Caption = "Untitled2";
        if (c.modified) {
            window->Network().MarkModified();
        }
        for (const PromptButton button : c.answers) {
            answers.queueButton(button);
        }
        EXPECT_EQ(window->CloseQuery(), c.closes) << c.what;
        if (c.modified) {
            EXPECT_EQ(answers.texts().value(0), "Untitled2 has been modified, do you want to save?")
                << c.what;
        } else {
            EXPECT_TRUE(answers.questions().isEmpty()) << c.what;
        }
        UserPrompt::setCurrent(&prompt);
    }
}

}  // namespace
