// The library panel: lazy device icons, installing with its log, the context menu and what a
// device node carries when it is dragged.
#include <QAction>
#include <QMenu>
#include <QMimeData>
#include <QTreeView>

#include "LibraryTestSupport.h"
#include "library/LibraryFolder.h"
#include "library/LibraryTreeModel.h"
#include "library/ui/InstallLogWindow.h"
#include "library/ui/LibraryDrag.h"
#include "library/ui/LibraryIconModel.h"
#include "library/ui/LibraryTreeWindow.h"

namespace corvix::test {

namespace {

class LibraryTreeWindowTest : public LibraryTest {
protected:
    void SetUp() override
    {
        // The delivered icons, so that every node has its image.
        SetLibrarySeedFolder(QStringLiteral(CORVIX_SOURCE_DIR "/data"));
        LibraryTest::SetUp();
        UserPrompt::setCurrent(&prompt);
        window = std::make_unique<TLibraryTreeWindow>(nullptr, library->LibraryPath());
    }
    void TearDown() override
    {
        UserPrompt::setCurrent(nullptr);
        SetLibrarySeedFolder({});
    }

    // Installs EDS texts (as name -> text) directly and shows the rebuilt tree.
    void install(const QList<std::pair<QString, QByteArray>>& files)
    {
        for (const auto& [name, text] : files) {
            ASSERT_TRUE(library->InstallEdsFile(source(name, text))) << name.toStdString();
        }
        window->Reload();
    }

    // The node whose text starts with text, searched depth first.
    QModelIndex find(const QString& text, const QModelIndex& parent = {}) const
    {
        const QAbstractItemModel& model = window->Model();
        for (int row = 0; row < model.rowCount(parent); ++row) {
            const QModelIndex node = model.index(row, 0, parent);
            if (node.data().toString().startsWith(text)) {
                return node;
            }
            if (const QModelIndex inner = find(text, node); inner.isValid()) {
                return inner;
            }
        }
        return {};
    }

    static QImage shown(const QModelIndex& node)
    {
        return node.data(Qt::DecorationRole).value<QIcon>().pixmap(16, 16).toImage();
    }
    QImage libraryIcon(const QString& relative) const
    {
        return QIcon(FindLibraryFile(library->LibraryPath(), relative)).pixmap(16, 16).toImage();
    }

    std::unique_ptr<TLibraryTreeWindow> window;
};

TEST_F(LibraryTreeWindowTest, DeviceIconsAreLoadedWhenTheirProfileFirstOpens)
{
    install({{"a.eds", MiniEds("1313", "7", "1", "1", "1", "Alpha")},
             {"b.eds", MiniEds("1313", "7", "2", "1", "1", "Bravo")},
             {"c.eds", MiniEds("1313", "7", "3", "1", "1", "Charlie")},
             {"d.eds", MiniEds("1313", "99", "4", "1", "1", "Delta")}});
    // Bravo has an icon of its own.
    ASSERT_TRUE(QFile::copy(FindLibraryFile(library->LibraryPath(), "ICONS\\Profile12.ICO"),
                            library->LibraryPath() + "eds/1313_7_2_1.ico"));
    window->Refill();

    const QModelIndex alpha = find("Alpha");
    ASSERT_TRUE(alpha.isValid());
    EXPECT_EQ(shown(alpha), libraryIcon("ICONS\\Device.ico")) << "before the profile opened";
    const int loadedBefore = window->Model().LoadedIconCount();

    window->TreeView().expand(alpha.parent().parent());
    window->TreeView().expand(alpha.parent());
    const struct {
        const char* device;
        const char* icon;
    } cases[] = {{"Alpha", "ICONS\\Profile7.ICO"},
                 {"Bravo", "ICONS\\Profile12.ICO"},
                 {"Charlie", "ICONS\\Profile7.ICO"}};
    for (const auto& c : cases) {
        EXPECT_EQ(shown(find(c.device)), libraryIcon(c.icon)) << c.device;
    }
    // The devices without own icon share one loaded image.
    EXPECT_EQ(find("Alpha").data(Qt::DecorationRole).value<QIcon>().cacheKey(),
              find("Charlie").data(Qt::DecorationRole).value<QIcon>().cacheKey());
    EXPECT_LE(window->Model().LoadedIconCount(), loadedBefore + 4);

    // A profile without icon file: the default icon once opened.
    const QModelIndex delta = find("Delta");
    window->TreeView().expand(delta.parent());
    EXPECT_EQ(shown(find("Delta")), libraryIcon("ICONS\\Default.ico"));

    // Opened and closed images of the vendor and profile nodes.
    EXPECT_EQ(shown(alpha.parent()), libraryIcon("ICONS\\ProfileOpen.ico"));
    window->TreeView().collapse(alpha.parent());
    EXPECT_EQ(shown(find("Alpha").parent()), libraryIcon("ICONS\\ProfileClosed.ico"));
}

TEST_F(LibraryTreeWindowTest, InstallingLogsEachFileAndShowsWhatWasInstalled)
{
    const QString good = source("good.eds", MiniEds("1313", "7", "1", "1", "1", "Good One"));
    QByteArray broken = MiniEds("1313", "7", "2", "1");
    broken.replace(" ProdName = \"Test Device\";\n", "");
    const QString bad = source("bad.eds", broken);
    prompt.queueFiles({good, bad});
    int changed = 0;
    QObject::connect(window.get(), &TLibraryTreeWindow::libraryChanged, [&] { ++changed; });

    window->InstallEdsFiles();

    ASSERT_NE(window->InstallLog(), nullptr);
    const QStringList lines = window->InstallLog()->Lines();
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.first(), "Successfully installed: " + good);
    EXPECT_EQ(lines.last(), "Failed to install: " + bad);
    EXPECT_TRUE(find("Good One").isValid());
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(prompt.fileRequests().value(0).mode, FileDialogRequest::Mode::OpenMany);

