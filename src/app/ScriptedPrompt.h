#pragma once

#include "app/UserPrompt.h"

#include <QQueue>

namespace corvix {

// Answers questions from a script instead of a person: the tests, and the command line when
// it runs unattended. Every question is recorded; when the script runs out the first offered
// button is taken (for a message box that is OK), an input box is cancelled and a file dialog
// returns nothing.
class ScriptedPrompt : public UserPrompt {
public:
    struct Question {
        QString text;
        PromptIcon icon;
        QList<PromptButton> buttons;
        QString caption;
    };

    void queueButton(PromptButton button) { buttons_.enqueue(button); }
    void queueInput(std::optional<QString> text) { inputs_.enqueue(std::move(text)); }
    void queueFiles(QStringList files) { files_.enqueue(std::move(files)); }

    PromptButton ask(const QString& text, PromptIcon icon, const QList<PromptButton>& buttons,
                     const QString& caption = {}) override;
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString& initial) override;
    QStringList chooseFiles(const FileDialogRequest& request) override;

    const QList<Question>& questions() const { return questions_; }
    QStringList texts() const;
    const QList<FileDialogRequest>& fileRequests() const { return fileRequests_; }
    bool scriptUsedUp() const { return buttons_.isEmpty() && inputs_.isEmpty() && files_.isEmpty(); }

private:
    QQueue<PromptButton> buttons_;
    QQueue<std::optional<QString>> inputs_;
    QQueue<QStringList> files_;
    QList<Question> questions_;
    QList<FileDialogRequest> fileRequests_;
};

}  // namespace corvix
