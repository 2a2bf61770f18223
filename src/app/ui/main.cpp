#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLockFile>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/Delay.h"
#include "app/UserPrompt.h"
#include "app/ui/DialogPrompt.h"
#include "app/ui/MainForm.h"
#include "app/ui/SplashWindow.h"

int main(int argc, char* argv[])
{
    QElapsedTimer startup;
    startup.start();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tarnwell"));
    QApplication::setApplicationName(QStringLiteral("Velmora Corvix for DeviceNet"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velmora Corvix for DeviceNet"));
    QApplication::setApplicationVersion(QStringLiteral("3.5.1.3"));
    // The main window decides when the program ends, not an open help window.
    QApplication::setQuitOnLastWindowClosed(false);

    // Marks a running instance for other programs; a second instance still starts normally.
    QLockFile instanceMark(QDir::temp().filePath(QStringLiteral("CorvixDeviceNet.lock")));
    instanceMark.tryLock(0);

    corvix::DialogPrompt prompt;
    corvix::UserPrompt::setCurrent(&prompt);

    auto splash = std::make_unique<corvix::Tsplash>(corvix::Tsplash::Mode::Splash);
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();

    const QPointer<corvix::Tcontform> form =
        new corvix::Tcontform(QCoreApplication::applicationDirPath());
    form->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(form, &QObject::destroyed, &app, &QCoreApplication::quit);
    prompt.setParent(form);

    // CORVIX_STARTUP_TIMING=1: measure the start-up without the splash wait, report it and end.
    const bool timing = qEnvironmentVariableIntValue("CORVIX_STARTUP_TIMING") == 1;
    const qint64 beforeWait = startup.elapsed();
    if (!timing) {
        splash->activateWindow();
        corvix::Delay(2, 0);
    }
    splash.reset();
    startup.restart();

    // Maximised; the geometry also covers a desktop without a window manager to maximise it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        form->setGeometry(screen->availableGeometry());
    }
    form->showMaximized();
    const QStringList arguments = QCoreApplication::arguments();
    form->Startup(arguments.size() > 1 ? arguments.at(1) : QString());
    if (timing) {
        QTimer::singleShot(0, form, [&] {
            std::fprintf(stderr, "start-up to the shown main window: %lld ms\n",
                         static_cast<long long>(beforeWait + startup.elapsed()));
            QCoreApplication::exit(0);
        });
    }
    const int result = QApplication::exec();
    corvix::UserPrompt::setCurrent(nullptr);
    delete form.data();  // still there when the loop was left without closing it
    return result;
}
