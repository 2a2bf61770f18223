#include "SimFixtures.h"

#include "app/CorvixError.h"
#include "core/EnipFrontEnd.h"
#include "support/WaitFor.h"

#include <QNetworkDatagram>
#include <QTcpSocket>
#include <QUdpSocket>

#include <gtest/gtest.h>

using namespace corvix;
using namespace corvix::sim;
using namespace corvix::sim::test;

namespace {

const QHostAddress Loopback(QStringLiteral("127.0.0.1"));

TEST(EnipFrontEnd, AnswersOverLoopbackSockets)
{
    SimNetwork network;
    network.addNode(SmallNode(5));
    EnipFrontEnd bridge(network, BridgeConfig::standard(), Loopback, 0);

    QUdpSocket udp;
    ASSERT_TRUE(udp.bind(Loopback, 0));
    udp.writeDatagram(Hex("63 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"),
                      Loopback, bridge.port());
    ASSERT_TRUE(corvix::test::WaitFor([&] { return udp.hasPendingDatagrams(); }));
    const QByteArray identity = udp.receiveDatagram().data();
    ASSERT_GT(identity.size(), 63);
    EXPECT_EQ(identity.mid(36, 4), Hex("7F 00 00 01"));

    QTcpSocket tcp;
    tcp.connectToHost(Loopback, bridge.port());
    ASSERT_TRUE(corvix::test::WaitFor([&] { return tcp.state() == QAbstractSocket::ConnectedState; }));
    QByteArray received;
    const auto readUntil = [&](qsizetype size) {
        return corvix::test::WaitFor([&] {
            received += tcp.readAll();
            return received.size() >= size;
        });
    };
    tcp.write(Hex("65 00 04 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01 00 00 00"));
    ASSERT_TRUE(readUntil(28));
    const QByteArray handle = received.mid(4, 4);
    received.clear();
    // Get_Attribute_Single of node 5's vendor ID through DeviceNet port 2.
    QByteArray request = Hex("6F 00 26 00") + handle
                         + Hex("00 00 00 00 01 00 00 00 05 00 00 00 00 00 00 00"
                               "00 00 00 00 0E 00 02 00 00 00 00 00 B2 00 16 00"
                               "52 02 20 06 24 01 05 9B 08 00 0E 03 20 01 24 01 30 01 01 00 02 05");
    tcp.write(request);
    ASSERT_TRUE(readUntil(46));
    EXPECT_EQ(received.mid(40), Hex("8E 00 00 00 01 00"));
}

TEST(EnipFrontEnd, RefusesAddressesOffTheLoopback)
{
    SimNetwork network;
    for (const char* address : {"0.0.0.0", "203.0.113.10", "::1"})
        EXPECT_THROW(EnipFrontEnd(network, BridgeConfig::standard(), QHostAddress(QString::fromLatin1(address)), 0),
                     CorvixError)
            << address;
}

}  // namespace
