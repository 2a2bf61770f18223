// A driver that meets the contract and answers from a script handed over as its settings text.
// Script lines, separated by newlines:
//   node|MAC|VENDOR|TYPE|PRODUCT|MAJOR|MINOR|SERIAL   a node that answers the browse
//   reply|MAC|SERVICE|PATH|STATUS|REPLYSERVICE|HEX     the answer to one request
//   status|CODE                                       status reported after going online (4)
// Numbers are decimal or 0x hex. A request without a scripted answer is never answered, as a
// real driver drops a request nobody replied to. All callbacks come from the event loop.
#include <CorvixDriverContract.h>

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QTimer>

#include <cstdlib>
#include <memory>

namespace {

struct ScriptedReply {
    int macId;
    int service;
    QByteArray path;
    int status;
    int replyService;
    QByteArray data;
};

struct Session {
    QByteArray settings;
    QList<QByteArray> nodes;  // 13-byte browse records
    QList<ScriptedReply> replies;
    QList<uint32_t> statusCodes;
};

QMap<CorvixDriverHandle, std::shared_ptr<Session>>& sessions()
{
    static QMap<CorvixDriverHandle, std::shared_ptr<Session>> all;
    return all;
}

CorvixDriverHandle nextHandle = 1;

int number(const QByteArray& text) { return int(std::strtol(text.constData(), nullptr, 0)); }

void appendLittleEndian(QByteArray& record, int value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        record.append(char((value >> (8 * i)) & 0xFF));
    }
}

std::shared_ptr<Session> parseScript(const QByteArray& script)
{
    auto session = std::make_shared<Session>();
    session->settings = script;
    for (const QByteArray& line : script.split('\n')) {
        const QList<QByteArray> f = line.trimmed().split('|');
        if (f.value(0) == "node" && f.size() == 8) {
            QByteArray record;
            record.append(char(number(f[1])));
            appendLittleEndian(record, number(f[2]), 2);
            appendLittleEndian(record, number(f[3]), 2);
            appendLittleEndian(record, number(f[4]), 2);
            record.append(char(number(f[5])));
            record.append(char(number(f[6])));
            appendLittleEndian(record, number(f[7]), 4);
            session->nodes.append(record);
        } else if (f.value(0) == "reply" && f.size() == 7) {
            session->replies.append({number(f[1]), number(f[2]), f[3], number(f[4]),
                                     number(f[5]), QByteArray::fromHex(f[6])});
        } else if (f.value(0) == "status" && f.size() == 2) {
            session->statusCodes.append(uint32_t(number(f[1])));
        }
    }
    if (session->statusCodes.isEmpty()) {
        session->statusCodes.append(CORVIX_NET_ONLINE);
    }
    return session;
}

// Runs work on the next turn of the event loop, unless the session has been closed by then.
template <typename Work>
void later(CorvixDriverHandle handle, Work work)
{
    QTimer::singleShot(0, [handle, work]() {
        if (sessions().contains(handle)) {
            work();
        }
    });
}

}  // namespace

extern "C" {

CORVIX_EXPORT CorvixDriverHandle CORVIX_STDCALL SetUpAndGoOnline(void*,
                                                                 CorvixStatusCallback status,
                                                                 int32_t* settingsLength,
                                                                 const char** settingsText)
{
    if (settingsLength == nullptr || settingsText == nullptr || *settingsLength <= 0 ||
        *settingsText == nullptr) {
        return 0;  // no window to show: without a script there is nothing to go online with
    }
    auto session = parseScript(QByteArray(*settingsText, *settingsLength));
    const CorvixDriverHandle handle = nextHandle++;
    sessions().insert(handle, session);
    *settingsLength = int32_t(session->settings.size());
    *settingsText = session->settings.constData();
    for (const uint32_t code : session->statusCodes) {
        later(handle, [status, code]() { status(code); });
    }
    return handle;
}

CORVIX_EXPORT void CORVIX_STDCALL NetWorkWho(CorvixDriverHandle handle,
                                             CorvixBrowseCallback browse)
{
    const auto session = sessions().value(handle);
    if (!session) {
        return;
    }
    later(handle, [session, browse]() {
        for (int mac = 0; mac < CORVIX_MAC_ID_COUNT; ++mac) {
            QByteArray record(1, char(mac));
            for (const QByteArray& node : session->nodes) {
                if (uint8_t(node[0]) == mac) {
                    record = node;
                }
            }
            browse(int32_t(record.size()),
                   reinterpret_cast<const uint8_t*>(record.constData()));
        }
    });
}

CORVIX_EXPORT uint8_t CORVIX_STDCALL NetWorkRequest(CorvixDriverHandle handle, uint32_t tag,
                                                    uint8_t macId, const char* pathText,
                                                    uint8_t service, uint32_t, const uint8_t*,
                                                    CorvixReplyCallback reply)
{
    const auto session = sessions().value(handle);
    if (!session || pathText == nullptr) {
        return 0;
    }
    const QByteArray path = QByteArray(pathText).trimmed();
    for (const ScriptedReply& answer : session->replies) {
        if (answer.macId == macId && answer.service == service && answer.path == path) {
            later(handle, [answer, tag, reply]() {
                reply(tag, uint8_t(answer.status), uint8_t(answer.replyService),
                      uint32_t(answer.data.size()),
                      reinterpret_cast<const uint8_t*>(answer.data.constData()));
            });
            break;
        }
    }
    return 0;
}

CORVIX_EXPORT int32_t CORVIX_STDCALL CloseDriver(CorvixDriverHandle handle)
{
    sessions().remove(handle);
    return 0;
}

}  // extern "C"
