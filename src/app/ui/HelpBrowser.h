#pragma once

#include <QString>

namespace corvix {

// Shows the program's help window at topic, a page of the "help" folder beside the executable
// ("welcometopic.htm"). One help window serves the whole program; it stays open beside the
// other windows.
void ShowHelpTopic(const QString& topic);

}  // namespace corvix
