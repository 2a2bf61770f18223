// Feeds arbitrary bytes to the simulator's receivers: the serial adapter's framing and commands,
// an EtherNet/IP session's stream and the bridge's message router parser.

#include "core/EnipSession.h"
#include "core/SerialAdapter.h"

#include <cstddef>
#include <cstdint>

using namespace corvix::sim;

namespace {

SimNetwork MakeNetwork()
{
    SimNetwork network;
    SimNode node;
    node.macId = 5;
    SimParameter p;
    p.instance = 1;
    p.value = QByteArray(2, '\0');
    p.enumStrings = {QStringLiteral("A")};
    node.parameters.parameters = {p};
    node.parameters.groups = {SimGroup{QStringLiteral("G"), {1}}};
    network.addNode(node);
    SimNode scanner;
    scanner.macId = 0;
    scanner.scanner.emplace();
    network.addNode(scanner);
    return network;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    SimNetwork network = MakeNetwork();

    SerialAdapter adapter(network);
    adapter.receive(QByteArray::fromHex("0203073F02"), 0);  // online, so requests are served
    adapter.receive(bytes, 1);
    adapter.tick(2'000'000);
    adapter.takeDue(120'000'000);

    const BridgeConfig config = BridgeConfig::standard();
    EnipSession session(config, network, 1);
    session.receive(QByteArray::fromHex("650004000000000000000000000000000000000000000000" "01000000"), 0);
    session.receive(bytes, 1);
    session.takeDue(120'000'000);

    HandleMessageRouterRequest(config, network, bytes);
    return 0;
}
