// The parameter page without a driver: what the grid shows offline and online, its column
// widths, the value editors, the help, and the questions on entering and on leaving.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

#include "ParameterFormFixture.h"
#include "app/ScriptedPrompt.h"
#include "device/ui/ParameterForm.h"
#include "device/ui/ParameterTableModel.h"
#include "network/DeviceNetWork.h"
#include "support/WaitFor.h"

using namespace corvix;
using corvix::test::DownloadQuestion;
using corvix::test::UploadQuestion;
using corvix::test::WaitFor;

namespace {

using Column = TParameterTableModel::Column;


class ParameterFormTest : public ::testing::Test {
protected:
    void SetUp() override { UserPrompt::setCurrent(&prompt); }
    void TearDown() override { UserPrompt::setCurrent(nullptr); }

    // The network counts as online without a driver: nothing here sends a request.
    std::unique_ptr<TParameterForm> makeForm(bool online, int width = 500)
    {
        network.NetworkStatus = online ? CORVIX_NET_ONLINE : CORVIX_NET_OFFLINE;
        auto form = std::make_unique<TParameterForm>(&network, device.get());
        form->resize(width, 400);
        return form;
    }
    QString cell(const TParameterForm& form, int row, Column column) const
    {
        return form.Model().index(row, column).data().toString();
    }
    bool hasPicture(const TParameterForm& form, int row, Column column) const
    {
        return !form.Model().index(row, column).data(Qt::DecorationRole).isNull();
    }

