#include "gateway/CNwScanDlg.h"

#include "gateway/BackplaneBrowse.h"
#include "gateway/EnipCodec.h"

#include "app/Windows1252.h"

#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QTreeWidget>

namespace corvix::gateway {

namespace {

constexpr int ResendMs = 5000;
constexpr int DefaultTimeoutMs = 7000;
enum Role { KindRole = Qt::UserRole, NumberRole, TypeRole, PathRole, BrowsedRole, AddressRole,
            TcpPortRole };
enum Kind { ModuleEntry = 0, PortEntry = 1, BridgeEntry = 2 };

std::optional<std::pair<QHostAddress, quint16>> ParseTarget(const QString& text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(':'));
    bool isIpv4 = false;
    const QHostAddress address(parts.first());
    address.toIPv4Address(&isIpv4);
    bool portOk = parts.size() == 1;
    const uint port = parts.size() == 2 ? parts[1].toUInt(&portOk) : EnipPort;
    if (!isIpv4 || !portOk || parts.size() > 2 || port == 0 || port > 0xFFFF)
        return std::nullopt;
    return std::pair(address, quint16(port));
}

}  // namespace

std::pair<QHostAddress, quint16> CNwScanDlg::DiscoveryTarget()
{
    const auto configured = ParseTarget(qEnvironmentVariable("CORVIX_GATEWAY_DISCOVERY"));
    return configured.value_or(std::pair(QHostAddress(QHostAddress::Broadcast), EnipPort));
}

CNwScanDlg::CNwScanDlg(QWidget* parent)
    : QDialog(parent), tree_(new QTreeWidget), ok_(new QPushButton(QStringLiteral("OK"))),
      timeout_(new QLineEdit), address_(new QLineEdit)
{
    setWindowTitle(QStringLiteral("Browse for network"));
    tree_->setObjectName(QStringLiteral("4001"));
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(true);
    ok_->setDefault(true);
    ok_->setEnabled(false);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    timeout_->setObjectName(QStringLiteral("4002"));
    timeout_->setValidator(new QIntValidator(1, 3600000, timeout_));
    timeout_->setText(QString::number(DefaultTimeoutMs));
    address_->setObjectName(QStringLiteral("bridgeAddress"));
    address_->setPlaceholderText(QStringLiteral("IP address"));
    auto* add = new QPushButton(QStringLiteral("Add bridge"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(tree_, 0, 0, 7, 1);
    layout->addWidget(ok_, 0, 1, 1, 2);
    layout->addWidget(cancel, 1, 1, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("Msg Timeout:")), 2, 1, 1, 2);
    layout->addWidget(timeout_, 3, 1);
    layout->addWidget(new QLabel(QStringLiteral("ms")), 3, 2);
    layout->addWidget(address_, 4, 1, 1, 2);
    layout->addWidget(add, 5, 1, 1, 2);
    layout->setRowStretch(6, 1);

    connect(ok_, &QPushButton::clicked, this, &CNwScanDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CNwScanDlg::reject);
    connect(add, &QPushButton::clicked, this, &CNwScanDlg::addBridgeByAddress);
    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { selectionChanged(item); });
    connect(tree_, &QTreeWidget::itemExpanded, this, &CNwScanDlg::selectionChanged);
    connect(&udp_, &QUdpSocket::readyRead, this, &CNwScanDlg::readDatagrams);
    connect(&resend_, &QTimer::timeout, this, &CNwScanDlg::sendDiscovery);

    if (!udp_.bind(QHostAddress(QHostAddress::AnyIPv4), 0)) {
        // Discovery ends; the dialog stays usable for Cancel.
        QTimer::singleShot(0, this, [this] { error(QStringLiteral("Bind Error")); });
        return;
    }
    targets_.append(DiscoveryTarget());
    QTimer::singleShot(0, this, &CNwScanDlg::sendDiscovery);
    resend_.start(ResendMs);
}

void CNwScanDlg::error(const QString& text)
{
    discovering_ = false;
    resend_.stop();
    QMessageBox::critical(this, QStringLiteral("Error"), text);
}

void CNwScanDlg::sendDiscovery()
{
    for (const auto& [address, port] : std::as_const(targets_)) {
        if (!discovering_)
            return;
        if (udp_.writeDatagram(ListIdentityPacket(), address, port) < 0)
            error(QStringLiteral("Sendto Error - Error code:%1").arg(int(udp_.error())));
    }
}

void CNwScanDlg::addBridgeByAddress()
{
    const auto target = ParseTarget(address_->text());
    if (!target || !discovering_)
        return;
    if (!targets_.contains(*target))
        targets_.append(*target);
    if (udp_.writeDatagram(ListIdentityPacket(), target->first, target->second) < 0)
        error(QStringLiteral("Sendto Error - Error code:%1").arg(int(udp_.error())));
}

void CNwScanDlg::readDatagrams()
{
    while (udp_.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = udp_.receiveDatagram(200);
        if (const auto identity = ParseListIdentity(datagram.data()))
            addBridge(*identity, quint16(datagram.senderPort()));
    }
}

