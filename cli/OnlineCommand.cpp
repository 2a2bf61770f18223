// "corvix online": browse a live network, send one request, change a node's MAC ID.
#include "CliCommand.h"
#include "CliSupport.h"
#include "OnlineSession.h"

#include "app/CallbackThunk.h"
#include "app/Conversions.h"
#include "app/CorvixError.h"
#include "app/StatusText.h"
#include "device/DeviceNetDevice.h"
#include "network/RequestPathText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace corvix::cli {

namespace {

QString Hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

std::optional<int> ParseInRange(const QString& text, int maximum, const QString& what)
{
    const auto value = ParseNumber(text);
    if (!value || *value < 0 || *value > maximum) {
        PrintError(QStringLiteral("'%1' is not a %2 (0 to %3).").arg(text, what).arg(maximum));
        return std::nullopt;
    }
    return int(*value);
}

// The sub-command's own arguments; prints help or the error and returns an exit code when
// the run ends here.
std::optional<int> ParseSub(QCommandLineParser& parser, const QStringList& arguments,
                            const QString& description, int positionalMin, int positionalMax)
{
    parser.setApplicationDescription(description);
    if (const auto done = ParseCommandLine(parser, arguments)) {
        return *done;
    }
    const qsizetype count = parser.positionalArguments().size();
    if (count < positionalMin || (positionalMax >= 0 && count > positionalMax)) {
        PrintError(QStringLiteral("Wrong number of arguments; see --help."));
        return ExitUsage;
    }
    return std::nullopt;
}

QJsonObject RecordJson(const QByteArray& record)
{
    QJsonObject object{{QStringLiteral("mac"), int(uint8_t(record[0]))},
                       {QStringLiteral("present"), record.size() == CORVIX_BROWSE_RECORD_PRESENT}};
    if (record.size() == CORVIX_BROWSE_RECORD_PRESENT) {
        const auto word = [&record](int at) {
            return int(uint8_t(record[at]) | (uint8_t(record[at + 1]) << 8));
        };
        object[QStringLiteral("vendorId")] = word(CORVIX_BROWSE_VENDOR_ID);
        object[QStringLiteral("deviceType")] = word(CORVIX_BROWSE_DEVICE_TYPE);
        object[QStringLiteral("productCode")] = word(CORVIX_BROWSE_PRODUCT_CODE);
        object[QStringLiteral("majorRevision")] =
            int(uint8_t(record[CORVIX_BROWSE_MAJOR_REVISION]));
        object[QStringLiteral("minorRevision")] =
            int(uint8_t(record[CORVIX_BROWSE_MINOR_REVISION]));
        const uint32_t serial = uint32_t(word(CORVIX_BROWSE_SERIAL_NUMBER)) |
                                (uint32_t(word(CORVIX_BROWSE_SERIAL_NUMBER + 2)) << 16);
        object[QStringLiteral("serialNumber")] =
            QStringLiteral("0x%1")
                .arg(serial, 8, 16, QLatin1Char('0'))
                .toUpper()
                .replace(QLatin1String("0X"), QLatin1String("0x"));
    }
    return object;
}

int Browse(OnlineSession& session, const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print JSON."));
    parser.addOption(json);
    if (const auto done = ParseSub(
            parser, arguments, QStringLiteral("Asks every MAC ID 0..63 for its identity."), 0, 0)) {
        return *done;
    }
    QList<QByteArray> records;
    QObject::connect(&session.network, &TDeviceNetWork::whoAnswer,
                     [&records](const QByteArray& record) { records.append(record); });
    session.prompt.browseWhenOnline = true;
    if (const auto failed = session.GoOnline()) {
        return *failed;
    }
    if (!session.WaitUntil([&] { return records.size() >= CORVIX_MAC_ID_COUNT; })) {
        PrintError(QStringLiteral("The browse ended after %1 of 64 answers.").arg(records.size()));
        return ExitFailed;
    }
    if (parser.isSet(json)) {
        QJsonArray array;
        for (const QByteArray& record : records) {
            array.append(RecordJson(record));
        }
        PrintOut(QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented)).trimmed());
        return ExitSuccess;
    }
    for (const QByteArray& record : records) {
        const QJsonObject o = RecordJson(record);
        PrintOut(o[QStringLiteral("present")].toBool()
                     ? QStringLiteral("%1: vendor %2, device type %3, product code %4, revision "
                                      "%5.%6, serial number %7")
                           .arg(o[QStringLiteral("mac")].toInt(), 2)
                           .arg(o[QStringLiteral("vendorId")].toInt())
                           .arg(o[QStringLiteral("deviceType")].toInt())
                           .arg(o[QStringLiteral("productCode")].toInt())
                           .arg(o[QStringLiteral("majorRevision")].toInt())
                           .arg(o[QStringLiteral("minorRevision")].toInt())
                           .arg(o[QStringLiteral("serialNumber")].toString())
                     : QStringLiteral("%1: -").arg(o[QStringLiteral("mac")].toInt(), 2));
    }
    return ExitSuccess;
}

