#include "CliCommand.h"
#include "CliSupport.h"

#include "app/CorvixError.h"
#include "app/UserPrompt.h"
#include "app/Windows1252.h"
#include "library/EdsWizardLog.h"
#include "library/LibraryIndex.h"
#include "library/LibraryTreeModel.h"
#include "library/TDeviceNetLib.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace corvix::cli {

namespace {

// Answers the overwrite question as the command line was told; messages go to standard error.
class FixedAnswerPrompt : public UserPrompt {
public:
    explicit FixedAnswerPrompt(bool yes) : yes_(yes) {}

    PromptButton ask(const QString& text, PromptIcon /*icon*/, const QList<PromptButton>& buttons,
                     const QString& /*caption*/) override
    {
        const PromptButton answer = yes_ ? PromptButton::Yes : PromptButton::No;
        const PromptButton chosen = buttons.contains(answer) ? answer : buttons.value(0);
        PrintError(text + QStringLiteral(" -> ") + PromptButtonText(chosen));
        return chosen;
    }
    std::optional<QString> inputText(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    QStringList chooseFiles(const FileDialogRequest&) override { return {}; }

private:
    bool yes_;
};

class CollectingLog : public EdsWizardLog {
public:
    explicit CollectingLog(bool print) : print_(print) {}
    void AddLogLine(const QString& line) override
    {
        lines.append(line);
        if (print_) {
            PrintOut(line);
        }
    }
    QStringList lines;

private:
    bool print_;
};

void printJson(const QJsonValue& value)
{
    const QJsonDocument document =
        value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    PrintOut(QString::fromUtf8(document.toJson(QJsonDocument::Indented)).trimmed());
}

QJsonArray treeJson(const LibraryTreeModel& model, const QModelIndex& parent)
{
    QJsonArray nodes;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex node = model.index(row, 0, parent);
        QJsonObject object{{QStringLiteral("text"), node.data().toString()}};
        const QStringList data = node.data(LibraryTreeModel::NodeDataRole).toStringList();
        if (data.isEmpty()) {
            object[QStringLiteral("children")] = treeJson(model, node);
        } else {
            object[QStringLiteral("file")] = data.value(0) + QStringLiteral("eds");
            object[QStringLiteral("profileIcon")] = data.value(1);
        }
        nodes.append(object);
    }
    return nodes;
}

void printTree(const LibraryTreeModel& model, const QModelIndex& parent, int depth)
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex node = model.index(row, 0, parent);
        const QStringList data = node.data(LibraryTreeModel::NodeDataRole).toStringList();
        PrintOut(QString(depth * 2, u' ') + node.data().toString() +
                 (data.isEmpty() ? QString() : QStringLiteral("  [%1eds]").arg(data.value(0))));
        printTree(model, node, depth + 1);
    }
}

int install(TDeviceNetLib& library, const QStringList& files, bool json)
{
    CollectingLog log(!json);
    library.SetWizardLog(&log);
    const int installed = library.InstallEdsFiles(files);
    library.RebuildLibrary();
    if (json) {
        printJson(QJsonObject{{QStringLiteral("installed"), installed},
                              {QStringLiteral("failed"), int(files.size()) - installed},
                              {QStringLiteral("log"), QJsonArray::fromStringList(log.lines)}});
    }
    return installed == files.size() ? ExitSuccess : ExitFailed;
}

int list(TDeviceNetLib& library, bool json)
{
    QFile index(library.LibraryPath() + QStringLiteral("Library.inf"));
    if (!index.exists()) {
        library.RebuildLibrary();
    }
    if (!index.open(QIODevice::ReadOnly)) {
        PrintError(QStringLiteral("Cannot read %1").arg(index.fileName()));
        return ExitFailed;
    }
    const QByteArrayList lines = SplitTextLines(index.readAll());
    if (!json) {
        for (const QByteArray& line : lines) {
            PrintOut(DecodeWindows1252(line));
        }
        return ExitSuccess;
    }
    QJsonArray entries;
    for (const QByteArray& line : lines) {
        const qsizetype blank = line.indexOf(' ');
        const qsizetype revision = line.lastIndexOf(" Rev: ");
        entries.append(QJsonObject{
            {QStringLiteral("file"), DecodeWindows1252(line.left(blank))},
            {QStringLiteral("product"),
             DecodeWindows1252(blank < 0 || revision <= blank
                                     ? QByteArray()
                                     : line.mid(blank + 1, revision - blank - 1))},
            {QStringLiteral("revision"),
             DecodeWindows1252(revision < 0 ? QByteArray() : line.mid(revision + 6))}});
    }
    printJson(entries);
    return ExitSuccess;
}

