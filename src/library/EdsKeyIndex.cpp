#include "library/EdsKeyIndex.h"

#include "app/EdsValueReaders.h"
#include "app/TextSearch.h"
#include "app/Windows1252.h"

#include <algorithm>

namespace corvix {

namespace {

// Tested on case-folded bytes, so that a key byte and a text byte that FindText takes as equal
// are both in the set or both outside it.
bool isKeyByte(unsigned char folded)
{
    return (folded >= '0' && folded <= '9') || (folded >= 'a' && folded <= 'z');
}

std::string folded(const QByteArray& bytes)
{
    std::string result(static_cast<size_t>(bytes.size()), '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        result[static_cast<size_t>(i)] =
            static_cast<char>(LowerWindows1252(static_cast<unsigned char>(bytes[i])));
    }
    return result;
}

}  // namespace

EdsKeyIndex::EdsKeyIndex(const QByteArray& text) : text_(text)
{
    const std::string lower = folded(text_);
    const auto size = static_cast<int64_t>(lower.size());
    for (int64_t equals = 0; equals < size; ++equals) {
        if (lower[static_cast<size_t>(equals)] != '=') {
            continue;
        }
        for (int64_t length = 1; length <= maxIndexedKeyLength && length <= equals; ++length) {
            const int64_t start = equals - length;
            if (!isKeyByte(static_cast<unsigned char>(lower[static_cast<size_t>(start)]))) {
                break;
            }
            // Scanning "=" signs from left to right keeps every position list ascending.
            starts_[lower.substr(static_cast<size_t>(start), static_cast<size_t>(length + 1))]
                .push_back(start);
        }
    }
}

int64_t EdsKeyIndex::Find(const QByteArray& key, int64_t start, int64_t end) const
{
    const std::string lowerKey = folded(key);
    const auto length = static_cast<int64_t>(lowerKey.size());
    const bool indexed =
        length >= 2 && length - 1 <= maxIndexedKeyLength && lowerKey.back() == '=' &&
        std::all_of(lowerKey.begin(), lowerKey.end() - 1,
                    [](char c) { return isKeyByte(static_cast<unsigned char>(c)); });
    if (!indexed) {
        return FindText(text_, key, start, end);
    }
    start = std::clamp<int64_t>(start, 0, text_.size());
    end = std::clamp<int64_t>(end, start, text_.size());
    const auto found = starts_.find(lowerKey);
    if (found == starts_.end()) {
        return -1;
    }
    const std::vector<int64_t>& positions = found->second;
    const auto first = std::lower_bound(positions.begin(), positions.end(), start);
    // Later occurrences end later still, so only the first one at or after start can fit.
    return first != positions.end() && *first + length <= end ? *first : -1;
}

QByteArray ReadValue(const EdsKeyIndex& index, const QByteArray& key, int64_t start, int64_t end)
{
    return ReadValueAt(index.Text(), index.Find(key, start, end), key.size(), end);
}

QByteArray ReadQuotedValue(const EdsKeyIndex& index, const QByteArray& key, int64_t start,
                           int64_t end)
{
    return ReadQuotedValueAt(index.Text(), index.Find(key, start, end), key.size(), end);
}

QByteArrayList ReadValueFields(const EdsKeyIndex& index, const QByteArray& key, int64_t start,
                               int64_t end, int64_t& position)
{
    return ReadValueFieldsAt(index.Text(), index.Find(key, start, end), key.size(), end,
                             position);
}

}  // namespace corvix
