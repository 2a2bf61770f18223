#pragma once

#include <QString>

namespace corvix::serial {

// Tells the user: a message box when the process has widgets, otherwise standard error. The box
// does not block, so the adapter line keeps being served while it is open.
void ShowDriverMessage(const QString& text);

}  // namespace corvix::serial