int tree(TDeviceNetLib& library, bool json)
{
    LibraryTreeModel model;
    library.FillLibraryTree(model);
    for (const QString& message : model.Messages()) {
        PrintError(message);
    }
    if (json) {
        printJson(QJsonObject{{QStringLiteral("vendors"), treeJson(model, {})},
                              {QStringLiteral("messages"),
                               QJsonArray::fromStringList(model.Messages())}});
    } else {
        printTree(model, {}, 0);
    }
    return ExitSuccess;
}

int remove(TDeviceNetLib& library, const QString& key, bool json)
{
    static const QRegularExpression keyForm(QStringLiteral("^-?\\d+(_-?\\d+){3}$"));
    if (!keyForm.match(key).hasMatch()) {
        PrintError(QStringLiteral("'%1' is no device key (vendor_type_code_revision, e.g. "
                                  "90_12_3_1).")
                       .arg(key));
        return ExitUsage;
    }
    const bool removed =
        library.RemoveLibraryDevice({QStringLiteral("eds\\") + key + QStringLiteral(".")});
    library.RebuildLibrary();
    if (json) {
        printJson(QJsonObject{{QStringLiteral("key"), key}, {QStringLiteral("removed"), removed}});
    } else {
        PrintOut(removed ? QStringLiteral("Removed %1").arg(key)
                         : QStringLiteral("No device %1 in the library").arg(key));
    }
    return removed ? ExitSuccess : ExitFailed;
}

int run(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Installs, lists and removes EDS files of the device library.\n"
        "  install FILE...  install EDS files (asks before replacing: --yes or --no)\n"
        "  list             the library index, one line per installed file\n"
        "  tree             the devices by vendor and device profile\n"
        "  rebuild          rebuild the library index from the installed files\n"
        "  remove KEY       remove the device with key vendor_type_code_revision"));
    const QCommandLineOption libraryOption(QStringLiteral("library"),
                                           QStringLiteral("Library folder (default: the "
                                                          "program's library)."),
                                           QStringLiteral("DIR"));
    const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("Output JSON."));
    const QCommandLineOption yesOption(QStringLiteral("yes"),
                                       QStringLiteral("Replace installed devices."));
    const QCommandLineOption noOption(QStringLiteral("no"),
                                      QStringLiteral("Keep installed devices (the default)."));
    parser.addOptions({libraryOption, jsonOption, yesOption, noOption});
    parser.addPositionalArgument(QStringLiteral("ACTION"),
                                 QStringLiteral("install, list, tree, rebuild or remove."),
                                 QStringLiteral("ACTION [ARGUMENTS...]"));
    if (const auto done = ParseCommandLine(parser, arguments)) {
        return *done;
    }
    QStringList positional = parser.positionalArguments();
    const QString action = positional.isEmpty() ? QString() : positional.takeFirst();
    const bool json = parser.isSet(jsonOption);
    const bool takesNone = action == u"list" || action == u"tree" || action == u"rebuild";
    if (parser.isSet(yesOption) && parser.isSet(noOption)) {
        PrintError(QStringLiteral("--yes and --no exclude each other."));
        return ExitUsage;
    }
    if (!(takesNone && positional.isEmpty()) && !(action == u"install" && !positional.isEmpty()) &&
        !(action == u"remove" && positional.size() == 1)) {
        PrintError(QStringLiteral("Give one of: install FILE..., list, tree, rebuild, remove KEY."));
        return ExitUsage;
    }
    FixedAnswerPrompt prompt(parser.isSet(yesOption));
    try {
        TDeviceNetLib library(nullptr, &prompt, parser.value(libraryOption));
        if (action == u"install") {
            return install(library, positional, json);
        }
        if (action == u"list") {
            return list(library, json);
        }
        if (action == u"tree") {
            return tree(library, json);
        }
        if (action == u"remove") {
            return remove(library, positional.first(), json);
        }
        library.RebuildLibrary();
        PrintOut(json ? QStringLiteral("{\"rebuilt\": true}") : QStringLiteral("Library rebuilt"));
        return ExitSuccess;
    } catch (const CorvixError& error) {
        PrintError(error.message());
        return ExitFailed;
    }
}

}  // namespace

CliCommand LibraryCommand()
{
    return {QStringLiteral("library"),
            QStringLiteral("Install, list, show and remove EDS files of the device library."),
            run};
}

}  // namespace corvix::cli
