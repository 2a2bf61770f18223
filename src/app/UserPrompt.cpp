#include "app/UserPrompt.h"

#include <QTextStream>

#include <array>
#include <utility>

namespace corvix {

namespace {

constexpr std::array<std::pair<PromptButton, const char*>, 8> buttonNames = {{
    {PromptButton::Ok, "Ok"},
    {PromptButton::Cancel, "Cancel"},
    {PromptButton::Yes, "Yes"},
    {PromptButton::No, "No"},
    {PromptButton::Retry, "Retry"},
    {PromptButton::Ignore, "Ignore"},
    {PromptButton::IgnoreAll, "IgnoreAll"},
    {PromptButton::Abort, "Abort"},
}};

// Without a person: messages go to standard error, questions take their first button.
class NonInteractivePrompt : public UserPrompt {
public:
    PromptButton ask(const QString& text, PromptIcon, const QList<PromptButton>& buttons,
                     const QString&) override
    {
        QTextStream(stderr) << text << Qt::endl;
        return buttons.isEmpty() ? PromptButton::Ok : buttons.first();
    }
    std::optional<QString> inputText(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    QStringList chooseFiles(const FileDialogRequest&) override { return {}; }
};

NonInteractivePrompt nonInteractive;
UserPrompt* currentPrompt = &nonInteractive;

}  // namespace

UserPrompt& UserPrompt::current() { return *currentPrompt; }

void UserPrompt::setCurrent(UserPrompt* prompt)
{
    currentPrompt = prompt != nullptr ? prompt : &nonInteractive;
}

std::optional<PromptButton> PromptButtonFromText(const QString& text)
{
    for (const auto& [button, name] : buttonNames) {
        if (text.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
            return button;
        }
    }
    return std::nullopt;
}

QString PromptButtonText(PromptButton button)
{
    for (const auto& [candidate, name] : buttonNames) {
        if (candidate == button) {
            return QString::fromLatin1(name);
        }
    }
    return {};
}

}  // namespace corvix
