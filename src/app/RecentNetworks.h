#pragma once

#include <QString>
#include <array>

namespace corvix {

// The four most recently opened or saved network files, newest first; an empty text marks an
// empty slot. Kept in the settings as "LastOpenedNetwork1" (newest) .. "LastOpenedNetwork4".
class RecentNetworks {
public:
    static constexpr int Count = 4;

    const std::array<QString, Count>& Entries() const { return entries_; }

    // Moves path to the top: an equal entry (exact comparison) is taken out first, so a file
    // is listed once; the oldest entry drops out when all four slots are full. Writes the
    // settings.
    void Add(const QString& path);

    void Load();
    void Save() const;

private:
    std::array<QString, Count> entries_;
};

}  // namespace corvix
