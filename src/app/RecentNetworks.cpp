#include "app/RecentNetworks.h"

#include <algorithm>

#include "app/Registry.h"

namespace corvix {

namespace {

QString SettingName(int slot)
{
    return QStringLiteral("LastOpenedNetwork%1").arg(slot + 1);
}

}  // namespace

void RecentNetworks::Add(const QString& path)
{
    const auto found = std::find(entries_.begin(), entries_.end(), path);
    if (found != entries_.end()) {
        std::move(found + 1, entries_.end(), found);
        entries_.back().clear();
    }
    std::move_backward(entries_.begin(), entries_.end() - 1, entries_.end());
    entries_.front() = path;
    Save();
}

void RecentNetworks::Load()
{
    for (int slot = 0; slot < Count; ++slot) {
        QString value;
        ReadRegString(SettingName(slot), value);
        entries_[slot] = value;
    }
}

void RecentNetworks::Save() const
{
    for (int slot = 0; slot < Count; ++slot) {
        WriteRegString(SettingName(slot), entries_[slot]);
    }
}

}  // namespace corvix
