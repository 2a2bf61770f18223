#include "app/ui/HelpBrowser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWidget>

namespace corvix {

namespace {

const QString HomeTopic = QStringLiteral("welcometopic.htm");

class HelpWindow : public QWidget {
public:
    HelpWindow()
    {
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowTitle(QStringLiteral("Velmora Corvix Help"));
        browser_ = new QTextBrowser(this);
        browser_->setOpenExternalLinks(true);
        browser_->setSearchPaths({helpFolder()});
        auto* back = new QPushButton(QStringLiteral("&Back"), this);
        auto* home = new QPushButton(QStringLiteral("&Contents"), this);
        connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
        connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
        connect(home, &QPushButton::clicked, this, [this] { open(HomeTopic); });
        back->setEnabled(false);
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(back);
        buttons->addWidget(home);
        buttons->addStretch();
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(buttons);
        layout->addWidget(browser_);
        resize(640, 560);
    }

    void open(const QString& topic)
    {
        const QString path = QDir(helpFolder()).filePath(topic);
        if (QFileInfo::exists(path)) {
            browser_->setSource(QUrl::fromLocalFile(path));
        } else {
            browser_->setHtml(QStringLiteral("<h2>Help page not found</h2><p>The page \"%1\" is "
                                             "missing from the help folder \"%2\".</p>")
                                  .arg(topic.toHtmlEscaped(),
                                       QDir::toNativeSeparators(helpFolder()).toHtmlEscaped()));
        }
    }

private:
    static QString helpFolder()
    {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/help");
    }

    QTextBrowser* browser_;
};

QPointer<HelpWindow> TheHelpWindow;

}  // namespace

void ShowHelpTopic(const QString& topic)
{
    if (TheHelpWindow == nullptr) {
        TheHelpWindow = new HelpWindow;
    }
    TheHelpWindow->open(topic);
    TheHelpWindow->show();
    TheHelpWindow->raise();
    TheHelpWindow->activateWindow();
}

}  // namespace corvix
