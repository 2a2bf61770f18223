#include "app/TextSearch.h"

#include "app/Windows1252.h"

#include <algorithm>

namespace corvix {

TBaseSearch::TBaseSearch()
{
    for (int b = 0; b < 256; ++b) {
        lower_[b] = LowerWindows1252(static_cast<unsigned char>(b));
    }
}

void TBaseSearch::SetPattern(const QByteArray& pattern)
{
    pattern_ = pattern;
    shiftTableValid_ = false;
}

void TBaseSearch::SetCaseSensitive(bool caseSensitive)
{
    caseSensitive_ = caseSensitive;
    shiftTableValid_ = false;
}

void TBaseSearch::SetBuffer(const char* data, int64_t length)
{
    data_ = data;
    length_ = std::max<int64_t>(length, 0);
    position_ = 0;
}

void TBaseSearch::buildShiftTable()
{
    const int64_t m = pattern_.size();
    shift_.fill(m);
    for (int64_t i = 0; i + 1 < m; ++i) {
        shift_[fold(static_cast<unsigned char>(pattern_.at(qsizetype(i))))] = m - 1 - i;
    }
    if (m > 0) {
        const unsigned char last = fold(static_cast<unsigned char>(pattern_.at(qsizetype(m - 1))));
        mismatchShift_ = std::max<int64_t>(shift_[last], 1);
        shift_[last] = 0;
    }
    shiftTableValid_ = true;
}

int64_t TBaseSearch::First() { return scanFrom(0); }

int64_t TBaseSearch::Next() { return scanFrom(position_); }

int64_t TBaseSearch::scanFrom(int64_t windowStart)
{
    const int64_t m = pattern_.size();
    if (m == 0 || data_ == nullptr) {
        return -1;
    }
    if (!shiftTableValid_) {
        buildShiftTable();
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(data_);
    int64_t last = windowStart + m - 1;  // index of the window's last byte
    while (last < length_) {
        const int64_t skip = shift_[fold(bytes[last])];
        if (skip != 0) {
            last += skip;
            continue;
        }
        const int64_t start = last - m + 1;
        int64_t i = 0;
        while (i < m - 1 && fold(bytes[start + i]) == fold(static_cast<unsigned char>(pattern_.at(qsizetype(i))))) {
            ++i;
        }
        if (i == m - 1) {
            position_ = start + m;
            return start;
        }
        last += mismatchShift_;
    }
    position_ = length_;
    return -1;
}

int64_t FindText(const QByteArray& buffer, const QByteArray& text, int64_t start, int64_t end)
{
    start = std::clamp<int64_t>(start, 0, buffer.size());
    end = std::clamp<int64_t>(end, start, buffer.size());
    TSearch search;
    search.SetPattern(text);
    search.SetBuffer(buffer.constData() + start, end - start);
    const int64_t offset = search.First();
    return offset < 0 ? -1 : start + offset;
}

}  // namespace corvix
