#include "library/ui/LibraryTreeWindow.h"

#include <QApplication>
#include <QImage>
#include <QImageWriter>
#include <QMenu>
#include <QMetaMethod>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/CorvixError.h"
#include "app/UserPrompt.h"
#include "library/LibraryTreeModel.h"
#include "library/TDeviceNetLib.h"
#include "library/ui/InstallLogWindow.h"
#include "library/ui/LibraryIconModel.h"

namespace corvix {

struct TLibraryTreeWindow::Private {
    std::unique_ptr<TDeviceNetLib> library;
    LibraryTreeModel* tree = nullptr;
    LibraryIconModel* model = nullptr;
    QTreeView* view = nullptr;
    QMenu* menu = nullptr;
    QAction* addDevice = nullptr;
    QAction* removeDevice = nullptr;
    QAction* addIcon = nullptr;
    TInstallLogWindow* log = nullptr;

    // The data texts of the selected device node; empty unless a device node is selected.
    QStringList selectedDevice() const
    {
        const QModelIndex index = view->currentIndex();
        return index.isValid() && index.data(LibraryTreeModel::LevelRole).toInt() == 2
                   ? index.data(LibraryTreeModel::NodeDataRole).toStringList()
                   : QStringList();
    }
};

TLibraryTreeWindow::TLibraryTreeWindow(QWidget* parent, const QString& libraryPath)
    : QWidget(parent), d_(std::make_unique<Private>())
{
    d_->library = std::make_unique<TDeviceNetLib>(this, nullptr, libraryPath);
    d_->tree = new LibraryTreeModel(this);
    d_->model = new LibraryIconModel(d_->library->LibraryPath(), this);
    d_->model->setSourceModel(d_->tree);

    d_->view = new QTreeView(this);
    d_->view->setObjectName(QStringLiteral("TreeView1"));
    d_->view->setModel(d_->model);
    d_->view->setHeaderHidden(true);
    d_->view->setIndentation(20);
    d_->view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    d_->view->setDragEnabled(true);
    d_->view->setDragDropMode(QAbstractItemView::DragOnly);
    d_->view->setIconSize(QSize(16, 16));
    d_->view->setUniformRowHeights(true);
    d_->view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(d_->view, &QTreeView::expanded, d_->model,
            [this](const QModelIndex& index) { d_->model->SetExpanded(index, true); });
    connect(d_->view, &QTreeView::collapsed, d_->model,
            [this](const QModelIndex& index) { d_->model->SetExpanded(index, false); });

    d_->menu = new QMenu(this);
    d_->addDevice =
        d_->menu->addAction(QStringLiteral("Add a new device to database"), this, [this] {
            if (isSignalConnected(
                    QMetaMethod::fromSignal(&TLibraryTreeWindow::edsWizardRequested))) {
                Q_EMIT edsWizardRequested();
            } else {
                UserPrompt::current().message(
                    QStringLiteral("The EDS wizard is not available yet."));
            }
        });
    d_->removeDevice = d_->menu->addAction(QStringLiteral("Remove device from database"), this,
                                           &TLibraryTreeWindow::RemoveDevice);
    d_->addIcon = d_->menu->addAction(QStringLiteral("&Add new device icon"), this,
                                      &TLibraryTreeWindow::AddDeviceIcon);
    connect(d_->menu, &QMenu::aboutToShow, this, [this] {
        const bool device = !d_->selectedDevice().isEmpty();
        d_->removeDevice->setEnabled(device);
        d_->addIcon->setEnabled(device);
    });
    connect(d_->view, &QWidget::customContextMenuRequested, this, [this](const QPoint& point) {
        if (const QModelIndex index = d_->view->indexAt(point); index.isValid()) {
            d_->view->setCurrentIndex(index);
        }
        d_->menu->popup(d_->view->viewport()->mapToGlobal(point));
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(d_->view);
}

TLibraryTreeWindow::~TLibraryTreeWindow() = default;

TDeviceNetLib& TLibraryTreeWindow::Library() const
{
    return *d_->library;
}

QTreeView& TLibraryTreeWindow::TreeView() const
{
    return *d_->view;
}

LibraryIconModel& TLibraryTreeWindow::Model() const
{
    return *d_->model;
}

QMenu& TLibraryTreeWindow::ContextMenu() const
{
    return *d_->menu;
}

TInstallLogWindow* TLibraryTreeWindow::InstallLog() const
{
    return d_->log;
}

void TLibraryTreeWindow::Refill()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    d_->view->setUpdatesEnabled(false);
    try {
        d_->library->FillLibraryTree(*d_->tree);
    } catch (const CorvixError& error) {
        // The fill rebuilds a missing index, which a damaged file in the library stops; the
        // user must learn which file it is, and the program must go on without the tree.
        UserPrompt::current().message(error.message(), PromptIcon::Error);
    }
    d_->view->setUpdatesEnabled(true);
    QApplication::restoreOverrideCursor();
}

void TLibraryTreeWindow::Reload()
{
    d_->tree->Clear();
    try {
        d_->library->RebuildLibrary();
    } catch (const CorvixError& error) {
        UserPrompt::current().message(error.message(), PromptIcon::Error);
    }
    Refill();
}

void TLibraryTreeWindow::InstallEdsFiles()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::OpenMany;
    request.caption = QStringLiteral("Install EDS-File(s)");
    request.fileName = QStringLiteral("*.eds");
    request.filter = QStringLiteral("EDS-files (*.eds)");
    const QStringList files = UserPrompt::current().chooseFiles(request);
    if (files.isEmpty()) {
        return;
    }
    if (!d_->log) {
        d_->log = new TInstallLogWindow(this);
        d_->log->setWindowFlag(Qt::Window);
    }
    d_->log->show();
    d_->log->raise();
    d_->library->SetWizardLog(d_->log);
    d_->library->InstallEdsFiles(files);
    d_->library->SetWizardLog(nullptr);
    Reload();
    Q_EMIT libraryChanged();
}

void TLibraryTreeWindow::RemoveDevice()
{
    const QStringList node = d_->selectedDevice();
    if (node.isEmpty()) {
        return;
    }
    d_->library->RemoveLibraryDevice(node);
    Reload();
    Q_EMIT libraryChanged();
}

void TLibraryTreeWindow::AddDeviceIcon()
{
    const QStringList node = d_->selectedDevice();
    if (node.isEmpty() || !IsInstalledFileStem(node.value(0))) {
        return;
    }
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::OpenOne;
    request.caption = QStringLiteral("Add new device icon");
    request.fileName = QStringLiteral("*.ico");
    request.filter = QStringLiteral("Icon files (*.ico)");
    const QString file = UserPrompt::current().chooseFiles(request).value(0);
    if (file.isEmpty()) {
        return;
    }
    const QImage image(file);
    if (image.isNull()) {
        UserPrompt::current().message(
            QStringLiteral("The icon file %1 cannot be loaded.").arg(file), PromptIcon::Error);
        return;
    }
    QString target = node.value(0) + QStringLiteral("ico");
    target.replace(u'\\', u'/');
    QImageWriter writer(d_->library->LibraryPath() + target, "ico");
    if (!writer.write(image.width() > 256 || image.height() > 256
                          ? image.scaled(256, 256, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                          : image)) {
        UserPrompt::current().message(writer.errorString(), PromptIcon::Error);
        return;
    }
    d_->tree->Clear();
    Refill();
}

}  // namespace corvix