void CNwScanDlg::addBridge(const BridgeIdentity& identity, quint16 tcpPort)
{
    for (int i = 0; i < tree_->topLevelItemCount(); ++i)
        if (tree_->topLevelItem(i)->data(0, AddressRole).toUInt() == identity.ipAddress)
            return;
    const QString address = QHostAddress(identity.ipAddress).toString();
    const QString name = DecodeWindows1252(identity.productName);
    auto* root = new QTreeWidgetItem;
    root->setData(0, KindRole, BridgeEntry);
    root->setData(0, AddressRole, identity.ipAddress);
    root->setData(0, TcpPortRole, tcpPort);
    const auto eds = ReadBridgeEds(BridgeEdsFolder(), identity.edsFileName());
    if (!eds) {
        root->setText(0, QStringLiteral("%1 No EDS-file registered for\"%2\"").arg(address, name));
        tree_->addTopLevelItem(root);
        return;
    }
    root->setText(0, address + QLatin1Char(' ') + name);
    tree_->addTopLevelItem(root);
    if (!eds->matches(identity.vendorId, identity.deviceType, identity.productCode,
                      identity.majorRevision))
        return;
    addPorts(root, eds->ports, -1);
    tree_->setCurrentItem(root);
    root->setExpanded(false);
}

void CNwScanDlg::selectionChanged(QTreeWidgetItem* item)
{
    if (item == nullptr)
        return;
    if (item->parent() == nullptr) {
        ok_->setEnabled(false);
        browsePorts(item);
        return;
    }
    const bool deviceNetPort = item->data(0, KindRole).toInt() == PortEntry
                               && item->data(0, TypeRole).toByteArray() == "DeviceNet";
    ok_->setEnabled(deviceNetPort);
    if (!deviceNetPort)
        return;
    // [port, MAC ID placeholder], preceded by the port or slot numbers on the way up.
    QByteArray route;
    route.append(char(item->data(0, NumberRole).toInt()));
    route.append('\0');
    QTreeWidgetItem* root = item;
    for (QTreeWidgetItem* up = item->parent(); up != nullptr; up = up->parent()) {
        root = up;
        if (up->parent() != nullptr)
            route.prepend(char(up->data(0, NumberRole).toInt()));
    }
    settings_.route = route;
    settings_.bridge = QHostAddress(root->data(0, AddressRole).toUInt());
    settings_.tcpPort = quint16(root->data(0, TcpPortRole).toUInt());
}

void CNwScanDlg::addPorts(QTreeWidgetItem* parent, const QList<BridgePortRecord>& ports,
                          int skippedNumber)
{
    for (const BridgePortRecord& port : ports) {
        if (port.type.startsWith("TCP") || port.number == skippedNumber)
            continue;
        auto* item = new QTreeWidgetItem(parent);
        item->setText(0, QStringLiteral("%1, %2, %3")
                             .arg(port.number)
                             .arg(DecodeWindows1252(port.name), DecodeWindows1252(port.type)));
        item->setData(0, KindRole, PortEntry);
        item->setData(0, NumberRole, port.number);
        item->setData(0, TypeRole, port.type);
        item->setData(0, PathRole, port.objectPath);
        item->setData(0, BrowsedRole, false);
    }
}

void CNwScanDlg::browsePorts(QTreeWidgetItem* root)
{
    const QHostAddress bridge(root->data(0, AddressRole).toUInt());
    const auto tcpPort = quint16(root->data(0, TcpPortRole).toUInt());
    for (int i = 0; i < root->childCount(); ++i) {
        QTreeWidgetItem* port = root->child(i);
        if (port->data(0, BrowsedRole).toBool())
            break;
        port->setData(0, BrowsedRole, true);
        qDeleteAll(port->takeChildren());
        const QByteArray path = port->data(0, PathRole).toByteArray();
        if (path.size() != 4 || std::uint8_t(path[1]) != 0x66)
            continue;
        const int portNumber = port->data(0, NumberRole).toInt();
        browses_.append(new BackplaneBrowse(bridge, tcpPort, path,
                            [this, port, portNumber](const SlotModule& module) {
                                addModule(port, portNumber, module);
                            },
                            this));
    }
}

void CNwScanDlg::addModule(QTreeWidgetItem* port, int portNumber, const SlotModule& module)
{
    auto* item = new QTreeWidgetItem(port);
    item->setData(0, KindRole, ModuleEntry);
    item->setData(0, NumberRole, module.slot);
    const QString name = DecodeWindows1252(module.productName);
    const auto eds = ReadBridgeEds(
        BridgeEdsFolder(),
        EdsFileName(module.vendorId, module.deviceType, module.productCode, module.majorRevision));
    if (!eds) {
        item->setText(
            0, QStringLiteral("%1 No EDS-file registered for\"%2\"").arg(module.slot).arg(name));
        return;
    }
    item->setText(0, QStringLiteral("%1 %2").arg(module.slot).arg(name));
    if (eds->matches(module.vendorId, module.deviceType, module.productCode, module.majorRevision))
        addPorts(item, eds->ports, portNumber);
}

void CNwScanDlg::accept()
{
    bool ok = false;
    const int timeout = timeout_->text().toInt(&ok);
    settings_.timeoutMs = ok && timeout > 0 ? timeout : DefaultTimeoutMs;
    QDialog::accept();
}

void CNwScanDlg::done(int result)
{
    discovering_ = false;
    resend_.stop();
    // The module reads hold tree entries: they end before the entries go.
    qDeleteAll(browses_);
    browses_.clear();
    tree_->clear();
    QDialog::done(result);
}

}  // namespace corvix::gateway
