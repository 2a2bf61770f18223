#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDockWidget>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "app/Registry.h"
#include "app/ScriptedPrompt.h"
#include "app/ui/MainForm.h"
#include "network/DeviceNetWork.h"
#include "network/FileLines.h"
#include "network/ui/DeviceNetWorkWindow.h"

namespace corvix {
namespace {

constexpr const char* SettingNames[] = {"ViewHardWare",
                                        "TabNetWorks",
                                        "LastOpenedNetwork1",
                                        "LastOpenedNetwork2",
                                        "LastOpenedNetwork3",
                                        "LastOpenedNetwork4",
                                        "ExecPath"};

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        savedCurrent = QDir::currentPath();
        for (const char* name : SettingNames) {
            OpenSettings()->remove(QString::fromLatin1(name));
        }
        UserPrompt::setCurrent(&prompt);
    }
    void TearDown() override
    {
        form.reset();
        UserPrompt::setCurrent(nullptr);
        QDir::setCurrent(savedCurrent);
    }

    Tcontform& Start(const QString& commandLineFile = {})
    {
        form = std::make_unique<Tcontform>(folder.path());
        form->resize(1000, 700);
        form->show();
        form->Startup(commandLineFile);
        return *form;
    }

    // An empty network saved under name in the test folder.
    QString NetworkFile(const QString& name)
    {
        TDeviceNetWork network;
        network.Caption = name;
        const QString path = folder.filePath(name);
        WriteLinesToFile(path, network.SaveToLines());
        return path;
    }

    QStringList Captions() const
    {
        QStringList captions;
        for (TDeviceNetWorkWindow* window : form->NetworkWindows()) {
            captions.append(window->Network().Caption);
        }
        return captions;
    }

    // The File menu's entries between Print and Exit: the recent files and separators.
    QStringList RecentArea() const
    {
        QStringList texts;
        bool inArea = false;
        for (QAction* action : form->FileMenu()->actions()) {
            if (action == form->commands().exit) {
                break;
            }
            if (inArea) {
                texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
            }
            inArea = inArea || action == form->commands().print;
        }
        return texts;
    }

    QTemporaryDir folder;
    QString savedCurrent;
    ScriptedPrompt prompt;
    std::unique_ptr<Tcontform> form;
};

TEST_F(MainFormTest, FirstStartWithEmptySettings)
{
    Tcontform& main = Start();
    EXPECT_EQ(Captions(), QStringList{QStringLiteral("Untitled1")});
    EXPECT_TRUE(main.NetworkWindows().first()->Network().IsStartupNetwork);
    EXPECT_EQ(main.ActiveNetwork(), main.NetworkWindows().first());
    EXPECT_TRUE(main.findChild<QDockWidget*>()->isVisible());
    EXPECT_TRUE(main.commands().showHardware->isChecked());
    EXPECT_EQ(main.findChild<QMdiArea*>()->viewMode(), QMdiArea::SubWindowView);
    EXPECT_EQ(RecentArea(), (QStringList{QStringLiteral("-"), QStringLiteral("-")}));
    EXPECT_TRUE(main.ToolCaptions().isEmpty());
    QString execPath;
    ReadRegString(QStringLiteral("ExecPath"), execPath);
    EXPECT_EQ(execPath, QDir::toNativeSeparators(folder.path() + QLatin1Char('/')));
    EXPECT_EQ(QDir::currentPath(), QDir(folder.path()).canonicalPath());
}

TEST_F(MainFormTest, StoredSettingsHideTheLibraryAndShowTabs)
{
    WriteRegBool(QStringLiteral("ViewHardWare"), false);
    WriteRegBool(QStringLiteral("TabNetWorks"), true);
    Tcontform& main = Start();
    EXPECT_FALSE(main.findChild<QDockWidget*>()->isVisible());
    EXPECT_FALSE(main.commands().showHardware->isChecked());
    EXPECT_EQ(main.findChild<QMdiArea*>()->viewMode(), QMdiArea::TabbedView);

    main.commands().showHardware->trigger();
    EXPECT_TRUE(main.findChild<QDockWidget*>()->isVisible());
    EXPECT_TRUE(main.commands().showHardware->isChecked());
    EXPECT_TRUE(ReadRegBool(QStringLiteral("ViewHardWare")));
}

TEST_F(MainFormTest, CommandStatesFollowTheActiveNetwork)
{
    Tcontform& main = Start();
    const Tcontform::Commands& c = main.commands();
    EXPECT_FALSE(c.save->isEnabled());
    EXPECT_TRUE(c.saveAs->isEnabled());
    EXPECT_TRUE(c.goOnline->isEnabled());
    EXPECT_FALSE(c.update->isEnabled());
    EXPECT_EQ(c.newNetwork->toolTip(),
              QStringLiteral("New Network...  ") +
                  c.newNetwork->shortcut().toString(QKeySequence::NativeText));

    main.NetworkWindows().first()->Network().MarkModified();
    EXPECT_TRUE(c.save->isEnabled());

    delete main.NetworkWindows().first()->parentWidget();
    EXPECT_TRUE(main.NetworkWindows().isEmpty());
    for (QAction* action : {c.save, c.saveAs, c.print, c.goOnline, c.update, c.upload, c.download,
                            c.configureDriver}) {
        EXPECT_FALSE(action->isEnabled()) << qPrintable(action->text());
    }
}

