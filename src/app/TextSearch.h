#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

namespace corvix {

// Boyer-Moore-Horspool search over a byte range. Letter case is ignored unless CaseSensitive is
// set (lower-casing by the Windows code page, the encoding of the texts searched).
class TBaseSearch {
public:
    TBaseSearch();
    virtual ~TBaseSearch() = default;

    const QByteArray& Pattern() const { return pattern_; }
    void SetPattern(const QByteArray& pattern);
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool caseSensitive);

    // The range searched: length bytes at data. The bytes must outlive the searches.
    void SetBuffer(const char* data, int64_t length);

    // Offset of the first match from the range start, or -1; First restarts at the range start,
    // Next continues after the previous match.
    int64_t First();
    int64_t Next();

protected:
    unsigned char fold(unsigned char byte) const { return caseSensitive_ ? byte : lower_[byte]; }

private:
    void buildShiftTable();
    int64_t scanFrom(int64_t windowStart);

    QByteArray pattern_;
    bool caseSensitive_ = false;
    bool shiftTableValid_ = false;
    std::array<unsigned char, 256> lower_{};
    std::array<int64_t, 256> shift_{};
    int64_t mismatchShift_ = 1;
    const char* data_ = nullptr;
    int64_t length_ = 0;
    int64_t position_ = 0;  // window start of the next search
};

class TSearch : public TBaseSearch {};

// Position of text in buffer[start, end) ignoring letter case, or -1. Positions are clamped to
// the buffer.
int64_t FindText(const QByteArray& buffer, const QByteArray& text, int64_t start, int64_t end);

}  // namespace corvix
