// The "Browse for network" dialog of the gateway driver, driven through SetUpAndGoOnline on the
// offscreen platform. Discovery goes to simulated bridges on loopback addresses only.
#include "app/CallbackThunk.h"
#include "app/SharedLibrary.h"
#include "core/EnipFrontEnd.h"
#include "sim/SimFixtures.h"
#include "gateway/BridgeDiscovery.h"
#include "support/WaitFor.h"

#include <CorvixDriverContract.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace corvix;
using corvix::test::WaitFor;

namespace {

const char* const BridgeEds =
    "[File]\r\nDescText=\"Bridge\";\r\n[Device]\r\nVendCode=1;\r\nProdType=12;\r\nProdCode=256;\r\n"
    "MajRev=1;\r\nMinRev=1;\r\nProdName=\"Simulated DeviceNet bridge\";\r\n[Port]\r\n"
    "Port1=TCP,\"Ethernet\",\"20 F5 24 01\",1;\r\nPort2=DeviceNet,\"DeviceNet\",\"20 F4 24 "
    "02\",2;\r\n";

// A bridge whose only DeviceNet port sits on a module in slot 3 of its backplane.
const char* const ModularBridgeEds =
    "[Device]\r\nVendCode=1;\r\nProdType=12;\r\nProdCode=257;\r\nMajRev=1;\r\n"
    "ProdName=\"Modular bridge\";\r\n[Port]\r\nPort1=Backplane,\"Backplane\",\"20 66 24 01\",1;\r\n"
    "Port2=TCP,\"Ethernet\",\"20 F5 24 01\",2;\r\n";
const char* const ModuleEds =
    "[Device]\r\nVendCode=1;\r\nProdType=12;\r\nProdCode=300;\r\nMajRev=1;\r\n"
    "ProdName=\"DeviceNet module\";\r\n[Port]\r\nPort1=Backplane,\"Backplane\",\"20 66 24 "
    "01\",1;\r\n"
    "Port2=DeviceNet,\"DeviceNet\",\"20 F4 24 02\",2;\r\n";

void InstallEds(const char* name, const char* text)
{
    QDir().mkpath(gateway::BridgeEdsFolder());
    QFile file(gateway::BridgeEdsFolder() + QLatin1String(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

void InstallBridgeEds()
{
    InstallEds("1_12_256_1.eds", BridgeEds);
}

QDialog* OpenDialog()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowTitle() == QLatin1String("Browse for network"))
            return qobject_cast<QDialog*>(widget);
    return nullptr;
}

QPushButton* Button(QDialog* dialog, const char* text)
{
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->text() == QLatin1String(text))
            return button;
    return nullptr;
}

struct Driver {
    SharedLibrary library{QStringLiteral(CORVIX_BIN_DIR "/Drivers/GatewayDriver") +
                          SharedLibrary::fileMask().mid(1)};
    CorvixSetUpAndGoOnlineFn setUp =
        library.function<CorvixSetUpAndGoOnlineFn>(CORVIX_EXPORT_SET_UP_AND_GO_ONLINE);
    CorvixCloseDriverFn close = library.function<CorvixCloseDriverFn>(CORVIX_EXPORT_CLOSE_DRIVER);
    QList<uint32_t> statuses;
    CallbackThunk<CorvixStatusCallback> status{[this](uint32_t code) { statuses.append(code); }};
    int owner = 0;

    // Runs the dialog; user acts on it while it is open and returns once it has closed it.
    CorvixDriverHandle run(const std::function<void(QDialog*)>& user,
                           QByteArray* settings = nullptr, const QByteArray& given = {})
    {
        QTimer::singleShot(0, [&] {
            QDialog* dialog = nullptr;
            if (!WaitFor([&] { return (dialog = OpenDialog()) != nullptr; })) {
                ADD_FAILURE() << "dialog not shown";
                return;
            }
            user(dialog);
            if (dialog->isVisible())  // a failed check above leaves the dialog open
                dialog->reject();
        });
        int32_t length = int32_t(given.size());
        const char* text = given.isEmpty() ? nullptr : given.constData();
        const CorvixDriverHandle handle = setUp(&owner, status.address(), &length, &text);
        if (!given.isEmpty()) {
            EXPECT_EQ(text, given.constData());  // nothing handed back on Cancel
        }
        if (settings && text)
            *settings = QByteArray(text, length);
        return handle;
    }
};

struct Bridges {
    sim::SimNetwork network;
    sim::EnipFrontEnd first{network, sim::BridgeConfig::standard(),
                            QHostAddress(QStringLiteral("127.0.0.1")), 0};
    sim::BridgeConfig secondConfig = [] {
        sim::BridgeConfig config = sim::BridgeConfig::standard();
        config.ipAddress = 0x7F000002;
        config.identity.productCode = 999;  // no EDS file installed for it
        return config;
    }();
    sim::EnipFrontEnd second{network, secondConfig, QHostAddress(QStringLiteral("127.0.0.2")), 0};

