#include "CliCommand.h"
#include "CliSupport.h"
#include "EdsSupport.h"
#include "app/Conversions.h"
#include "app/CorvixError.h"

namespace corvix::cli {

namespace {

QString hexText(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

}  // namespace

int EdsParam(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Builds the device of an EDS file, applies a value typed by a user "
                       "(--input) or received from the device (--from-bytes) to one parameter "
                       "and prints its raw value, display value, display with units and network "
                       "bytes."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The EDS file."));
    parser.addPositionalArgument(QStringLiteral("NUMBER"),
                                 QStringLiteral("The parameter number (ParamN)."));
    const QCommandLineOption input(QStringLiteral("input"),
                                   QStringLiteral("A value as the user types it."),
                                   QStringLiteral("TEXT"));
    const QCommandLineOption fromBytes(QStringLiteral("from-bytes"),
                                       QStringLiteral("Value bytes from the network, \"0A 01\"."),
                                       QStringLiteral("HEX"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print JSON."));
    parser.addOptions({input, fromBytes, json});
    if (const auto done = ParseCommandLine(parser, arguments)) {
        return *done;
    }
    const QStringList positional = parser.positionalArguments();
    const auto number = positional.size() == 2 ? ParseNumber(positional[1]) : std::nullopt;
    if (!number) {
        PrintError(QStringLiteral("%1 takes a FILE and a parameter NUMBER.").arg(arguments[0]));
        return ExitUsage;
    }
    if (parser.isSet(input) && parser.isSet(fromBytes)) {
        PrintError(QStringLiteral("Give --input or --from-bytes, not both."));
        return ExitUsage;
    }
    QByteArray bytes;
    if (parser.isSet(fromBytes)) {
        try {
            bytes = HexTextToBytes(parser.value(fromBytes));
        } catch (const ConversionError& error) {
            PrintError(QStringLiteral("--from-bytes: %1").arg(error.message()));
            return ExitUsage;
        }
    }
    const auto device = DeviceFromEdsFile(positional[0]);
    if (!device) {
        return ExitFailed;
    }
    TDevParameterClass* parameter = nullptr;
    for (const auto& candidate : device->Parameters()) {
        if (candidate->Number() == *number) {
            parameter = candidate.get();
        }
    }
    if (!parameter) {
        PrintError(QStringLiteral("%1 has no parameter %2.").arg(positional[0]).arg(*number));
        return ExitFailed;
    }
    try {
        if (parser.isSet(input)) {
            parameter->SetFromUserText(parser.value(input));
        } else if (parser.isSet(fromBytes)) {
            parameter->SetFromNetworkBytes(bytes);
        }
    } catch (const CorvixError& error) {
        PrintError(error.message());
        return ExitFailed;
    }
    const QJsonObject result{
        {"number", parameter->Number()},
        {"raw", parameter->DataType().Value()},
        {"display", parameter->GetDisplayValue()},
        {"displayWithUnits", parameter->GetDisplayValueWithUnits()},
        {"bytes", hexText(parameter->DataType().ConvertValueToNetWorkFormat())},
    };
    if (parser.isSet(json)) {
        PrintJson(result);
    } else {
        PrintOut(QStringLiteral("Raw value: ") + result["raw"].toString());
        PrintOut(QStringLiteral("Display value: ") + result["display"].toString());
        PrintOut(QStringLiteral("With units: ") + result["displayWithUnits"].toString());
        PrintOut(QStringLiteral("Network bytes: ") + result["bytes"].toString());
    }
    return ExitSuccess;
}

}  // namespace corvix::cli
