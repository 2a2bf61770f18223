#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace corvix {

enum class PromptButton { Ok, Cancel, Yes, No, Retry, Ignore, IgnoreAll, Abort };
enum class PromptIcon { None, Information, Warning, Error, Question };

struct FileDialogRequest {
    enum class Mode { OpenOne, OpenMany, Save };
    Mode mode = Mode::OpenOne;
    QString caption;
    QString folder;         // where the dialog starts
    QString fileName;       // suggested name (Save)
    QString filter;         // "Network files (*.net);;All files (*)"
    QString defaultSuffix;  // added on Save when the user typed none ("net")
};

// Every question and message the program puts to the user. Core code talks only to this; the
// GUI answers with dialogs, the command line and the tests with scripted answers.
class UserPrompt {
public:
    virtual ~UserPrompt() = default;

    // Shows text with the given buttons and returns the one chosen.
    virtual PromptButton ask(const QString& text, PromptIcon icon,
                             const QList<PromptButton>& buttons, const QString& caption = {}) = 0;
    // An input box; nothing when the user cancels.
    virtual std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                             const QString& initial) = 0;
    // A file dialog; an empty list when the user cancels.
    virtual QStringList chooseFiles(const FileDialogRequest& request) = 0;

    void message(const QString& text, PromptIcon icon = PromptIcon::Information)
    {
        ask(text, icon, {PromptButton::Ok});
    }
    bool confirmYesNo(const QString& text)
    {
        return ask(text, PromptIcon::Question, {PromptButton::Yes, PromptButton::No}) ==
               PromptButton::Yes;
    }
    bool confirmOkCancel(const QString& text)
    {
        return ask(text, PromptIcon::Question, {PromptButton::Ok, PromptButton::Cancel}) ==
               PromptButton::Ok;
    }
    PromptButton yesNoCancel(const QString& text)
    {
        return ask(text, PromptIcon::Question,
                   {PromptButton::Yes, PromptButton::No, PromptButton::Cancel});
    }
    PromptButton retryIgnoreAllCancel(const QString& text)
    {
        return ask(text, PromptIcon::Error,
                   {PromptButton::Retry, PromptButton::Ignore, PromptButton::IgnoreAll,
                    PromptButton::Cancel});
    }

    // The prompt the process uses unless an object is handed another one. Starts as a
    // non-interactive prompt that writes messages to standard error and takes the first button;
    // the GUI installs its dialogs at start.
    static UserPrompt& current();
    static void setCurrent(UserPrompt* prompt);  // nullptr restores the non-interactive one
};

// The button a text names ("Ok", "Yes", "IgnoreAll", ...), case-insensitive.
std::optional<PromptButton> PromptButtonFromText(const QString& text);
QString PromptButtonText(PromptButton button);

}  // namespace corvix