    Bridges()
    {
        qputenv("CORVIX_GATEWAY_DISCOVERY", "127.0.0.1:" + QByteArray::number(first.port()));
    }
};

TEST(GatewayDialog, FindsBridgesAndConnectsThroughTheChosenPort)
{
    InstallBridgeEds();
    Bridges bridges;
    Driver driver;
    ASSERT_TRUE(driver.library.isLoaded());
    QByteArray settings;
    const CorvixDriverHandle handle = driver.run(
        [&](QDialog* dialog) {
            auto* tree = dialog->findChild<QTreeWidget*>();
            auto* ok = Button(dialog, "OK");
            ASSERT_TRUE(tree && ok);
            EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("4002"))->text(), "7000");
            ASSERT_TRUE(WaitFor([&] { return tree->topLevelItemCount() == 1; }));
            // The first bridge asked again, then the second added by address: one entry each.
            auto* address = dialog->findChild<QLineEdit*>(QStringLiteral("bridgeAddress"));
            for (const QString& target :
                 {QStringLiteral("127.0.0.1:%1").arg(bridges.first.port()),
                  QStringLiteral("127.0.0.2:%1").arg(bridges.second.port())}) {
                address->setText(target);
                Button(dialog, "Add bridge")->click();
            }
            ASSERT_TRUE(WaitFor([&] { return tree->topLevelItemCount() >= 2; }));
            ASSERT_EQ(tree->topLevelItemCount(), 2);
            QTreeWidgetItem* first = tree->topLevelItem(0);
            EXPECT_EQ(first->text(0), "127.0.0.1 Simulated DeviceNet bridge");
            EXPECT_EQ(tree->topLevelItem(1)->text(0),
                      "127.0.0.2 No EDS-file registered for\"Simulated DeviceNet bridge\"");
            EXPECT_EQ(tree->topLevelItem(1)->childCount(), 0);
            ASSERT_EQ(first->childCount(), 1);  // the TCP port is not offered
            EXPECT_EQ(first->child(0)->text(0), "2, DeviceNet, DeviceNet");
            tree->setCurrentItem(first);
            EXPECT_FALSE(ok->isEnabled());
            tree->setCurrentItem(first->child(0));
            EXPECT_TRUE(ok->isEnabled());
            ok->click();
        },
        &settings);
    EXPECT_NE(handle, 0u);
    EXPECT_EQ(settings, "EtherNet/IP,127.0.0.1," + QByteArray::number(bridges.first.port())
                            + ",02 00,7000");
    ASSERT_TRUE(WaitFor([&] { return !driver.statuses.isEmpty(); }));
    EXPECT_EQ(driver.statuses, QList<uint32_t>{CORVIX_NET_ONLINE});
    driver.close(handle);
}

TEST(GatewayDialog, CancelReportsOfflineAndTheFieldStartsOverEachTime)
{
    Bridges bridges;
    Driver driver;
    const auto cancel = [](QDialog* dialog) {
        auto* timeout = dialog->findChild<QLineEdit*>(QStringLiteral("4002"));
        EXPECT_EQ(timeout->text(), "7000");
        timeout->setText(QStringLiteral("123"));
        Button(dialog, "Cancel")->click();
    };
    const CorvixDriverHandle first = driver.run(cancel);
    // A settings text of another driver is no bridge: the dialog asks.
    const CorvixDriverHandle again = driver.run(cancel, nullptr, "COM1,63,2");
    EXPECT_NE(first, 0u);
    EXPECT_EQ(again, first);  // one session per owner window
    EXPECT_EQ(driver.statuses, (QList<uint32_t>{CORVIX_NET_OFFLINE, CORVIX_NET_OFFLINE}));
    // Without a bridge no node can answer; a browse still ends with its 64 records.
    QList<QByteArray> records;
    CallbackThunk<CorvixBrowseCallback> browse{[&](int32_t length, const uint8_t* data) {
        records.append(QByteArray(reinterpret_cast<const char*>(data), length));
    }};
    driver.library.function<CorvixNetWorkWhoFn>(CORVIX_EXPORT_NETWORK_WHO)(first, browse.address());
    ASSERT_EQ(records.size(), CORVIX_MAC_ID_COUNT);
    EXPECT_EQ(records.last(), QByteArray(1, char(63)));
    driver.close(first);
}