int Request(OnlineSession& session, const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("MAC"), QStringLiteral("Node, 0..63."));
    parser.addPositionalArgument(QStringLiteral("SERVICE"),
                                 QStringLiteral("Service code, e.g. 0x0E."));
    parser.addPositionalArgument(QStringLiteral("PATH"),
                                 QStringLiteral("Request path text, e.g. \"20 01 24 01 30 07\"."));
    parser.addPositionalArgument(QStringLiteral("HEX"),
                                 QStringLiteral("Request data, e.g. \"0A 00\"."),
                                 QStringLiteral("[HEX]"));
    if (const auto done =
            ParseSub(parser, arguments,
                     QStringLiteral("Sends one explicit request and prints the reply."), 3, 4)) {
        return *done;
    }
    const QStringList p = parser.positionalArguments();
    const auto mac = ParseInRange(p[0], 63, QStringLiteral("MAC ID"));
    const auto service = ParseInRange(p[1], 255, QStringLiteral("service code"));
    if (!mac || !service) {
        return ExitUsage;
    }
    QByteArray data;
    QString pathText;
    try {
        pathText = BuildPathText(ParsePathText(p[2]));
        data = p.size() > 3 ? HexTextToBytes(p[3]) : QByteArray();
    } catch (const CorvixError& error) {
        PrintError(error.message());
        return ExitUsage;
    }
    if (const auto failed = session.GoOnline()) {
        return *failed;
    }
    const CorvixNetWorkRequestFn request = session.network.NetWorkRequestEntry();
    if (!request) {
        return ExitFailed;
    }
    struct Reply {
        uint8_t transfer = 0, service = 0;
        QByteArray data;
    };
    std::optional<Reply> reply;
    CallbackThunk<CorvixReplyCallback> thunk{[&reply](uint32_t, uint8_t transfer,
                                                      uint8_t replyService, uint32_t length,
                                                      const uint8_t* bytes) {
        reply = Reply{transfer, replyService,
                      QByteArray(reinterpret_cast<const char*>(bytes), bytes ? int(length) : 0)};
    }};
    const QByteArray path = pathText.toLatin1();
    request(session.network.DriverHandle, 1, uint8_t(*mac), path.constData(), uint8_t(*service),
            uint32_t(data.size()), reinterpret_cast<const uint8_t*>(data.constData()),
            thunk.address());
    if (!session.WaitUntil([&] { return reply.has_value(); })) {
        PrintError(QStringLiteral("No reply."));
        return ExitFailed;
    }
    const char* transferText = CorvixTransferStatusText(reply->transfer);
    PrintOut(
        QStringLiteral("Transfer status: %1 (%2)")
            .arg(reply->transfer)
            .arg(transferText ? QString::fromLatin1(transferText) : QStringLiteral("unknown")));
    if (reply->transfer != CORVIX_TRANSFER_SUCCESS) {
        return ExitFailed;
    }
    PrintOut(QStringLiteral("Reply service: 0x") +
             QStringLiteral("%1").arg(reply->service, 2, 16, QLatin1Char('0')).toUpper());
    PrintOut(QStringLiteral("Data: ") + Hex(reply->data));
    if (reply->service == CORVIX_SERVICE_ERROR_REPLY) {
        if (!reply->data.isEmpty()) {
            PrintError(StatusText(uint8_t(reply->data[0])));
        }
        return ExitFailed;
    }
    return ExitSuccess;
}

