#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "app/CommandStates.h"
#include "app/NetworkListRules.h"
#include "app/RecentNetworks.h"
#include "app/ScriptedPrompt.h"
#include "network/DeviceNetWork.h"

namespace corvix {
namespace {

TEST(CommandStatesTest, FollowTheActiveNetwork)
{
    struct Case {
        const char* name;
        CommandContext context;
        bool saveAs, save, goOnline, update, tools;
        const char* caption;
        int image;
    };
    const Case cases[] = {
        {"no network",
         {false, true, true, true},
         false,
         false,
         false,
         false,
         false,
         "&Go Online",
         8},
        {"unchanged offline",
         {true, false, false, false},
         true,
         false,
         true,
         false,
         false,
         "&Go Online",
         8},
        {"modified offline with selection",
         {true, true, false, true},
         true,
         true,
         true,
         false,
         false,
         "&Go Online",
         8},
        {"online without selection",
         {true, false, true, false},
         true,
         false,
         true,
         true,
         false,
         "&Go Offline",
         9},
        {"online with selection",
         {true, false, true, true},
         true,
         false,
         true,
         true,
         true,
         "&Go Offline",
         9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandStates s = ComputeCommandStates(c.context);
        EXPECT_EQ(s.saveAs, c.saveAs);
        EXPECT_EQ(s.save, c.save);
        EXPECT_EQ(s.goOnline, c.goOnline);
        EXPECT_EQ(s.configureDriver, c.goOnline);
        EXPECT_EQ(s.print, c.goOnline);
        EXPECT_EQ(s.update, c.update);
        EXPECT_EQ(s.upload, c.update);
        EXPECT_EQ(s.download, c.update);
        EXPECT_EQ(s.tools, c.tools);
        EXPECT_EQ(s.goOnlineCaption, QString::fromLatin1(c.caption));
        EXPECT_EQ(s.goOnlineImage, c.image);
    }
}

TEST(CommandStatesTest, ButtonHintDropsTheAccelerator)
{
    EXPECT_EQ(ToolButtonHint(QStringLiteral("&New Network..."), QStringLiteral("Ctrl+N")),
              QStringLiteral("New Network...  Ctrl+N"));
    EXPECT_EQ(ToolButtonHint(QStringLiteral("&Update"), QStringLiteral("F5")),
              QStringLiteral("Update  F5"));
}

TEST(RecentNetworksTest, KeepsFourDistinctNewestFirstAndStoresThem)
{
    struct Case {
        const char* name;
        QStringList added;  // in order
        std::array<const char*, 4> expected;
    };
    const Case cases[] = {
        {"one", {"/a.net"}, {"/a.net", "", "", ""}},
        {"newest first", {"/a.net", "/b.net"}, {"/b.net", "/a.net", "", ""}},
        {"same file twice stays once, moved up",
         {"/a.net", "/b.net", "/c.net", "/a.net"},
         {"/a.net", "/c.net", "/b.net", ""}},
        {"fifth pushes out the oldest",
         {"/a.net", "/b.net", "/c.net", "/d.net", "/e.net"},
         {"/e.net", "/d.net", "/c.net", "/b.net"}},
        {"repeat of the oldest with a full list",
         {"/a.net", "/b.net", "/c.net", "/d.net", "/a.net"},
         {"/a.net", "/d.net", "/c.net", "/b.net"}},
        {"comparison is exact", {"/a.net", "/A.net"}, {"/A.net", "/a.net", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecentNetworks recent;
        for (const QString& path : c.added) {
            recent.Add(path);
        }
        RecentNetworks reloaded;
        reloaded.Load();
        for (int slot = 0; slot < RecentNetworks::Count; ++slot) {
            EXPECT_EQ(recent.Entries()[slot], QString::fromLatin1(c.expected[slot])) << slot;
            EXPECT_EQ(reloaded.Entries()[slot], recent.Entries()[slot]) << slot;
        }
    }
}

TEST(NetworkListRulesTest, UntitledCountsFromOne)
{
    EXPECT_EQ(UntitledCaption(0), QStringLiteral("Untitled1"));
    EXPECT_EQ(UntitledCaption(2), QStringLiteral("Untitled3"));
}

TEST(NetworkListRulesTest, OnlyUnchangedStartupNetworksGiveWay)
{
    TDeviceNetWork unchangedStartup;
    unchangedStartup.IsStartupNetwork = true;
    TDeviceNetWork changedStartup;
    changedStartup.IsStartupNetwork = true;
    changedStartup.MarkModified();
    TDeviceNetWork opened;
    const QList<TDeviceNetWork*> closing =
        StartupNetworksToClose({&unchangedStartup, &changedStartup, &opened});
    EXPECT_EQ(closing, QList<TDeviceNetWork*>{&unchangedStartup});
}

class CloseQuestionsTest : public ::testing::Test {
protected:
    // A modified network with a file to save into.
    std::unique_ptr<TDeviceNetWork> ModifiedWithFile(const QString& name)
    {
        auto network = std::make_unique<TDeviceNetWork>();
        network->Caption = name;
        network->FilePath = folder.filePath(name);
        QFile file(network->FilePath);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        network->MarkModified();
        return network;
    }

    void SetUp() override { UserPrompt::setCurrent(&prompt); }
    void TearDown() override { UserPrompt::setCurrent(nullptr); }

    QTemporaryDir folder;
    ScriptedPrompt prompt;
};

TEST_F(CloseQuestionsTest, AsksForEachModifiedNetworkAndStopsAtCancel)
{
    auto first = ModifiedWithFile(QStringLiteral("first.net"));
    TDeviceNetWork unchanged;
    auto second = ModifiedWithFile(QStringLiteral("second.net"));
    prompt.queueButton(PromptButton::Yes);
    prompt.queueButton(PromptButton::Cancel);

    EXPECT_FALSE(SaveModifiedNetworks({first.get(), &unchanged, second.get()}, prompt));
    EXPECT_EQ(prompt.texts(),
              (QStringList{QStringLiteral("first.net has been modified, do you want to save?"),
                           QStringLiteral("second.net has been modified, do you want to save?")}));
    EXPECT_TRUE(first->IsSaved());
    EXPECT_FALSE(second->IsSaved());
}

TEST_F(CloseQuestionsTest, NoLeavesTheNetworkUnsavedAndCloses)
{
    auto first = ModifiedWithFile(QStringLiteral("first.net"));
    auto second = ModifiedWithFile(QStringLiteral("second.net"));
    prompt.queueButton(PromptButton::No);
    prompt.queueButton(PromptButton::Yes);

    EXPECT_TRUE(SaveModifiedNetworks({first.get(), second.get()}, prompt));
    EXPECT_FALSE(first->IsSaved());
    EXPECT_TRUE(second->IsSaved());
}

TEST_F(CloseQuestionsTest, CancelledSaveAsKeepsTheProgramOpen)
{
    TDeviceNetWork untitled;
    untitled.Caption = QStringLiteral("Untitled1");
    untitled.MarkModified();
    prompt.queueButton(PromptButton::Yes);
    prompt.queueFiles({});  // the Save As dialog is cancelled

    EXPECT_FALSE(SaveModifiedNetworks({&untitled}, prompt));
    EXPECT_FALSE(untitled.IsSaved());
}

}  // namespace
}  // namespace corvix
