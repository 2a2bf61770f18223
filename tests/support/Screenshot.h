#pragma once

#include <QString>

class QWidget;

namespace corvix::test {

// Saves a picture of the window as <dir>/<name>.png when CORVIX_SCREENSHOT_DIR names a folder
// (scripts/screenshots runs the tests named "*Screenshot*" under Xvfb for it) and does nothing
// otherwise, so the same tests run in every build.
void SaveScreenshot(QWidget& window, const QString& name);

}  // namespace corvix::test
