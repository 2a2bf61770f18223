#include "support/Screenshot.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace corvix::test {

void SaveScreenshot(QWidget& window, const QString& name)
{
    const QString folder = qEnvironmentVariable("CORVIX_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        return;
    }
    QDir().mkpath(folder);
    window.show();
    window.raise();
    QApplication::processEvents();
    window.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

}  // namespace corvix::test
