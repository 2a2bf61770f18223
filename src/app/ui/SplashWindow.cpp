#include "app/ui/SplashWindow.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

namespace corvix {

namespace {

// The picture ships in data/; without it a plain panel with the title keeps the window usable.
QPixmap SplashPicture()
{
    QPixmap picture(QCoreApplication::applicationDirPath() + QStringLiteral("/data/splash.png"));
    if (picture.isNull()) {
        picture = QPixmap(Tsplash::PictureWidth, Tsplash::PictureHeight);
        picture.fill(QColor(0x0b, 0x3d, 0x5c));
    }
    return picture;
}

}  // namespace

Tsplash::Tsplash(Mode mode, QWidget* parent) : QDialog(parent)
{
    auto* picture = new QLabel(this);
    picture->setPixmap(SplashPicture());
    picture->setGeometry(0, 0, PictureWidth, PictureHeight);
    picture->setScaledContents(true);

    auto* version = new QLabel(QStringLiteral("Version 3.5.1.3"), this);
    version->setGeometry(12, PictureHeight + 8, 200, 20);

    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setGeometry(PictureWidth - 92, PictureHeight + 5, 80, 26);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    if (mode == Mode::Splash) {
        setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
        ok->hide();
        setFixedSize(PictureWidth, PictureHeight);
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
    } else {
        setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        setWindowTitle(QStringLiteral("About ") + QApplication::applicationDisplayName());
        setFixedSize(PictureWidth, AboutHeight);
        ok->setDefault(true);
    }
}

void ShowAbout(QWidget* parent)
{
    Tsplash about(Tsplash::Mode::About, parent);
    about.exec();
}

}  // namespace corvix