    QTemporaryDir library;
    TDeviceNetWork network{library.path()};
    std::unique_ptr<TDeviceNetDevice> device = corvix::test::ParameterPageDevice();
    ScriptedPrompt prompt;
};

TEST_F(ParameterFormTest, GridShowsTheSelectedGroupWithPicturesOnlyOnline)
{
    const struct {
        const char* name;
        bool online;
        int group;
        QStringList names;
        QList<bool> uploads, downloads;
    } cases[] = {
        {"offline, all",
         false,
         0,
         {"1: Speed", "2: Mode", "3: Status", "4: Ramp"},
         {false, false, false, false},
         {false, false, false, false}},
        {"online, all: no download of the read-only one",
         true,
         0,
         {"1: Speed", "2: Mode", "3: Status", "4: Ramp"},
         {true, true, true, true},
         {true, true, false, true}},
        {"online, smaller group", true, 1, {"1: Speed", "2: Mode"}, {true, true}, {true, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto form = makeForm(c.online);
        form->GroupCombo().setCurrentIndex(c.group);
        // A refresh keeps the group the user chose.
        form->FormRefresh();
        ASSERT_EQ(form->Model().rowCount(), c.names.size());
        for (int row = 0; row < c.names.size(); ++row) {
            EXPECT_EQ(cell(*form, row, Column::NameColumn), c.names[row]);
            EXPECT_EQ(hasPicture(*form, row, Column::UploadColumn), c.uploads[row]);
            EXPECT_EQ(hasPicture(*form, row, Column::DownloadColumn), c.downloads[row]);
        }
        EXPECT_EQ(form->ParameterUploadButton().isEnabled(), c.online);
        EXPECT_EQ(form->ParameterDownloadButton().isEnabled(), c.online);
    }
}

TEST_F(ParameterFormTest, CellsShowValuesWithUnitsInTheirStateColours)
{
    auto form = makeForm(false);
    EXPECT_EQ(cell(*form, 0, Column::ValueColumn), QStringLiteral("1 Hz"));
    EXPECT_EQ(cell(*form, 1, Column::ValueColumn), QStringLiteral("Off "));
    const auto colour = [&](int row, Column column, int role) {
        return form->Model().index(row, column).data(role).value<QColor>().rgb() & 0xFFFFFF;
    };
    EXPECT_EQ(colour(0, Column::ValueColumn, Qt::ForegroundRole), 0x000080u);  // navy
    EXPECT_EQ(colour(2, Column::ValueColumn, Qt::ForegroundRole), 0x800080u);  // read-only
    EXPECT_EQ(colour(2, Column::NameColumn, Qt::ForegroundRole), 0x000080u);
    EXPECT_EQ(colour(0, Column::NameColumn, Qt::BackgroundRole), 0xFFFFFFu);
    EXPECT_EQ(colour(1, Column::NameColumn, Qt::BackgroundRole), 0xEEEEEEu);
    // A value loaded unchecked from a file that no enumeration string names is shown red.
    device->ParameterAt(0, 1)->DataType().SetValue(QStringLiteral("-1"));
    EXPECT_EQ(colour(1, Column::ValueColumn, Qt::ForegroundRole), 0xFF0000u);
}

TEST_F(ParameterFormTest, ColumnWidthsShareTheGridAndLeaveRoomForThePictures)
{
    const struct {
        bool online;
        int width;
    } cases[] = {{false, 500}, {true, 500}, {true, 333}, {false, 801}};
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 at %2")
                         .arg(c.online ? "online" : "offline")
                         .arg(c.width)
                         .toStdString());
        prompt.queueButton(PromptButton::No);  // not now, when online
        auto form = makeForm(c.online, 200);
        form->show();
        form->resize(c.width, 400);
        QApplication::processEvents();
        const QTableView& grid = form->Grid();
        const int half = (c.width - 8 - grid.verticalScrollBar()->sizeHint().width()) / 2;
        const QList<int> expected =
            c.online ? QList<int>{half, half - 34, 17, 17} : QList<int>{half, half, 0, 0};
        const QList<int> widths = {grid.columnWidth(0), grid.columnWidth(1), grid.columnWidth(2),
                                   grid.columnWidth(3)};
        EXPECT_EQ(widths, expected);
        // Nothing is cut off at the right edge.
        EXPECT_LE(widths[0] + widths[1] + widths[2] + widths[3], grid.viewport()->width());
    }
}

TEST_F(ParameterFormTest, EditorsTakeWhatTheUserEntered)
{
    const struct {
        const char* name;
        int row;
        bool list;           // a drop-down list of the enumeration strings
        QString startsWith;  // what the editor shows when it opens
        QString entered;     // typed, or chosen from the list
        QString shown;       // the cell afterwards
        QStringList told;    // messages
    } cases[] = {
        {"enumeration", 1, true, "Off", "Fast", "Fast ", {}},
        {"number without units in the editor", 0, false, "1", "7", "7 Hz", {}},
        {"out of range keeps the old value", 0, false, "1", "11", "1 Hz", {}},
        {"no number", 3, false, "5", "fast", "5 s", {"'fast' is not a valid floating point value"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        device = corvix::test::ParameterPageDevice();
        ScriptedPrompt told;
        UserPrompt::setCurrent(&told);
        auto form = makeForm(false);
        form->show();
        QTableView& grid = form->Grid();
        const QModelIndex value = form->Model().index(c.row, Column::ValueColumn);
        grid.setCurrentIndex(value);
        grid.edit(value);
        QWidget* editor = grid.indexWidget(value);
        ASSERT_NE(editor, nullptr);
        if (c.list) {
            auto* list = qobject_cast<QComboBox*>(editor);
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(list->currentText(), c.startsWith);
            EXPECT_EQ(list->count(), 3);
            list->setCurrentText(c.entered);
            Q_EMIT list->activated(list->currentIndex());
        } else {
            auto* line = qobject_cast<QLineEdit*>(editor);
            ASSERT_NE(line, nullptr);
            EXPECT_EQ(line->text(), c.startsWith);
            line->setText(c.entered);
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(line, &enter);
        }
        EXPECT_TRUE(WaitFor([&] { return !grid.indexWidget(value); }));
        EXPECT_EQ(cell(*form, c.row, Column::ValueColumn), c.shown);
        WaitFor([&] { return told.texts().size() >= c.told.size(); }, 1000);
        EXPECT_EQ(told.texts(), c.told);
        if (!c.told.isEmpty()) {
            EXPECT_EQ(told.questions().first().caption, QStringLiteral("4: Ramp"));
            EXPECT_EQ(told.questions().first().icon, PromptIcon::Error);
        }
        UserPrompt::setCurrent(&prompt);
    }
}

TEST_F(ParameterFormTest, OnlyWritableValuesCanBeEdited)
{
    auto form = makeForm(false);
    form->show();
    QTableView& grid = form->Grid();
    for (const auto& [row, column] :
         {std::pair{2, Column::ValueColumn}, std::pair{0, Column::NameColumn}}) {
        const QModelIndex index = form->Model().index(row, column);
        grid.edit(index);
        EXPECT_EQ(grid.indexWidget(index), nullptr) << row << column;
    }
}

TEST_F(ParameterFormTest, HelpButtonAndF1ShowTheSelectedParametersHelp)
{
    auto form = makeForm(false);
    form->show();
    form->Grid().setCurrentIndex(form->Model().index(3, Column::NameColumn));
    form->ParamHelpButton().click();
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&form->Grid(), &f1);
    ASSERT_EQ(prompt.questions().size(), 2);
    for (const auto& question : prompt.questions()) {
        EXPECT_EQ(question.caption, QStringLiteral("4: Ramp"));
        // Each line on a line of its own.
        EXPECT_EQ(question.text, QStringLiteral("Default: 5\nRange: 0 ... 100\n\nNo EDS based help "
                                                "implemented for this parameter"));
    }
}

TEST_F(ParameterFormTest, OnlineTheFirstShowAsksToUpload)
{
    for (const bool online : {false, true}) {
        SCOPED_TRACE(online ? "online" : "offline");
        ScriptedPrompt asked;
        UserPrompt::setCurrent(&asked);
        asked.queueButton(PromptButton::No);
        auto form = makeForm(online);
        EXPECT_TRUE(asked.texts().isEmpty());  // not before the page is on the screen
        form->show();
        const QStringList expected = online ? QStringList{UploadQuestion} : QStringList{};
        WaitFor([&] { return asked.texts().size() >= expected.size(); }, 1000);
        form->hide();
        form->show();
        QApplication::processEvents();
        EXPECT_EQ(asked.texts(), expected);
        UserPrompt::setCurrent(&prompt);
    }
}

// Parameters start as not read from the device; once read they ask nothing (see the online
// tests).
TEST_F(ParameterFormTest, LeavingAsksToDownloadValuesTheDeviceMayNotHave)
{
    const struct {
        const char* name;
        bool online;
        int group;
        bool notResponding;
        bool asks;
    } cases[] = {
        {"online", true, 0, false, true},
        {"offline", false, 0, false, false},
        {"node not answering", true, 0, true, false},
        {"group of read-only values", true, 2, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto form = makeForm(c.online);
        form->GroupCombo().setCurrentIndex(c.group);
        device->SetNotResponding(c.notResponding);
        ScriptedPrompt asked;
        UserPrompt::setCurrent(&asked);
        asked.queueButton(PromptButton::No);
        EXPECT_FALSE(form->SameAsNetWork());
        EXPECT_EQ(asked.texts(), c.asks ? QStringList{DownloadQuestion} : QStringList{});
        UserPrompt::setCurrent(&prompt);
    }
}

}  // namespace
