#include "library/TFieldbusLibAbstract.h"

#include "app/UserPrompt.h"


namespace corvix {

TFieldbusLibAbstract::TFieldbusLibAbstract(QObject* owner, UserPrompt* prompt)
    : QObject(nullptr), ownerForm_(owner), prompt_(prompt)
{
}

UserPrompt& TFieldbusLibAbstract::prompt() const
{
    return prompt_ ? *prompt_ : UserPrompt::current();
}

void TFieldbusLibAbstract::notImplemented() const
{
    prompt().message(QStringLiteral("This function is not implemented for the choosen Fieldbus"),
                     PromptIcon::Information);
}

void TFieldbusLibAbstract::RebuildLibrary()
{
    notImplemented();
}

void TFieldbusLibAbstract::CountDevices(int& count)
{
    notImplemented();
    count = 0;
}

bool TFieldbusLibAbstract::InstallEdsFile(const QString& /*fileName*/)
{
    notImplemented();
    return false;
}

}  // namespace corvix
