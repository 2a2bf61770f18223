#include "library/EdsKeyIndex.h"

#include "app/EdsValueReaders.h"
#include "app/TextSearch.h"
#include "app/Windows1252.h"

#include <algorithm>

namespace corvix {

namespace {

unsigned char fold(char byte) { return LowerWindows1252(static_cast<unsigned char>(byte)); }

// Tested on case-folded bytes, so that a key byte and a text byte that FindText takes as equal
// are both in the set or both outside it.
bool isKeyByte(unsigned char folded)
{
    return (folded >= '0' && folded <= '9') || (folded >= 'a' && folded <= 'z');
}

// Hash of a key tail built from its "=" leftwards, one byte at a time, so that all tails in front
// of one "=" are hashed in a single pass.
class TailHash {
public:
    void prepend(unsigned char folded)
    {
        sum_ += folded * power_;
        power_ *= 0x100000001B3ULL;
    }

    uint64_t value() const
    {
        uint64_t z = sum_ + 0x9E3779B97F4A7C15ULL;  // splitmix64 finaliser
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

private:
    uint64_t sum_ = '=';
    uint64_t power_ = 0x100000001B3ULL;
};

}  // namespace

EdsKeyIndex::EdsKeyIndex(const QByteArray& text) : text_(text)
{
    const char* bytes = text_.constData();
    for (int64_t equals = 0; equals < text_.size(); ++equals) {
        if (fold(bytes[equals]) != '=') {
            continue;
        }
        TailHash hash;
        for (int64_t length = 1; length <= maxIndexedKeyLength && length <= equals; ++length) {
            const unsigned char folded = fold(bytes[equals - length]);
            if (!isKeyByte(folded)) {
                break;
            }
            hash.prepend(folded);
            entries_.push_back({hash.value(), equals - length});
        }
    }
    std::sort(entries_.begin(), entries_.end());
}

bool EdsKeyIndex::matchesAt(const QByteArray& foldedKey, int64_t start) const
{
    for (qsizetype i = 0; i < foldedKey.size(); ++i) {
        if (fold(text_[start + i]) != static_cast<unsigned char>(foldedKey[i])) {
            return false;
        }
    }
    return true;
}

int64_t EdsKeyIndex::Find(const QByteArray& key, int64_t start, int64_t end) const
{
    QByteArray foldedKey(key.size(), Qt::Uninitialized);
    std::transform(key.begin(), key.end(), foldedKey.begin(),
                   [](char byte) { return static_cast<char>(fold(byte)); });
    const int64_t length = foldedKey.size();
    const bool indexed =
        length >= 2 && length - 1 <= maxIndexedKeyLength && foldedKey.back() == '=' &&
        std::all_of(foldedKey.begin(), foldedKey.end() - 1,
                    [](char c) { return isKeyByte(static_cast<unsigned char>(c)); });
    if (!indexed) {
        return FindText(text_, key, start, end);
    }
    start = std::clamp<int64_t>(start, 0, text_.size());
    end = std::clamp<int64_t>(end, start, text_.size());
    TailHash hash;
    for (qsizetype i = length - 2; i >= 0; --i) {
        hash.prepend(static_cast<unsigned char>(foldedKey[i]));
    }
    const uint64_t wanted = hash.value();
    for (auto entry = std::lower_bound(entries_.begin(), entries_.end(), Entry{wanted, start});
         entry != entries_.end() && entry->hash == wanted; ++entry) {
        // Candidates come in ascending position: once one runs past end, all later ones do.
        if (entry->start + length > end) {
            return -1;
        }
        if (matchesAt(foldedKey, entry->start)) {
            return entry->start;
        }
    }
    return -1;
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
