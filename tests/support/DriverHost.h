#pragma once

// A driver library loaded the way the program loads it, with its exports looked up by name, and
// a host that records what the driver calls back through its thunks.
#include "app/CallbackThunk.h"
#include "app/SharedLibrary.h"

#include <CorvixDriverContract.h>

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

namespace corvix::test {

struct DriverLibrary {
    // pathWithoutSuffix: the library's path without ".so" / ".dll".
    explicit DriverLibrary(const QString& pathWithoutSuffix)
        : library(pathWithoutSuffix + SharedLibrary::fileMask().mid(1))
    {
    }

    SharedLibrary library;
    CorvixDriverNameFn name = library.function<CorvixDriverNameFn>(CORVIX_EXPORT_DRIVER_NAME);
    CorvixSetupRegisterCallbacksFn registerCallbacks =
        library.function<CorvixSetupRegisterCallbacksFn>(CORVIX_EXPORT_SETUP_REGISTER_CALLBACKS);
    CorvixSetUpAndGoOnlineFn setUp =
        library.function<CorvixSetUpAndGoOnlineFn>(CORVIX_EXPORT_SET_UP_AND_GO_ONLINE);
    CorvixNetWorkWhoFn who = library.function<CorvixNetWorkWhoFn>(CORVIX_EXPORT_NETWORK_WHO);
    CorvixNetWorkRequestFn request =
        library.function<CorvixNetWorkRequestFn>(CORVIX_EXPORT_NETWORK_REQUEST);
    CorvixCloseDriverFn close = library.function<CorvixCloseDriverFn>(CORVIX_EXPORT_CLOSE_DRIVER);

    // Goes online with a settings text; 0 when the driver refused it.
    CorvixDriverHandle open(const QByteArray& settings, CorvixStatusCallback status)
    {
        int32_t length = int32_t(settings.size());
        const char* text = settings.constData();
        return setUp(nullptr, status, &length, &text);
    }
};

struct RecordingHost {
    struct Reply {
        uint32_t tag;
        uint8_t transfer;
        uint8_t service;
        QByteArray data;
    };
    QList<uint32_t> statuses;
    QList<QByteArray> records;
    QList<Reply> replies;
    std::function<void(const Reply&)> onReply;

    CallbackThunk<CorvixStatusCallback> status{[this](uint32_t code) { statuses.append(code); }};
    CallbackThunk<CorvixBrowseCallback> browse{[this](int32_t length, const uint8_t* data) {
        records.append(QByteArray(reinterpret_cast<const char*>(data), length));
    }};
    CallbackThunk<CorvixReplyCallback> reply{[this](uint32_t tag, uint8_t transfer,
                                                    uint8_t service, uint32_t length,
                                                    const uint8_t* data) {
        replies.append({tag, transfer, service,
                        QByteArray(reinterpret_cast<const char*>(data), int(length))});
        if (onReply) {
            onReply(replies.last());
        }
    }};
};

}  // namespace corvix::test
