#include "app/CommandStates.h"

namespace corvix {

CommandStates ComputeCommandStates(const CommandContext& context)
{
    CommandStates states;
    if (!context.hasNetwork) {
        return states;
    }
    states.saveAs = true;
    states.save = context.modified;
    states.print = true;
    states.configureDriver = true;
    states.goOnline = true;
    states.update = context.online;
    states.upload = context.online;
    states.download = context.online;
    states.tools = context.online && context.hasSelectedDevice;
    states.goOnlineCaption =
        context.online ? QStringLiteral("&Go Offline") : QStringLiteral("&Go Online");
    states.goOnlineImage = context.online ? 9 : 8;
    return states;
}

QString ToolButtonHint(const QString& menuCaption, const QString& shortcutText)
{
    QString caption = menuCaption;
    if (caption.startsWith(QLatin1Char('&'))) {
        caption.remove(0, 1);
    }
    return caption + QStringLiteral("  ") + shortcutText;
}

}  // namespace corvix
