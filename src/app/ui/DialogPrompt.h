#pragma once

#include "app/UserPrompt.h"

class QWidget;

namespace corvix {

// Puts the program's questions to the user in Qt dialogs, owned by parent.
class DialogPrompt : public UserPrompt {
public:
    explicit DialogPrompt(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    PromptButton ask(const QString& text, PromptIcon icon, const QList<PromptButton>& buttons,
                     const QString& caption = {}) override;
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString& initial) override;
    QStringList chooseFiles(const FileDialogRequest& request) override;

private:
    QWidget* parent_;
};

}  // namespace corvix
