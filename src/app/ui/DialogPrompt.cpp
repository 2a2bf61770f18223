#include "app/ui/DialogPrompt.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <map>

namespace corvix {

namespace {

QMessageBox::Icon boxIcon(PromptIcon icon)
{
    switch (icon) {
        case PromptIcon::Information: return QMessageBox::Information;
        case PromptIcon::Warning: return QMessageBox::Warning;
        case PromptIcon::Error: return QMessageBox::Critical;
        case PromptIcon::Question: return QMessageBox::Question;
        case PromptIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QString buttonCaption(PromptButton button)
{
    switch (button) {
        case PromptButton::Ok: return QMessageBox::tr("OK");
        case PromptButton::Cancel: return QMessageBox::tr("Cancel");
        case PromptButton::Yes: return QMessageBox::tr("&Yes");
        case PromptButton::No: return QMessageBox::tr("&No");
        case PromptButton::Retry: return QMessageBox::tr("&Retry");
        case PromptButton::Ignore: return QMessageBox::tr("&Ignore");
        case PromptButton::IgnoreAll: return QMessageBox::tr("Ignore A&ll");
        case PromptButton::Abort: return QMessageBox::tr("&Abort");
    }
    return {};
}

QMessageBox::ButtonRole buttonRole(PromptButton button)
{
    switch (button) {
        case PromptButton::Ok:
        case PromptButton::Yes: return QMessageBox::YesRole;
        case PromptButton::No: return QMessageBox::NoRole;
        case PromptButton::Cancel:
        case PromptButton::Abort: return QMessageBox::RejectRole;
        default: return QMessageBox::ActionRole;
    }
}

}  // namespace

PromptButton DialogPrompt::ask(const QString& text, PromptIcon icon,
                               const QList<PromptButton>& buttons, const QString& caption)
{
    QMessageBox box(boxIcon(icon),
                    caption.isEmpty() ? QStringLiteral("Velmora Corvix for DeviceNet") : caption,
                    text, QMessageBox::NoButton, parent_);
    std::map<QAbstractButton*, PromptButton> chosen;
    const QList<PromptButton> offered = buttons.isEmpty() ? QList{PromptButton::Ok} : buttons;
    for (const PromptButton button : offered) {
        QPushButton* push = box.addButton(buttonCaption(button), buttonRole(button));
        chosen[push] = button;
        if (button == offered.first()) {
            box.setDefaultButton(push);
        }
        if (button == PromptButton::Cancel || button == PromptButton::No ||
            offered.size() == 1) {
            box.setEscapeButton(push);
        }
    }
    box.exec();
    const auto it = chosen.find(box.clickedButton());
    if (it != chosen.end()) {
        return it->second;
    }
    return offered.contains(PromptButton::Cancel) ? PromptButton::Cancel : offered.last();
}

std::optional<QString> DialogPrompt::inputText(const QString& caption, const QString& prompt,
                                               const QString& initial)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent_, caption, prompt, QLineEdit::Normal, initial, &ok);
    return ok ? std::optional<QString>(text) : std::nullopt;
}

QStringList DialogPrompt::chooseFiles(const FileDialogRequest& request)
{
    QFileDialog dialog(parent_, request.caption, request.folder, request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    switch (request.mode) {
        case FileDialogRequest::Mode::OpenOne:
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode(QFileDialog::ExistingFile);
            break;
        case FileDialogRequest::Mode::OpenMany:
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode(QFileDialog::ExistingFiles);
            break;
        case FileDialogRequest::Mode::Save:
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            if (!request.fileName.isEmpty()) {
                dialog.selectFile(request.fileName);
            }
            break;
    }
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

}  // namespace corvix
