// The "Browse for network" dialog of the gateway driver, driven through SetUpAndGoOnline on the
// offscreen platform. Discovery goes to simulated bridges on loopback addresses only.
#include "app/CallbackThunk.h"
#include "app/SharedLibrary.h"
#include "core/EnipFrontEnd.h"
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
    "Port1=TCP,\"Ethernet\",\"20 F5 24 01\",1;\r\nPort2=DeviceNet,\"DeviceNet\",\"20 F4 24 02\",2;\r\n";

void InstallBridgeEds()
{
    QDir().mkpath(gateway::BridgeEdsFolder());
    QFile file(gateway::BridgeEdsFolder() + QStringLiteral("1_12_256_1.eds"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(BridgeEds);
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
    CorvixDriverHandle run(const std::function<void(QDialog*)>& user, QByteArray* settings = nullptr,
                           const QByteArray& given = {})
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
    driver.close(first);
}

}  // namespace
