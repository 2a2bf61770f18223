#pragma once

#include <QString>

namespace corvix {

// What the main window's commands depend on: the active network, if any, and its state.
struct CommandContext {
    bool hasNetwork = false;
    bool modified = false;
    bool online = false;
    bool hasSelectedDevice = false;
};

// Enabled states and the online-dependent look of the main window's commands. Menu items and
// their tool-bar buttons share one flag.
struct CommandStates {
    bool saveAs = false;
    bool save = false;
    bool print = false;
    bool configureDriver = false;
    bool goOnline = false;
    bool update = false;
    bool upload = false;
    bool download = false;
    bool tools = false;  // the entries of tool libraries
    QString goOnlineCaption = QStringLiteral("&Go Online");
    int goOnlineImage = 8;  // index into the command image list: 8 go online, 9 go offline
};

CommandStates ComputeCommandStates(const CommandContext& context);

// A tool-bar button's hint: the menu item's caption without its leading "&", two blanks and
// the shortcut's display form ("New Network...  Ctrl+N").
QString ToolButtonHint(const QString& menuCaption, const QString& shortcutText);

}  // namespace corvix