TEST_F(MainFormTest, NewNetworksAreNumberedAfterTheOpenOnes)
{
    Tcontform& main = Start();
    main.commands().newNetwork->trigger();
    EXPECT_EQ(Captions(), (QStringList{QStringLiteral("Untitled1"), QStringLiteral("Untitled2")}));
    EXPECT_FALSE(main.NetworkWindows().last()->Network().IsStartupNetwork);
    EXPECT_EQ(main.ActiveNetwork(), main.NetworkWindows().last());
}

TEST_F(MainFormTest, OpeningAFileReplacesOnlyAnUnchangedStartupNetwork)
{
    struct Case {
        const char* name;
        bool modifyUntitled;
        QStringList expected;
    };
    const Case cases[] = {
        {"unchanged", false, {QStringLiteral("plant.net")}},
        {"changed", true, {QStringLiteral("Untitled1"), QStringLiteral("plant.net")}},
    };
    const QString path = NetworkFile(QStringLiteral("plant.net"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Tcontform& main = Start();
        if (c.modifyUntitled) {
            main.NetworkWindows().first()->Network().MarkModified();
        }
        prompt.queueFiles({path});
        main.commands().loadNetwork->trigger();
        EXPECT_EQ(Captions(), c.expected);
        EXPECT_EQ(main.Recent().Entries()[0], path);
        prompt.queueButton(PromptButton::No);  // the close question for a changed Untitled1
        form.reset();
    }
}

TEST_F(MainFormTest, AFileThatFailsToLoadLeavesNoWindowAndKeepsTheStartupNetwork)
{
    QFile garbage(folder.filePath(QStringLiteral("garbage.net")));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("no network here\r\n");
    garbage.close();

    Tcontform& main = Start(garbage.fileName());
    EXPECT_EQ(Captions(), QStringList{QStringLiteral("Untitled1")});
    EXPECT_EQ(prompt.texts().size(), 1);  // the file's error was reported
    EXPECT_TRUE(main.Recent().Entries()[0].isEmpty());
}

TEST_F(MainFormTest, RecentMenuListsFilesNewestFirstAndOpensThem)
{
    const QString first = NetworkFile(QStringLiteral("first.net"));
    const QString second = NetworkFile(QStringLiteral("second.net"));
    Tcontform& main = Start(first);
    main.OpenRecentNetwork(second);
    main.OpenRecentNetwork(first);
    EXPECT_EQ(RecentArea(), (QStringList{QStringLiteral("-"), QDir::toNativeSeparators(first),
                                         QDir::toNativeSeparators(second), QStringLiteral("-")}));

    // A new start restores the list; clicking an entry opens that file.
    form.reset();
    Tcontform& again = Start();
    EXPECT_EQ(again.Recent().Entries()[1], second);
    QAction* secondEntry = form->FileMenu()->actions().at(
        form->FileMenu()->actions().indexOf(again.commands().print) + 3);
    ASSERT_EQ(secondEntry->text(), QDir::toNativeSeparators(second));
    secondEntry->trigger();
    EXPECT_EQ(Captions(), QStringList{QStringLiteral("second.net")});
    EXPECT_EQ(again.Recent().Entries()[0], second);
}

TEST_F(MainFormTest, SaveNetworkSavesTheActiveOneAndRemembersIt)
{
    const QString path = NetworkFile(QStringLiteral("plant.net"));
    Tcontform& main = Start(path);
    main.NetworkWindows().first()->Network().MarkModified();
    main.AddRecentNetwork(folder.filePath(QStringLiteral("other.net")));

    main.commands().save->trigger();
    EXPECT_FALSE(main.commands().save->isEnabled());
    QCoreApplication::processEvents();
    EXPECT_TRUE(main.NetworkWindows().first()->Network().IsSaved());
    EXPECT_EQ(main.Recent().Entries()[0], path);
}

TEST_F(MainFormTest, ClosingAsksForEachModifiedNetworkAndCancelKeepsAllOpen)
{
    Tcontform& main = Start(NetworkFile(QStringLiteral("first.net")));
    main.OpenRecentNetwork(NetworkFile(QStringLiteral("second.net")));
    for (TDeviceNetWorkWindow* window : main.NetworkWindows()) {
        window->Network().MarkModified();
    }
    prompt.queueButton(PromptButton::Yes);
    prompt.queueButton(PromptButton::Cancel);

    EXPECT_FALSE(main.close());
    EXPECT_EQ(Captions(), (QStringList{QStringLiteral("first.net"), QStringLiteral("second.net")}));
    EXPECT_EQ(prompt.texts(),
              (QStringList{QStringLiteral("first.net has been modified, do you want to save?"),
                           QStringLiteral("second.net has been modified, do you want to save?")}));
    EXPECT_TRUE(main.NetworkWindows().at(0)->Network().IsSaved());
    EXPECT_FALSE(main.NetworkWindows().at(1)->Network().IsSaved());

    prompt.queueButton(PromptButton::No);
    EXPECT_TRUE(main.close());
    EXPECT_EQ(prompt.texts().size(), 3);
}

}  // namespace
}  // namespace corvix
