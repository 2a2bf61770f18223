#pragma once

#include <QMainWindow>
#include <QStringList>

#include "app/CommandStates.h"
#include "app/RecentNetworks.h"

class QAction;
class QDockWidget;
class QMdiArea;
class QMenu;
class QToolBar;

namespace corvix {

class TDeviceNetWork;
class TDeviceNetWorkWindow;
class TLibraryTreeWindow;

// The main window: the library panel on the left, the open networks in the area on the right,
// the menu and the tool bar. It owns every network window and routes each command to the
// active one.
class Tcontform : public QMainWindow {
    Q_OBJECT
public:
    // appFolder holds Tools/, help/ and data/ (the executable's folder in a real run).
    explicit Tcontform(const QString& appFolder, QWidget* parent = nullptr);
    ~Tcontform() override;

    // The steps after the window is shown: the first network Untitled1, the recent files, the
    // command states and the network file given on the command line, if any.
    void Startup(const QString& commandLineFile);

    void NewNetwork();
    void OpenNetworkFile();
    // Opens path in a new network window; on success unchanged start-up networks give way and
    // path becomes the newest recent file. A file that fails to load leaves no window behind.
    bool OpenRecentNetwork(const QString& path);
    void SaveAllNetworks();
    void AddRecentNetwork(const QString& path);
    TDeviceNetWorkWindow* ActiveNetwork() const;
    QList<TDeviceNetWorkWindow*> NetworkWindows() const { return networks_; }
    void UpdateCommandStates();

    const RecentNetworks& Recent() const { return recent_; }
    const QStringList& ToolCaptions() const { return toolCaptions_; }

    // The commands, for the windows that share them and for tests.
    struct Commands {
        QAction* newNetwork;
        QAction* loadNetwork;
        QAction* saveAll;
        QAction* save;
        QAction* saveAs;
        QAction* print;
        QAction* exit;
        QAction* showHardware;
        QAction* goOnline;
        QAction* update;
        QAction* upload;
        QAction* download;
        QAction* configureDriver;
        QAction* installEds;
        QAction* quickConnect;
        QAction* contents;
        QAction* index;
        QAction* about;
    };
    const Commands& commands() const { return commands_; }
    QList<QAction*> ToolActions() const { return toolActions_; }
    QMenu* FileMenu() const { return fileMenu_; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createCommands();
    void createMenus();
    void createToolBar();
    void createLibraryPanel();
    void createToolEntries();
    TDeviceNetWorkWindow* addNetworkWindow(std::unique_ptr<TDeviceNetWork> network);
    void removeNetworkWindow(TDeviceNetWorkWindow* window);
    void closeStartupNetworks();
    void RebuildRecentMenu();
    void ShowHardware();
    void SaveActiveNetwork();
    void SaveActiveNetworkAs();
    void RunTool(const QString& caption);
    void ConfigureDriver(TDeviceNetWorkWindow* window);
    void GoOnlineOrOffline(TDeviceNetWorkWindow* window);
    void Browse(TDeviceNetWorkWindow* window);
    void notAvailable(const QString& command);

    QString appFolder_;
    Commands commands_{};
    QMenu* fileMenu_ = nullptr;
    QMenu* toolsMenu_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QMdiArea* netArea_ = nullptr;
    QDockWidget* libDock_ = nullptr;
    TLibraryTreeWindow* libraryWindow_ = nullptr;
    QList<TDeviceNetWorkWindow*> networks_;
    QList<QAction*> toolActions_;
    QList<QAction*> recentActions_;
    QAction* recentSeparator_ = nullptr;
    QStringList toolCaptions_;
    RecentNetworks recent_;
    bool creatingStartupNetwork_ = false;
    bool closing_ = false;
};

}  // namespace corvix
