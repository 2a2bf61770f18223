#include "core/ControlCommand.h"

#include "app/CorvixError.h"

#include <QStringList>

namespace corvix::sim {

namespace {

[[noreturn]] void Reject(const QString& line)
{
    throw ConversionError(QStringLiteral("unknown control command: %1").arg(line));
}

bool OnOff(const QString& word, const QString& line)
{
    if (word == QLatin1String("on"))
        return true;
    if (word == QLatin1String("off"))
        return false;
    Reject(line);
}

uint Number(const QString& word, uint max, const QString& line)
{
    bool ok = false;
    const uint value = word.startsWith(QLatin1String("0x")) ? word.mid(2).toUInt(&ok, 16)
                                                             : word.toUInt(&ok);
    if (!ok || value > max)
        Reject(line);
    return value;
}

// The fault record a command changes: one node's own, created from the network default on first
// use, or the network default.
NodeFaults& Target(SimNetwork& network, const QString& word, const QString& line)
{
    if (word == QLatin1String("all"))
        return network.networkFaults;
    const auto mac = static_cast<std::uint8_t>(Number(word, 63, line));
    auto it = network.nodeFaults.find(mac);
    if (it == network.nodeFaults.end())
        it = network.nodeFaults.emplace(mac, network.networkFaults).first;
    return it->second;
}

}  // namespace

QString ApplyControlCommand(SimNetwork& network, const QString& line)
{
    const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        Reject(line);
    const QString& verb = words[0];
    if (verb == QLatin1String("clear") && words.size() == 1) {
        network.networkFaults = {};
        network.nodeFaults.clear();
        network.silentAdapter = false;
        network.statusOverride.reset();
        network.bridgeResourceUnavailable = false;
    } else if (words.size() == 2 && verb == QLatin1String("silent")) {
        network.silentAdapter = OnOff(words[1], line);
    } else if (words.size() == 2 && verb == QLatin1String("resource")) {
        network.bridgeResourceUnavailable = OnOff(words[1], line);
    } else if (words.size() == 2 && verb == QLatin1String("status")) {
        const QString& s = words[1];
        if (s == QLatin1String("online"))
            network.statusOverride.reset();
        else if (s == QLatin1String("busoff"))
            network.statusOverride = status::BusOff;
        else if (s == QLatin1String("duplicate"))
            network.statusOverride = status::DuplicateMac;
        else if (s == QLatin1String("nopower"))
            network.statusOverride = status::NoPower;
        else
            Reject(line);
    } else if (words.size() == 3 && verb == QLatin1String("drop")) {
        const bool on = OnOff(words[2], line);
        Target(network, words[1], line).dropReplies = on;
    } else if (words.size() == 3 && verb == QLatin1String("delay")) {
        const int ms = static_cast<int>(Number(words[2], 60000, line));
        Target(network, words[1], line).delayMs = ms;
    } else if (words.size() == 3 && verb == QLatin1String("error")) {
        std::optional<std::uint8_t> status;
        if (words[2] != QLatin1String("off"))
            status = static_cast<std::uint8_t>(Number(words[2], 0xFF, line));
        Target(network, words[1], line).errorStatus = status;
    } else {
        Reject(line);
    }
    return QStringLiteral("ok: %1").arg(words.join(QLatin1Char(' ')));
}

}  // namespace corvix::sim
