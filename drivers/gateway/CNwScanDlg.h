#pragma once

#include "gateway/BackplaneBrowse.h"
#include "gateway/BridgeDiscovery.h"
#include "gateway/GatewaySettings.h"

#include <QDialog>
#include <QHostAddress>
#include <QTimer>
#include <QUdpSocket>

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace corvix::gateway {

// "Browse for network": finds bridges by ListIdentity, shows them with the ports of their
// installed EDS files, and lets the user pick the DeviceNet port the network is reached through.
class CNwScanDlg : public QDialog {
public:
    explicit CNwScanDlg(QWidget* parent = nullptr);

    // The bridge, route and message time-out chosen with OK.
    const GatewaySettings& settings() const { return settings_; }

    // Where discovery is sent: CORVIX_GATEWAY_DISCOVERY ("address:port") when set, otherwise the
    // broadcast address and port 44818.
    static std::pair<QHostAddress, quint16> DiscoveryTarget();

    void accept() override;
    void done(int result) override;

private:
    void sendDiscovery();
    void addBridgeByAddress();
    void readDatagrams();
    void addBridge(const BridgeIdentity& identity, quint16 tcpPort);
    void selectionChanged(QTreeWidgetItem* item);
    // Port entries for the ports of an EDS file, except TCP ports and the one browsed through.
    void addPorts(QTreeWidgetItem* parent, const QList<BridgePortRecord>& ports, int skippedNumber);
    // Reads the modules behind every backplane port of a bridge entry once.
    void browsePorts(QTreeWidgetItem* root);
    void addModule(QTreeWidgetItem* port, int portNumber, const SlotModule& module);
    void error(const QString& text);

    QTreeWidget* tree_;
    QPushButton* ok_;
    QLineEdit* timeout_;
    QLineEdit* address_;
    QUdpSocket udp_;
    QTimer resend_;
    QList<std::pair<QHostAddress, quint16>> targets_;
    QList<BackplaneBrowse*> browses_;
    bool discovering_ = true;
    GatewaySettings settings_;
};

}  // namespace corvix::gateway
