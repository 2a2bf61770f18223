#pragma once

#include "core/SimNode.h"

#include <QJsonObject>

// Readers of the fields of a network description. Each names the offending entry in the
// ConversionError it raises ("nodes[2].identity.vendorId: ...").
namespace corvix::sim::json {

[[noreturn]] void Fail(const QString& where, const QString& what);
// A whole number from min to max; fallback when the key is absent.
std::int64_t Integer(const QJsonObject& object, const QString& key, const QString& where,
                     std::int64_t min, std::int64_t max, std::int64_t fallback);
std::int64_t Required(const QJsonObject& object, const QString& key, const QString& where,
                      std::int64_t min, std::int64_t max);
bool Flag(const QJsonObject& object, const QString& key, const QString& where);
QString Text(const QJsonObject& object, const QString& key, const QString& where);
// The "identity" object inside parent.
SimIdentity Identity(const QJsonObject& parent, const QString& parentWhere);

}  // namespace corvix::sim::json