int SetMac(OnlineSession& session, const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("MAC"), QStringLiteral("The node's MAC ID now."));
    parser.addPositionalArgument(QStringLiteral("NEW"), QStringLiteral("Its new MAC ID."));
    if (const auto done =
            ParseSub(parser, arguments, QStringLiteral("Gives a node a new MAC ID."), 2, 2)) {
        return *done;
    }
    const auto mac = ParseInRange(parser.positionalArguments()[0], 63, QStringLiteral("MAC ID"));
    const auto next = ParseInRange(parser.positionalArguments()[1], 63, QStringLiteral("MAC ID"));
    if (!mac || !next) {
        return ExitUsage;
    }
    if (const auto failed = session.GoOnline()) {
        return *failed;
    }
    TDeviceNetDevice* device = session.network.DeviceAt(*mac);
    if (!device) {
        // Not in the document: a stand-in carries the address for the request.
        device = session.network.AddDevice(*mac, 0, 0, 0, 0, QString());
    }
    if (session.network.DeviceAt(*next) && *next != *mac) {
        PrintError(
            QStringLiteral("MAC ID %1 is taken by another device of the network.").arg(*next));
        return ExitFailed;
    }
    device->ChangeMacId(nullptr, *next);
    if (!session.WaitUntil(
            [&] { return device->MacId == *next || session.prompt.errorsShown > 0; })) {
        PrintError(QStringLiteral("No reply."));
        return ExitFailed;
    }
    if (device->MacId != *next) {
        return ExitFailed;
    }
    PrintOut(QStringLiteral("MAC ID %1 is now %2.").arg(*mac).arg(*next));
    return ExitSuccess;
}

}  // namespace

int RunOnlineParam(OnlineSession& session, const QCommandLineParser& online,
                   const QStringList& arguments);

CliCommand OnlineCommand()
{
    return {
        QStringLiteral("online"),
        QStringLiteral("Go online through a driver: browse, requests, parameters, MAC IDs."),
        [](const QStringList& arguments) -> int {
            QCommandLineParser parser;
            parser.setApplicationDescription(QStringLiteral(
                "Goes online through a driver and works on the live network.\n\nCommands:\n"
                "  browse [--json]                      the identity of every MAC ID\n"
                "  request MAC SERVICE PATH [HEX]       one explicit request\n"
                "  param read FILE.net MAC [NUMBER...]  read parameters of a device\n"
                "  param write FILE.net MAC NUMBER VALUE  write one parameter\n"
                "  set-mac MAC NEW                      give a node a new MAC ID"));
            parser.setOptionsAfterPositionalArgumentsMode(
                QCommandLineParser::ParseAsPositionalArguments);
            OnlineSession::AddOptions(parser);
            parser.addPositionalArgument(QStringLiteral("COMMAND"), QStringLiteral("What to do."),
                                         QStringLiteral("COMMAND [ARGUMENTS...]"));
            if (const auto done = ParseCommandLine(parser, arguments)) {
                return *done;
            }
            QStringList sub = parser.positionalArguments();
            if (sub.isEmpty()) {
                PrintError(QStringLiteral("online needs a COMMAND; see --help."));
                return ExitUsage;
            }
            const QString name = sub.first();
            sub[0] = arguments.first() + u' ' + name;
            OnlineSession session;
            UserPrompt::setCurrent(&session.prompt);
            struct Restore {
                ~Restore() { UserPrompt::setCurrent(nullptr); }
            } restore;
            const bool wantsHelp =
                sub.contains(QStringLiteral("--help")) || sub.contains(QStringLiteral("-h"));
            if (name == QStringLiteral("param")) {
                return RunOnlineParam(session, parser, sub);
            }
            if (name != QStringLiteral("browse") && name != QStringLiteral("request") &&
                name != QStringLiteral("set-mac")) {
                PrintError(QStringLiteral("Unknown online command '%1'; see --help.").arg(name));
                return ExitUsage;
            }
            if (!wantsHelp) {
                if (const auto failed = session.Prepare(parser)) {
                    return *failed;
                }
            }
            try {
                if (name == QStringLiteral("browse")) {
                    return Browse(session, sub);
                }
                if (name == QStringLiteral("request")) {
                    return Request(session, sub);
                }
                return SetMac(session, sub);
            } catch (const CorvixError& error) {
                PrintError(error.message());
                return ExitFailed;
            }
        }};
}

}  // namespace corvix::cli
