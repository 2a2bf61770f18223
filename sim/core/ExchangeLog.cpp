#include "core/ExchangeLog.h"

#include "app/StatusText.h"

namespace corvix::sim {

namespace {

QString ServiceName(std::uint8_t service)
{
    switch (service) {
    case cip::GetAttributesAll: return QStringLiteral("Get_Attributes_All");
    case cip::SetAttributesAll: return QStringLiteral("Set_Attributes_All");
    case cip::Reset: return QStringLiteral("Reset");
    case cip::GetAttributeSingle: return QStringLiteral("Get_Attribute_Single");
    case cip::SetAttributeSingle: return QStringLiteral("Set_Attribute_Single");
    case cip::Save: return QStringLiteral("Save");
    case cip::GetMember: return QStringLiteral("Get_Member");
    case cip::SetMember: return QStringLiteral("Set_Member");
    case cip::GetEnumString: return QStringLiteral("Get_Enum_String");
    default: return QStringLiteral("service");
    }
}

QString Hex2(unsigned value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

QString Outcome(const SimNetwork::Result& result)
{
    switch (result.outcome) {
    case SimNetwork::Outcome::NoNode: return QStringLiteral("no node");
    case SimNetwork::Outcome::Dropped: return QStringLiteral("no reply (dropped)");
    case SimNetwork::Outcome::Replied: break;
    }
    QString text = Hex2(result.reply.service);
    if (result.reply.isError()) {
        const std::uint8_t status = result.reply.generalStatus();
        text += QStringLiteral(" status %1 %2").arg(Hex2(status), StatusText(status));
    } else if (!result.reply.data.isEmpty()) {
        text += QStringLiteral(" data ") + HexBytes(result.reply.data);
    }
    if (result.delayMs > 0)
        text += QStringLiteral(" after %1 ms").arg(result.delayMs);
    return text;
}

}  // namespace

QString DescribeExchange(const QString& frontEnd, const NodeExchange& exchange)
{
    const CipRequest& request = exchange.request;
    QString line = QStringLiteral("%1 MAC %2 %3 (%4) class %5 instance %6")
                       .arg(frontEnd)
                       .arg(exchange.macId)
                       .arg(ServiceName(request.service), Hex2(request.service),
                            Hex2(request.classId))
                       .arg(request.instance);
    if (request.attribute)
        line += QStringLiteral(" attribute %1").arg(*request.attribute);
    if (!request.data.isEmpty())
        line += QStringLiteral(" data ") + HexBytes(request.data);
    return line + QStringLiteral(" -> ") + Outcome(exchange.result);
}

}  // namespace corvix::sim
