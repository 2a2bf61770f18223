#include "app/ScriptedPrompt.h"

namespace corvix {

PromptButton ScriptedPrompt::ask(const QString& text, PromptIcon icon,
                                 const QList<PromptButton>& buttons, const QString& caption)
{
    questions_.append({text, icon, buttons, caption});
    if (!buttons_.isEmpty()) {
        return buttons_.dequeue();
    }
    return buttons.isEmpty() ? PromptButton::Ok : buttons.first();
}

std::optional<QString> ScriptedPrompt::inputText(const QString& caption, const QString& prompt,
                                                 const QString&)
{
    questions_.append({prompt, PromptIcon::Question, {}, caption});
    return inputs_.isEmpty() ? std::nullopt : inputs_.dequeue();
}

QStringList ScriptedPrompt::chooseFiles(const FileDialogRequest& request)
{
    fileRequests_.append(request);
    return files_.isEmpty() ? QStringList() : files_.dequeue();
}

QStringList ScriptedPrompt::texts() const
{
    QStringList result;
    for (const Question& question : questions_) {
        result.append(question.text);
    }
    return result;
}

}  // namespace corvix
