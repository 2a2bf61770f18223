#include "app/ToolHost.h"

#include <QDir>
#include <optional>

#include "app/Files.h"
#include "app/SharedLibrary.h"

namespace corvix {

namespace {

QStringList ToolFiles(const QString& toolsFolder)
{
    return FindFiles(QDir(toolsFolder).filePath(SharedLibrary::fileMask()), faAnyFile);
}

// The tool's caption, or nothing when the library is not a tool.
std::optional<QString> ToolCaption(const SharedLibrary& library)
{
    const auto name = library.function<CorvixToolNameFn>(CORVIX_EXPORT_TOOL_NAME);
    if (name == nullptr) {
        return std::nullopt;
    }
    const char* text = name();
    return QString::fromLocal8Bit(text != nullptr ? text : "");
}

}  // namespace

QStringList FindTools(const QString& toolsFolder)
{
    QStringList captions;
    for (const QString& file : ToolFiles(toolsFolder)) {
        SharedLibrary library(file);
        if (!library.isLoaded()) {
            continue;
        }
        if (const auto caption = ToolCaption(library)) {
            captions.append(*caption);
        }
    }
    return captions;
}

int RunTool(const QString& toolsFolder, const QString& caption, const ToolTarget& target)
{
    // The tool talks to a node through the driver: without both there is nothing to hand it.
    if (!target.online || target.selectedMacId < 0 || target.selectedMacId > 63) {
        return 0;
    }
    int ran = 0;
    for (const QString& file : ToolFiles(toolsFolder)) {
        SharedLibrary library(file);
        if (!library.isLoaded() || ToolCaption(library) != caption) {
            continue;
        }
        if (const auto run = library.function<CorvixToolRunFn>(CORVIX_EXPORT_TOOL_RUN)) {
            run(target.driverHandle, target.driverModule,
                static_cast<uint32_t>(target.selectedMacId));
            ++ran;
        }
    }
    return ran;
}

}  // namespace corvix
