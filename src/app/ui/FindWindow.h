#pragma once

#include <QString>

class QWidget;

namespace corvix {

// The first top-level window whose title is caption, or nullptr.
QWidget* FindWindowByCaption(const QString& caption);

}  // namespace corvix
