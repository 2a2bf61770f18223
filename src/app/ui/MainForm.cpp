#include "app/ui/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

#include "app/NetworkListRules.h"
#include "app/Registry.h"
#include "app/SharedLibrary.h"
#include "app/ToolHost.h"
#include "app/UserPrompt.h"
#include "app/WindowMessage.h"
#include "app/ui/DriverDialog.h"
#include "app/ui/HelpBrowser.h"
#include "app/ui/SplashWindow.h"
#include "library/ui/LibraryTreeWindow.h"
#include "network/DeviceNetWork.h"
#include "network/ui/DeviceNetWorkWindow.h"

namespace corvix {

namespace {

// Posted by Save Network, so the save runs after the menu or button has finished its click.
constexpr int SaveActiveNetworkMessage = 0x149C;

QAction* MakeAction(QObject* parent, const QString& text, const QKeySequence& shortcut = {})
{
    auto* action = new QAction(text, parent);
    action->setShortcut(shortcut);
    return action;
}

QString MenuText(const QString& path)
{
    return QString(path).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

Tcontform::Tcontform(const QString& appFolder, QWidget* parent)
    : QMainWindow(parent), appFolder_(appFolder)
{
    setWindowTitle(QApplication::applicationDisplayName());
    netArea_ = new QMdiArea(this);
    netArea_->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(netArea_);
    connect(netArea_, &QMdiArea::subWindowActivated, this, [this] { UpdateCommandStates(); });

    createCommands();
    createMenus();
    createToolBar();
    createToolEntries();
    createLibraryPanel();
}

Tcontform::~Tcontform()
{
    // The network windows go first: they release their drivers and may still ask for the
    // command states while they do.
    closing_ = true;
    const QList<TDeviceNetWorkWindow*> windows = networks_;
    networks_.clear();
    for (TDeviceNetWorkWindow* window : windows) {
        delete window->parentWidget();
    }
}

void Tcontform::createCommands()
{
    QStyle* s = style();
    Commands& c = commands_;
    c.newNetwork =
        MakeAction(this, QStringLiteral("&New Network..."), QKeySequence(Qt::CTRL | Qt::Key_N));
    c.newNetwork->setIcon(s->standardIcon(QStyle::SP_FileIcon));
    c.loadNetwork = MakeAction(this, QStringLiteral("&Load Network from file..."),
                               QKeySequence(Qt::CTRL | Qt::Key_O));
    c.loadNetwork->setIcon(s->standardIcon(QStyle::SP_DialogOpenButton));
    c.saveAll = MakeAction(this, QStringLiteral("Save &All"));
    c.save = MakeAction(this, QStringLiteral("&Save Network"), QKeySequence(Qt::CTRL | Qt::Key_S));
    c.save->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
    c.saveAs = MakeAction(this, QStringLiteral("Sa&ve Network As..."),
                          QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_S));
    c.print = MakeAction(this, QStringLiteral("&Print..."), QKeySequence(Qt::CTRL | Qt::Key_P));
    c.print->setIcon(s->standardIcon(QStyle::SP_FileDialogContentsView));
    c.exit = MakeAction(this, QStringLiteral("&Exit"), QKeySequence(Qt::ALT | Qt::Key_F4));
    c.showHardware = MakeAction(this, QStringLiteral("&Show Hardware"),
                                QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
    c.showHardware->setCheckable(true);
    c.goOnline = MakeAction(this, QStringLiteral("&Go Online"), QKeySequence(Qt::CTRL | Qt::Key_G));
    c.goOnline->setIcon(s->standardIcon(QStyle::SP_MediaPlay));
    c.update = MakeAction(this, QStringLiteral("&Update"), QKeySequence(Qt::Key_F5));
    c.update->setIcon(s->standardIcon(QStyle::SP_BrowserReload));
    c.upload = MakeAction(this, QStringLiteral("U&pload from Network"));
    c.download = MakeAction(this, QStringLiteral("&Download to Network"));
    c.configureDriver = MakeAction(this, QStringLiteral("&Configure Driver..."),
                                   QKeySequence(Qt::CTRL | Qt::Key_C));
    c.configureDriver->setIcon(s->standardIcon(QStyle::SP_ComputerIcon));
    c.installEds = MakeAction(this, QStringLiteral("&Install EDS-file..."),
                              QKeySequence(Qt::CTRL | Qt::Key_E));
    c.installEds->setIcon(s->standardIcon(QStyle::SP_FileDialogNewFolder));
    c.quickConnect = MakeAction(this, QStringLiteral("Quick Connect..."));
    c.contents = MakeAction(this, QStringLiteral("&Contents"), QKeySequence(Qt::CTRL | Qt::Key_F1));
    c.index = MakeAction(this, QStringLiteral("&Index"), QKeySequence(Qt::Key_F1));
    c.about = MakeAction(this, QStringLiteral("&About..."));

    connect(c.newNetwork, &QAction::triggered, this, &Tcontform::NewNetwork);
    connect(c.loadNetwork, &QAction::triggered, this, &Tcontform::OpenNetworkFile);
    connect(c.saveAll, &QAction::triggered, this, &Tcontform::SaveAllNetworks);
    connect(c.save, &QAction::triggered, this, [this] {
        PostWindowMessage(this, SaveActiveNetworkMessage);
        commands_.save->setEnabled(false);  // no second click before the save has run
    });
    connect(c.saveAs, &QAction::triggered, this, &Tcontform::SaveActiveNetworkAs);
    connect(c.exit, &QAction::triggered, this, &QWidget::close);
    connect(c.showHardware, &QAction::triggered, this, &Tcontform::ShowHardware);
    connect(c.installEds, &QAction::triggered, this, [this] { libraryWindow_->InstallEdsFiles(); });
    connect(c.contents, &QAction::triggered, this,
            [] { ShowHelpTopic(QStringLiteral("welcometopic.htm")); });
    connect(c.index, &QAction::triggered, this,
            [] { ShowHelpTopic(QStringLiteral("welcometopic.htm")); });
    connect(c.about, &QAction::triggered, this, [this] { ShowAbout(this); });
    connect(c.goOnline, &QAction::triggered, this, [this] { GoOnlineOrOffline(ActiveNetwork()); });
    connect(c.update, &QAction::triggered, this, [this] { Browse(ActiveNetwork()); });
    connect(c.configureDriver, &QAction::triggered, this,
            [this] { ConfigureDriver(ActiveNetwork()); });
    for (QAction* pending : {c.print, c.upload, c.download, c.quickConnect}) {
        connect(pending, &QAction::triggered, this,
                [this, pending] { notAvailable(pending->text()); });
    }
}

void Tcontform::createMenus()
{
    const Commands& c = commands_;
    fileMenu_ = menuBar()->addMenu(QStringLiteral("&File"));
    fileMenu_->addActions({c.newNetwork, c.loadNetwork, c.saveAll, c.save, c.saveAs});
    fileMenu_->addSeparator();
    fileMenu_->addAction(c.print);
    fileMenu_->addSeparator();
    recentSeparator_ = fileMenu_->addSeparator();
    fileMenu_->addAction(c.exit);

    menuBar()->addMenu(QStringLiteral("&View"))->addAction(c.showHardware);
    QMenu* network = menuBar()->addMenu(QStringLiteral("&Network"));
    network->addActions({c.goOnline, c.update});
    network->addSeparator();
    network->addActions({c.upload, c.download});
    toolsMenu_ = menuBar()->addMenu(QStringLiteral("&Tools"));
    toolsMenu_->addActions({c.configureDriver, c.installEds, c.quickConnect});
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addActions({c.contents, c.index});
    help->addSeparator();
    help->addAction(c.about);
}

void Tcontform::createToolBar()
{
    const Commands& c = commands_;
    toolBar_ = addToolBar(QStringLiteral("Commands"));
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setMovable(false);
    toolBar_->setIconSize(QSize(20, 20));
    toolBar_->addActions({c.newNetwork, c.loadNetwork, c.save, c.print});
    toolBar_->addSeparator();
    toolBar_->addActions({c.goOnline, c.update, c.configureDriver});
    toolBar_->addSeparator();
    toolBar_->addAction(c.installEds);
}

void Tcontform::createToolEntries()
{
    toolCaptions_ = FindTools(QDir(appFolder_).filePath(QStringLiteral("Tools")));
    if (toolCaptions_.isEmpty()) {
        return;
    }
    toolsMenu_->addSeparator();
    for (const QString& caption : toolCaptions_) {
        QAction* action = toolsMenu_->addAction(MenuText(caption));
        connect(action, &QAction::triggered, this, [this, caption] { RunTool(caption); });
        toolActions_.append(action);
    }
}

void Tcontform::createLibraryPanel()
{
    libraryWindow_ = new TLibraryTreeWindow;
    libDock_ = new QDockWidget(QStringLiteral("DeviceNet Hardware"), this);
    libDock_->setObjectName(QStringLiteral("libpanel"));
    libDock_->setFeatures(QDockWidget::NoDockWidgetFeatures);
    libDock_->setWidget(libraryWindow_);
    addDockWidget(Qt::LeftDockWidgetArea, libDock_);
    connect(libraryWindow_, &TLibraryTreeWindow::libraryChanged, this, [this] {
        for (TDeviceNetWorkWindow* window : networks_) {
            window->onLibraryChanged();
        }
    });

    const bool shown = !RegValueExists(QStringLiteral("ViewHardWare")) ||
                       ReadRegBool(QStringLiteral("ViewHardWare"));
    libDock_->setVisible(shown);
    commands_.showHardware->setChecked(shown);
    libraryWindow_->Refill();
}

void Tcontform::Startup(const QString& commandLineFile)
{
    if (libDock_->isVisible()) {
        resizeDocks({libDock_}, {width() / 5}, Qt::Horizontal);
    }
    creatingStartupNetwork_ = true;
    NewNetwork();
    creatingStartupNetwork_ = false;

    WriteRegString(QStringLiteral("ExecPath"),
                   QDir::toNativeSeparators(appFolder_ + QLatin1Char('/')));
    recent_.Load();
    RebuildRecentMenu();
    UpdateCommandStates();
    // A relative path on the command line names a file of the folder the program was started
    // in, so it is resolved before the application folder becomes the current one.
    const QString networkFile =
        commandLineFile.isEmpty() ? QString() : QFileInfo(commandLineFile).absoluteFilePath();
    QDir::setCurrent(appFolder_);
    if (!networkFile.isEmpty()) {
        OpenRecentNetwork(networkFile);
    }
}

void Tcontform::NewNetwork()
{
    auto network = std::make_unique<TDeviceNetWork>();
    network->Caption = UntitledCaption(static_cast<int>(networks_.size()));
    network->IsStartupNetwork = creatingStartupNetwork_;
    addNetworkWindow(std::move(network));
}

TDeviceNetWorkWindow* Tcontform::addNetworkWindow(std::unique_ptr<TDeviceNetWork> network)
{
    const bool tabs = ReadRegBool(QStringLiteral("TabNetWorks"));
    netArea_->setViewMode(tabs ? QMdiArea::TabbedView : QMdiArea::SubWindowView);
    netArea_->setDocumentMode(tabs);
    netArea_->setTabsClosable(tabs);

    TDeviceNetWork* model = network.get();
    auto* window = new TDeviceNetWorkWindow(std::move(network));
    QMdiSubWindow* sub = netArea_->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(model->Caption);
    networks_.append(window);

    connect(model, &TDeviceNetWork::changed, sub, [this, sub, model] {
        sub->setWindowTitle(model->Caption);
        UpdateCommandStates();
    });
    connect(window, &TDeviceNetWorkWindow::stateChanged, this, &Tcontform::UpdateCommandStates);
    connect(model, &TDeviceNetWork::connectionStateChanged, window, [this, window, model] {
        window->onConnectionStateChanged(model->IsOnline(), static_cast<int>(model->NetworkStatus));
        UpdateCommandStates();
    });
    connect(window, &TDeviceNetWorkWindow::configureDriverRequested, this,
            [this, window] { ConfigureDriver(window); });
    connect(window, &TDeviceNetWorkWindow::goOnlineRequested, this,
            [this, window] { GoOnlineOrOffline(window); });
    connect(window, &TDeviceNetWorkWindow::goOfflineRequested, this,
            [this, window] { GoOnlineOrOffline(window); });
    connect(window, &TDeviceNetWorkWindow::browseRequested, this,
            [this, window] { Browse(window); });
    connect(window, &QObject::destroyed, this, [this, window] { removeNetworkWindow(window); });

    sub->showMaximized();
    netArea_->setActiveSubWindow(sub);
    window->setFocus();
    UpdateCommandStates();
    return window;
}

void Tcontform::removeNetworkWindow(TDeviceNetWorkWindow* window)
{
    if (networks_.removeOne(window)) {
        UpdateCommandStates();
    }
}

void Tcontform::closeStartupNetworks()
{
    QList<TDeviceNetWork*> models;
    for (TDeviceNetWorkWindow* window : networks_) {
        models.append(&window->Network());
    }
    const QList<TDeviceNetWork*> closing = StartupNetworksToClose(models);
    for (TDeviceNetWorkWindow* window : QList<TDeviceNetWorkWindow*>(networks_)) {
        if (closing.contains(&window->Network())) {
            networks_.removeOne(window);
            delete window->parentWidget();
        }
    }
}

void Tcontform::OpenNetworkFile()
{
    QString folder = QDir(appFolder_).filePath(QStringLiteral("data"));
    ReadRegString(QStringLiteral("LastNetWorkDataLocation"), folder);
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::OpenOne;
    request.caption = QStringLiteral("Open");
    request.folder = folder;
    request.filter = QStringLiteral("Saved network data files (*.net)");
    request.defaultSuffix = QStringLiteral("net");
    const QStringList chosen = UserPrompt::current().chooseFiles(request);
    if (!chosen.isEmpty()) {
        OpenRecentNetwork(chosen.first());
    }
}

bool Tcontform::OpenRecentNetwork(const QString& path)
{
    auto network = std::make_unique<TDeviceNetWork>();
    if (!network->LoadFromFile(path)) {
        return false;
    }
    closeStartupNetworks();
    addNetworkWindow(std::move(network));
    AddRecentNetwork(path);
    return true;
}

void Tcontform::SaveAllNetworks()
{
    for (TDeviceNetWorkWindow* window : QList<TDeviceNetWorkWindow*>(networks_)) {
        TDeviceNetWork& network = window->Network();
        if (!network.IsSaved() && network.SaveNetwork()) {
            AddRecentNetwork(network.FilePath);
        }
    }
}

void Tcontform::SaveActiveNetwork()
{
    TDeviceNetWorkWindow* active = ActiveNetwork();
    if (active == nullptr) {
        return;
    }
    TDeviceNetWork& network = active->Network();
    // A cancelled Save As leaves no path: nothing to remember then.
    if (network.SaveNetwork() && !network.FilePath.isEmpty()) {
        AddRecentNetwork(network.FilePath);
    }
    UpdateCommandStates();
}

void Tcontform::SaveActiveNetworkAs()
{
    TDeviceNetWorkWindow* active = ActiveNetwork();
    if (active != nullptr && active->Network().SaveNetworkAs()) {
        AddRecentNetwork(active->Network().FilePath);
    }
}

TDeviceNetWorkWindow* Tcontform::ActiveNetwork() const
{
    // The current sub-window may be one being destroyed, so it is only compared, never asked.
    const QMdiSubWindow* current = netArea_->currentSubWindow();
    for (TDeviceNetWorkWindow* window : networks_) {
        if (current != nullptr && window->parentWidget() == current) {
            return window;
        }
    }
    return nullptr;
}

void Tcontform::UpdateCommandStates()
{
    if (closing_) {
        return;
    }
    const TDeviceNetWorkWindow* active = ActiveNetwork();
    CommandContext context;
    if (active != nullptr) {
        context.hasNetwork = true;
        context.modified = !active->Network().IsSaved();
        context.online = active->Network().IsOnline();
        context.hasSelectedDevice = active->SelectedMacId() >= 0;
    }
    const CommandStates states = ComputeCommandStates(context);
    const Commands& c = commands_;
    c.saveAs->setEnabled(states.saveAs);
    c.save->setEnabled(states.save);
    c.print->setEnabled(states.print);
    c.configureDriver->setEnabled(states.configureDriver);
    c.goOnline->setEnabled(states.goOnline);
    c.update->setEnabled(states.update);
    c.upload->setEnabled(states.upload);
    c.download->setEnabled(states.download);
    c.goOnline->setText(states.goOnlineCaption);
    c.goOnline->setIcon(style()->standardIcon(states.goOnlineImage == 9 ? QStyle::SP_MediaStop
                                                                        : QStyle::SP_MediaPlay));
    for (QAction* tool : toolActions_) {
        tool->setEnabled(states.tools);
    }
    for (QAction* button : {c.newNetwork, c.loadNetwork, c.save, c.print, c.goOnline, c.update,
                            c.configureDriver, c.installEds}) {
        button->setToolTip(
            ToolButtonHint(button->text(), button->shortcut().toString(QKeySequence::NativeText)));
    }
}

void Tcontform::AddRecentNetwork(const QString& path)
{
    recent_.Add(path);
    RebuildRecentMenu();
}

void Tcontform::RebuildRecentMenu()
{
    qDeleteAll(recentActions_);
    recentActions_.clear();
    for (const QString& path : recent_.Entries()) {
        if (path.isEmpty()) {
            continue;
        }
        auto* action = new QAction(MenuText(QDir::toNativeSeparators(path)), fileMenu_);
        connect(action, &QAction::triggered, this, [this, path] { OpenRecentNetwork(path); });
        fileMenu_->insertAction(recentSeparator_, action);
        recentActions_.append(action);
    }
}

void Tcontform::ShowHardware()
{
    const bool show = !libDock_->isVisible();
    libDock_->setVisible(show);
    if (show) {
        resizeDocks({libDock_}, {width() / 5}, Qt::Horizontal);
    }
    commands_.showHardware->setChecked(show);
    WriteRegBool(QStringLiteral("ViewHardWare"), show);
}

void Tcontform::RunTool(const QString& caption)
{
    TDeviceNetWorkWindow* active = ActiveNetwork();
    if (active == nullptr) {
        return;
    }
    ToolTarget target;
    target.online = active->Network().IsOnline();
    target.selectedMacId = active->SelectedMacId();
    target.driverHandle = active->Network().DriverHandle;
    if (const SharedLibrary* driver = active->Network().DriverModule()) {
        target.driverModule = driver->nativeHandle();
    }
    ::corvix::RunTool(QDir(appFolder_).filePath(QStringLiteral("Tools")), caption, target);
    UpdateCommandStates();
}

void Tcontform::ConfigureDriver(TDeviceNetWorkWindow* window)
{
    if (window == nullptr) {
        return;
    }
    window->Network().ConfigureDriver([this](const QList<DriverListEntry>& drivers) {
        return TDriverDialog::Choose(drivers, this);
    });
    UpdateCommandStates();
}

void Tcontform::GoOnlineOrOffline(TDeviceNetWorkWindow* window)
{
    if (window == nullptr) {
        return;
    }
    TDeviceNetWork& network = window->Network();
    if (network.IsOnline()) {
        network.ReleaseDriver();
    } else {
        network.GoOnline([this](const QList<DriverListEntry>& drivers) {
            return TDriverDialog::Choose(drivers, this);
        });
    }
    UpdateCommandStates();
}

void Tcontform::Browse(TDeviceNetWorkWindow* window)
{
    if (window != nullptr && window->Network().IsOnline()) {
        window->Network().BrowseNetwork();
    }
}

void Tcontform::notAvailable(const QString& command)
{
    UserPrompt::current().message(QString(command).remove(QLatin1Char('&')) +
                                      QStringLiteral(" is not available in this version yet."),
                                  PromptIcon::Information);
}

bool Tcontform::event(QEvent* event)
{
    if (const WindowMessage* message = AsWindowMessage(event)) {
        if (message->id() == SaveActiveNetworkMessage) {
            SaveActiveNetwork();
            return true;
        }
    }
    return QMainWindow::event(event);
}

void Tcontform::closeEvent(QCloseEvent* event)
{
    QList<TDeviceNetWork*> models;
    for (TDeviceNetWorkWindow* window : networks_) {
        models.append(&window->Network());
    }
    if (!SaveModifiedNetworks(models, UserPrompt::current())) {
        event->ignore();
        return;
    }
    closing_ = true;
    event->accept();
}

}  // namespace corvix
