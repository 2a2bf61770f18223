#include "core/JsonFields.h"

#include "app/CorvixError.h"

#include <cmath>

namespace corvix::sim::json {

[[noreturn]] void Fail(const QString& where, const QString& what)
{
    throw ConversionError(QStringLiteral("%1: %2").arg(where, what));
}

std::int64_t Integer(const QJsonObject& object, const QString& key, const QString& where,
                     std::int64_t min, std::int64_t max, std::int64_t fallback)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return fallback;
    const double number = value.toDouble(std::nan(""));
    if (!value.isDouble() || number != std::floor(number) || number < static_cast<double>(min)
        || number > static_cast<double>(max))
        Fail(where + QLatin1Char('.') + key,
             QStringLiteral("expected a whole number from %1 to %2").arg(min).arg(max));
    return static_cast<std::int64_t>(number);
}

std::int64_t Required(const QJsonObject& object, const QString& key, const QString& where,
                      std::int64_t min, std::int64_t max)
{
    if (!object.contains(key))
        Fail(where, QStringLiteral("\"%1\" is missing").arg(key));
    return Integer(object, key, where, min, max, 0);
}

bool Flag(const QJsonObject& object, const QString& key, const QString& where)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return false;
    if (!value.isBool())
        Fail(where + QLatin1Char('.') + key, QStringLiteral("expected true or false"));
    return value.toBool();
}

QString Text(const QJsonObject& object, const QString& key, const QString& where)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return {};
    if (!value.isString())
        Fail(where + QLatin1Char('.') + key, QStringLiteral("expected a text"));
    return value.toString();
}

SimIdentity Identity(const QJsonObject& parent, const QString& parentWhere)
{
    const QJsonObject o = parent.value(QStringLiteral("identity")).toObject();
    const QString where = parentWhere + QStringLiteral(".identity");
    SimIdentity id;
    id.vendorId = static_cast<std::uint16_t>(Required(o, QStringLiteral("vendorId"), where, 0, 0xFFFF));
    id.deviceType = static_cast<std::uint16_t>(Required(o, QStringLiteral("deviceType"), where, 0, 0xFFFF));
    id.productCode = static_cast<std::uint16_t>(Required(o, QStringLiteral("productCode"), where, 0, 0xFFFF));
    id.majorRevision = static_cast<std::uint8_t>(Integer(o, QStringLiteral("majorRevision"), where, 0, 0xFF, 1));
    id.minorRevision = static_cast<std::uint8_t>(Integer(o, QStringLiteral("minorRevision"), where, 0, 0xFF, 1));
    id.status = static_cast<std::uint16_t>(Integer(o, QStringLiteral("status"), where, 0, 0xFFFF, 0));
    id.serialNumber = static_cast<std::uint32_t>(Integer(o, QStringLiteral("serialNumber"), where, 0, 0xFFFFFFFF, 0));
    id.productName = Text(o, QStringLiteral("productName"), where);
    return id;
}

}  // namespace corvix::sim::json