TEST(GatewayDialog, ModulesInBackplaneSlotsGiveTheRouteThroughThem)
{
    InstallEds("1_12_257_1.eds", ModularBridgeEds);
    InstallEds("1_12_300_1.eds", ModuleEds);
    sim::SimNetwork network;
    network.addNode(sim::test::SmallNode(5));
    sim::BridgeConfig config;
    config.identity = {1, 12, 257, 1, 1, 0, 7, QStringLiteral("Modular bridge")};
    config.ports = {
        sim::BridgePort{1, QStringLiteral("Backplane"), QStringLiteral("Backplane"),
                        QByteArray("\x20\x66\x24\x01", 4)},
        sim::BridgePort{2, QStringLiteral("TCP"), QStringLiteral("Ethernet"),
                        QByteArray("\x20\xF5\x24\x01", 4)}};
    config.modules = {
        sim::BridgeModule{0, {1, 12, 400, 1, 1, 0, 8, QStringLiteral("Power supply")}, {}},
        sim::BridgeModule{3, {1, 12, 300, 1, 1, 0, 9, QStringLiteral("DeviceNet module")}, 2}};
    sim::EnipFrontEnd bridge(network, config, QHostAddress(QStringLiteral("127.0.0.1")), 0);
    qputenv("CORVIX_GATEWAY_DISCOVERY", "127.0.0.1:" + QByteArray::number(bridge.port()));

    Driver driver;
    QByteArray settings;
    const CorvixDriverHandle handle = driver.run(
        [&](QDialog* dialog) {
            auto* tree = dialog->findChild<QTreeWidget*>();
            auto* ok = Button(dialog, "OK");
            ASSERT_TRUE(WaitFor([&] { return tree->topLevelItemCount() == 1; }));
            QTreeWidgetItem* root = tree->topLevelItem(0);
            ASSERT_EQ(root->childCount(), 1);
            QTreeWidgetItem* backplane = root->child(0);
            EXPECT_EQ(backplane->text(0), "1, Backplane, Backplane");
            tree->setCurrentItem(nullptr);
            tree->setCurrentItem(root);  // reads the modules behind the backplane port
            ASSERT_TRUE(WaitFor([&] { return backplane->childCount() == 2; }));
            QTreeWidgetItem* empty = backplane->child(0);
            QTreeWidgetItem* module = backplane->child(1);
            EXPECT_EQ(empty->text(0), "0 No EDS-file registered for\"Power supply\"");
            EXPECT_EQ(module->text(0), "3 DeviceNet module");
            ASSERT_EQ(module->childCount(), 1);  // not the backplane port it was reached through
            EXPECT_EQ(module->child(0)->text(0), "2, DeviceNet, DeviceNet");
            tree->setCurrentItem(module);
            EXPECT_FALSE(ok->isEnabled());
            tree->setCurrentItem(module->child(0));
            EXPECT_TRUE(ok->isEnabled());
            ok->click();
        },
        &settings);
    EXPECT_TRUE(settings.contains(",01 03 02 00,")) << settings.constData();
    ASSERT_TRUE(WaitFor([&] { return !driver.statuses.isEmpty(); }));
    EXPECT_EQ(driver.statuses.first(), uint32_t(CORVIX_NET_ONLINE));

    // A request travels the whole route to node 5.
    auto request = driver.library.function<CorvixNetWorkRequestFn>(CORVIX_EXPORT_NETWORK_REQUEST);
    QByteArray reply;
    CallbackThunk<CorvixReplyCallback> thunk{
        [&](uint32_t, uint8_t, uint8_t service, uint32_t length, const uint8_t* data) {
            reply = QByteArray(1, char(service)) +
                    QByteArray(reinterpret_cast<const char*>(data), int(length));
        }};
    request(handle, 1, 5, "20 01 24 01 30 01", 0x0E, 0, nullptr, thunk.address());
    ASSERT_TRUE(WaitFor([&] { return !reply.isEmpty(); }));
    EXPECT_EQ(reply, QByteArray("\x8E\x01\x00", 3));
    driver.close(handle);
}

}  // namespace
