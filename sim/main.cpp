// corvix-sim: a simulated DeviceNet network behind an RS232 adapter on a pseudo-terminal and an
// EtherNet/IP-to-DeviceNet bridge on a loopback address.

#include "app/CorvixError.h"
#include "core/ControlCommand.h"
#include "core/EnipFrontEnd.h"
#include "core/NetworkDescription.h"
#include "core/PtyFrontEnd.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <memory>
#include <unistd.h>

using namespace corvix;
using namespace corvix::sim;

namespace {

int signalPipe[2] = {-1, -1};

// "127.0.0.1" or "127.0.0.1:2222"; the default port is the EtherNet/IP port.
bool ParseEndpoint(const QString& text, QHostAddress& address, quint16& port)
{
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    port = 44818;
    bool ok = true;
    if (colon >= 0) {
        const uint number = text.mid(colon + 1).toUInt(&ok);
        ok = ok && number <= 0xFFFF;
        port = static_cast<quint16>(number);
    }
    return ok && address.setAddress(colon >= 0 ? text.left(colon) : text);
}

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto ignored = ::write(signalPipe[1], &byte, 1);
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvix-sim"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulated DeviceNet network"));
    parser.addHelpOption();
    const QCommandLineOption networkOption(QStringLiteral("network"),
                                           QStringLiteral("Network description (JSON)."),
                                           QStringLiteral("FILE"));
    const QCommandLineOption serialOption(QStringLiteral("serial"),
                                          QStringLiteral("Serial adapter on a pseudo-terminal."));
    const QCommandLineOption linkOption(QStringLiteral("link"),
                                        QStringLiteral("Symbolic link to the terminal."),
                                        QStringLiteral("PATH"));
    const QCommandLineOption enipOption(QStringLiteral("enip"),
                                        QStringLiteral("EtherNet/IP bridge on a loopback address."),
                                        QStringLiteral("ADDRESS[:PORT]"));
    const QCommandLineOption lineRateOption(QStringLiteral("line-rate"),
                                            QStringLiteral("Emulate the 38400 bit/s serial line."));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"),
                                           QStringLiteral("Log every request and reply."));
    parser.addOptions({networkOption, serialOption, linkOption, enipOption, lineRateOption,
                       verboseOption});
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!parser.isSet(networkOption) || (!parser.isSet(serialOption) && !parser.isSet(enipOption))) {
        err << "corvix-sim: --network FILE and at least one of --serial and --enip are required\n";
        return 2;
    }
    QHostAddress enipAddress;
    quint16 enipPort = 0;
    if (parser.isSet(enipOption) && !ParseEndpoint(parser.value(enipOption), enipAddress, enipPort)) {
        err << "corvix-sim: not an address: " << parser.value(enipOption) << "\n";
        return 2;
    }

    const bool verbose = parser.isSet(verboseOption);
    const auto logLine = [&err](const QString& line) { err << line << "\n" << Qt::flush; };
    SimDescription description;
    SimNetwork& network = description.network;
    std::unique_ptr<PtyFrontEnd> serial;
    std::unique_ptr<EnipFrontEnd> bridge;
    try {
        description = LoadNetworkDescription(parser.value(networkOption));
        if (parser.isSet(serialOption)) {
            serial = std::make_unique<PtyFrontEnd>(network, parser.isSet(lineRateOption),
                                                   parser.value(linkOption));
            if (verbose)
                serial->adapter().log = logLine;
            out << "serial " << serial->slavePath();
            if (parser.isSet(linkOption))
                out << " " << parser.value(linkOption);
            out << "\n";
        }
        if (parser.isSet(enipOption)) {
            bridge = std::make_unique<EnipFrontEnd>(network, description.bridge, enipAddress,
                                                    enipPort);
            if (verbose)
                bridge->log = logLine;
            out << "enip " << bridge->address().toString() << ":" << bridge->port() << "\n";
        }
        out << Qt::flush;
    } catch (const CorvixError& error) {
        err << "corvix-sim: " << error.message() << "\n";
        return 1;
    }

    if (::pipe(signalPipe) == 0) {
        std::signal(SIGINT, OnSignal);
        std::signal(SIGTERM, OnSignal);
        auto* signals = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(signals, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    }

    // The control channel: one command a line on standard input; its end stops the simulator.
    QByteArray pending;
    auto* input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
    QObject::connect(input, &QSocketNotifier::activated, &app, [&] {
        char chunk[256];
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0) {
            input->setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        pending.append(chunk, n);
        for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1)) {
            const QString line = QString::fromUtf8(pending.left(end)).trimmed();
            if (line.isEmpty())
                continue;
            try {
                out << ApplyControlCommand(network, line) << "\n" << Qt::flush;
            } catch (const CorvixError& error) {
                out << "error: " << error.message() << "\n" << Qt::flush;
            }
        }
    });
    return app.exec();
}
