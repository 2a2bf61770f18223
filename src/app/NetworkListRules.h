#pragma once

#include <QList>
#include <QString>

namespace corvix {

class TDeviceNetWork;
class UserPrompt;

// Caption of a new network when count networks are open: "Untitled1" for the first.
QString UntitledCaption(int count);

// The networks opening a file replaces: start-up networks still unchanged and never saved.
QList<TDeviceNetWork*> StartupNetworksToClose(const QList<TDeviceNetWork*>& networks);

// Before the program closes: asks for every modified network, in order, whether to save it.
// Yes saves, No goes on, Cancel stops. False when closing must not go on: the user cancelled,
// or a save failed or its file choice was cancelled (closing then would lose the edits).
bool SaveModifiedNetworks(const QList<TDeviceNetWork*>& networks, UserPrompt& prompt);

}  // namespace corvix
