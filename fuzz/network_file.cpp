// Network-file loader: any bytes must load or fail with a message, never crash or hang.
#include "app/ScriptedPrompt.h"
#include "network/DeviceNetWork.h"
#include "network/FileLines.h"

#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static corvix::ScriptedPrompt prompt;
    corvix::UserPrompt::setCurrent(&prompt);
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // No library: every device is built without EDS file, which keeps runs fast and the
    // loader's own logic in focus.
    static QTemporaryDir emptyLibrary;
    corvix::TDeviceNetWork network(emptyLibrary.path());
    network.LoadFromLines(corvix::SplitFileLines(bytes));
    network.SaveToLines();
    return 0;
}
