// The set-up window "RS232 Interface", driven the way a user fills it in.
#include "SerialDriverHost.h"

#include "core/PtyFrontEnd.h"
#include "support/WaitFor.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMap>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace corvix;
using corvix::test::SerialDriverLibrary;
using corvix::test::SerialHost;
using corvix::test::WaitFor;

namespace {

// The host's settings functions: a plain map instead of the registry.
QMap<QByteArray, int32_t> g_stored;
int32_t ReadInteger(const char* name, int32_t defaultValue)
{
    return g_stored.value(name, defaultValue);
}
void WriteInteger(const char* name, int32_t value)
{
    g_stored[name] = value;
}

struct WindowState {
    QString title;
    QString rate;
    QString mac;
};

// Runs `fill` on the window once it is shown, then presses the named button.
void WhenShown(const char* button, const std::function<void(QDialog&)>& fill, WindowState& seen)
{
    QTimer::singleShot(50, [=, &seen] {
        auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        seen = {window->windowTitle(),
                window->findChild<QComboBox*>(QStringLiteral("ComboBox2"))->currentText(),
                window->findChild<QComboBox*>(QStringLiteral("ComboBox3"))->currentText()};
        fill(*window);
        window->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    });
}

QByteArray ReturnedText(int32_t length, const char* text)
{
    return text == nullptr ? QByteArray() : QByteArray(text, length);
}

}  // namespace

TEST(SerialSetupWindow, CancelKeepsThePortClosed)
{
    SerialDriverLibrary driver;
    ASSERT_TRUE(driver.library.isLoaded());
    SerialHost host;
    WindowState seen;
    WhenShown("Button2", [](QDialog&) {}, seen);
    int32_t length = 0;
    const char* text = nullptr;
    const CorvixDriverHandle handle = driver.setUp(nullptr, host.status.address(), &length, &text);
    EXPECT_NE(handle, 0u);
    EXPECT_EQ(seen.title, QStringLiteral("RS232 Interface"));
    EXPECT_EQ(seen.rate, QStringLiteral("500 k")) << "defaults without settings functions";
    EXPECT_EQ(seen.mac, QStringLiteral("63"));
    EXPECT_EQ(ReturnedText(length, text), QByteArray(",0,0"));
    WaitFor([] { return false; }, 100);
    EXPECT_TRUE(host.statuses.isEmpty());
    EXPECT_EQ(driver.close(handle), 0);
}

TEST(SerialSetupWindow, GoOnlineWithATypedPortStoresTheChoice)
{
    SerialDriverLibrary driver;
    ASSERT_TRUE(driver.library.isLoaded());
    sim::SimNetwork network;
    sim::PtyFrontEnd pty(network, false);
    g_stored = {{"SerialCOMDriverLastBaudRate", 1}, {"SerialCOMDriverLastMacID", 7}};
    driver.registerCallbacks(&ReadInteger, &WriteInteger, nullptr, nullptr, nullptr, nullptr);

    SerialHost host;
    WindowState seen;
    const QString port = pty.slavePath();
    WhenShown("Button1", [&](QDialog& window) {
        window.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setEditText(port);
        window.findChild<QComboBox*>(QStringLiteral("ComboBox3"))->setCurrentIndex(10);
    }, seen);
    int32_t length = 0;
    const char* text = nullptr;
    const CorvixDriverHandle handle = driver.setUp(nullptr, host.status.address(), &length, &text);
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(seen.rate, QStringLiteral("250 k")) << "preselected from the stored settings";
    EXPECT_EQ(seen.mac, QStringLiteral("7"));
    EXPECT_EQ(ReturnedText(length, text), port.toLocal8Bit() + ",10,1");
    EXPECT_EQ(g_stored.value("SerialCOMDriverLastMacID"), 10);
    EXPECT_EQ(g_stored.value("SerialCOMDriverLastBaudRate"), 1);
    ASSERT_TRUE(WaitFor([&] { return host.statuses.contains(CORVIX_NET_ONLINE); }));
    EXPECT_EQ(pty.adapter().macId(), 10);
    EXPECT_EQ(driver.close(handle), 0);
}
