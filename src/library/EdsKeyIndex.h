#pragma once

#include <QByteArray>
#include <QByteArrayList>

#include <cstdint>
#include <vector>

namespace corvix {

// Answers FindText(text, key, start, end) for one normalised EDS text without scanning it again.
// Reading a device looks up "Param1=", "Param2=", ... "Group3=", "Input12=" one by one; with a
// full scan each, a file of a thousand parameters costs a million byte steps per scan.
//
// Every "=" of the text is indexed under the case-folded tails of the run of letters and digits
// in front of it ("param12=", "aram12=", ... "2="): one entry per tail with the hash of the tail
// and the position where it starts, sorted by hash and position. A key made of letters and digits
// and a final "=" is then one binary search, and the candidate found is compared with the text,
// so a hash collision cannot give a wrong answer. Any other key (a section name such as
// "[IOInfo]", a key with a quote) is passed on to FindText. The result is the same as FindText's
// in every case. The index takes 16 bytes per tail, at most 32 tails per "=".
class EdsKeyIndex {
public:
    explicit EdsKeyIndex(const QByteArray& text);

    const QByteArray& Text() const { return text_; }

    // Position of the first occurrence of key in text[start, end), letter case ignored, or -1.
    int64_t Find(const QByteArray& key, int64_t start, int64_t end) const;

private:
    static constexpr int64_t maxIndexedKeyLength = 32;  // letters and digits before the "="

    struct Entry {
        uint64_t hash;
        int64_t start;
        auto operator<=>(const Entry&) const = default;
    };

    bool matchesAt(const QByteArray& foldedKey, int64_t start) const;

    QByteArray text_;
    std::vector<Entry> entries_;  // sorted
};

// The EDS value readers of app/EdsValueReaders.h, with the key found through the index.
QByteArray ReadValue(const EdsKeyIndex& index, const QByteArray& key, int64_t start, int64_t end);
QByteArray ReadQuotedValue(const EdsKeyIndex& index, const QByteArray& key, int64_t start,
                           int64_t end);
QByteArrayList ReadValueFields(const EdsKeyIndex& index, const QByteArray& key, int64_t start,
                               int64_t end, int64_t& position);

}  // namespace corvix