    // Cancelling the dialog changes nothing.
    window->InstallEdsFiles();
    EXPECT_EQ(changed, 1);
}

TEST_F(LibraryTreeWindowTest, ContextMenuAndDragFollowTheSelectedNodeLevel)
{
    install({{"a.eds", MiniEds("1313", "7", "1", "1", "1", "Alpha")}});
    const QModelIndex device = find("Alpha");
    const struct {
        QModelIndex node;
        bool deviceCommands;
    } cases[] = {{device.parent().parent(), false}, {device.parent(), false}, {device, true}};
    for (const auto& c : cases) {
        window->TreeView().setCurrentIndex(c.node);
        Q_EMIT window->ContextMenu().aboutToShow();
        const QList<QAction*> actions = window->ContextMenu().actions();
        ASSERT_EQ(actions.size(), 3);
        EXPECT_TRUE(actions[0]->isEnabled());
        EXPECT_EQ(actions[1]->isEnabled(), c.deviceCommands)
            << c.node.data().toString().toStdString();
        EXPECT_EQ(actions[2]->isEnabled(), c.deviceCommands);

        std::unique_ptr<QMimeData> mime(window->Model().mimeData({c.node}));
        EXPECT_EQ(mime != nullptr, c.deviceCommands);
        EXPECT_EQ(window->Model().flags(c.node).testFlag(Qt::ItemIsDragEnabled), c.deviceCommands);
        if (mime) {
            EXPECT_EQ(mime->data(LibraryDeviceMimeType()), "eds\\1313_7_1_1.");
        }
    }

    // Removing the selected device takes it out of the library and the tree.
    window->TreeView().setCurrentIndex(device);
    window->RemoveDevice();
    EXPECT_FALSE(find("Alpha").isValid());
    EXPECT_FALSE(QFile::exists(libraryFile("eds/1313_7_1_1.eds")));
}

TEST_F(LibraryTreeWindowTest, DeviceIconIsStoredUnderTheDeviceKey)
{
    install({{"a.eds", MiniEds("1313", "7", "1", "1", "1", "Alpha")}});
    window->TreeView().setCurrentIndex(find("Alpha"));
    const QString garbage = source("broken.ico", "not an icon");
    prompt.queueFiles({garbage});
    window->AddDeviceIcon();
    EXPECT_FALSE(QFile::exists(libraryFile("eds/1313_7_1_1.ico")));
    EXPECT_TRUE(prompt.texts().last().contains("cannot be loaded"));

    window->TreeView().setCurrentIndex(find("Alpha"));
    prompt.queueFiles({FindLibraryFile(library->LibraryPath(), "ICONS\\Profile12.ICO")});
    window->AddDeviceIcon();
    ASSERT_TRUE(QFile::exists(libraryFile("eds/1313_7_1_1.ico")));
    window->TreeView().expand(find("Alpha").parent());
    EXPECT_EQ(shown(find("Alpha")), libraryIcon("ICONS\\Profile12.ICO"));
}

TEST_F(LibraryTreeWindowTest, ADamagedFileInTheLibraryIsNamedInsteadOfEndingTheProgram)
{
    install({{"d.eds", MiniEds("1", "7", "2", "1")}});
    QFile broken(libraryFile("eds/1_7_3_1.eds"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("ProdName=\"x\";\r\nMajRev=1;\r\n");  // no minor revision
    broken.close();
    QFile::remove(libraryFile("Library.inf"));  // the next fill rebuilds it
    EXPECT_NO_THROW(window->Refill());
    ASSERT_FALSE(prompt.questions().isEmpty());
    EXPECT_EQ(prompt.questions().last().icon, PromptIcon::Error);
    EXPECT_TRUE(prompt.questions().last().text.startsWith("eds/1_7_3_1.eds: "));
}

}  // namespace

}  // namespace corvix::test
