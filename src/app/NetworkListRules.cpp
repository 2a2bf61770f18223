#include "app/NetworkListRules.h"

#include "app/UserPrompt.h"
#include "network/DeviceNetWork.h"

namespace corvix {

QString UntitledCaption(int count)
{
    return QStringLiteral("Untitled%1").arg(count + 1);
}

QList<TDeviceNetWork*> StartupNetworksToClose(const QList<TDeviceNetWork*>& networks)
{
    QList<TDeviceNetWork*> result;
    for (TDeviceNetWork* network : networks) {
        if (network->IsStartupNetwork && network->IsSaved()) {
            result.append(network);
        }
    }
    return result;
}

bool SaveModifiedNetworks(const QList<TDeviceNetWork*>& networks, UserPrompt& prompt)
{
    for (TDeviceNetWork* network : networks) {
        if (network->IsSaved()) {
            continue;
        }
        const PromptButton answer = prompt.yesNoCancel(
            network->Caption + QStringLiteral(" has been modified, do you want to save?"));
        if (answer == PromptButton::Cancel) {
            return false;
        }
        if (answer == PromptButton::Yes && !network->SaveNetwork()) {
            return false;
        }
    }
    return true;
}

}  // namespace corvix
