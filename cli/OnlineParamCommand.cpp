// "corvix online param": read and write device parameters of a network file on the live network.
#include "CliCommand.h"
#include "CliSupport.h"
#include "OnlineSession.h"

#include "app/CorvixError.h"
#include "device/DeviceNetDevice.h"

namespace corvix::cli {

namespace {

QString StateText(const TDevParameterClass& parameter, bool answered)
{
    if (!answered) {
        return QStringLiteral("no reply");
    }
    switch (parameter.GetStateColour()) {
        case StateColour::Navy:
            return QStringLiteral("valid");
        case StateColour::Purple:
            return QStringLiteral("valid, read-only");
        case StateColour::Gray:
            return QStringLiteral("no reply");
        case StateColour::Red:
            break;
    }
    return QStringLiteral("error");
}

// Sends the request and waits for its reply; false when none came in time.
bool Transfer(OnlineSession& session, TDevParameterClass& parameter, bool write)
{
    if (write) {
        parameter.WriteToDevice(nullptr, &session.network);
    } else {
        parameter.ReadFromDevice(nullptr, &session.network);
    }
    return session.WaitUntil([&] { return parameter.GetStateColour() != StateColour::Gray; });
}

void PrintParameter(TDevParameterClass& parameter, bool answered)
{
    PrintOut(QStringLiteral("%1 = %2 [%3]")
                 .arg(parameter.DisplayName(), parameter.GetDisplayValueWithUnits().trimmed(),
                      StateText(parameter, answered)));
}

}  // namespace

int RunOnlineParam(OnlineSession& session, const QCommandLineParser& online,
                   const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "param read FILE.net MAC [NUMBER...]: reads the parameters (all when no NUMBER is given)\n"
        "param write FILE.net MAC NUMBER VALUE: writes one parameter\n"
        "The device at MAC in FILE.net says which parameters there are; the driver comes from\n"
        "--driver/--settings or from FILE.net."));
    parser.addPositionalArgument(QStringLiteral("read|write"), QStringLiteral("What to do."));
    parser.addPositionalArgument(QStringLiteral("FILE.net"), QStringLiteral("The network file."));
    parser.addPositionalArgument(QStringLiteral("MAC"), QStringLiteral("The device."));
    if (const auto done = ParseCommandLine(parser, arguments)) {
        return *done;
    }
    const QStringList p = parser.positionalArguments();
    const bool write = p.value(0) == QStringLiteral("write");
    if ((p.value(0) != QStringLiteral("read") && !write) || p.size() < 3 ||
        (write && p.size() != 5)) {
        PrintError(QStringLiteral("Wrong arguments; see 'corvix online param --help'."));
        return ExitUsage;
    }
    const auto mac = ParseNumber(p[2]);
    if (!mac || *mac < 0 || *mac > 63) {
        PrintError(QStringLiteral("'%1' is not a MAC ID (0 to 63).").arg(p[2]));
        return ExitUsage;
    }
    QList<int> numbers;
    for (const QString& text : p.mid(3, write ? 1 : -1)) {
        const auto number = ParseNumber(text);
        if (!number || *number < 1 || *number > 0xFFFF) {
            PrintError(QStringLiteral("'%1' is not a parameter number.").arg(text));
            return ExitUsage;
        }
        numbers.append(int(*number));
    }
    try {
        if (const auto failed = session.Prepare(online, p[1])) {
            return *failed;
        }
        TDeviceNetDevice* device = session.network.DeviceAt(int(*mac));
        if (!device) {
            PrintError(QStringLiteral("The network has no device at MAC ID %1.").arg(*mac));
            return ExitFailed;
        }
        QList<TDevParameterClass*> chosen;
        for (const auto& parameter : device->Parameters()) {
            if (numbers.isEmpty() || numbers.contains(parameter->Number())) {
                chosen.append(parameter.get());
            }
        }
        if (chosen.size() < numbers.size() || chosen.isEmpty()) {
            PrintError(QStringLiteral("The device has no such parameter."));
            return ExitFailed;
        }
        if (write) {
            // An out-of-range value keeps the old one; the value sent is printed afterwards.
            chosen.first()->SetFromUserText(p[4]);
        }
        if (const auto failed = session.GoOnline()) {
            return *failed;
        }
        bool allGood = true;
        for (TDevParameterClass* parameter : chosen) {
            const bool answered = Transfer(session, *parameter, write);
            PrintParameter(*parameter, answered);
            allGood = allGood && answered && parameter->GetStateColour() != StateColour::Red;
        }
        return allGood ? ExitSuccess : ExitFailed;
    } catch (const CorvixError& error) {
        PrintError(error.message());
        return ExitFailed;
    }
}

}  // namespace corvix::cli
