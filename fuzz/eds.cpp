// Random bytes through the path an EDS file takes when it is installed and read: normalisation,
// the keyword check and keyword look-ups, with the index checked against plain text search.

#include "app/EdsValueReaders.h"
#include "app/TextSearch.h"
#include "library/EdsKeyIndex.h"
#include "library/EdsKeywordCheck.h"
#include "library/EdsNormaliser.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

void compareLookups(const QByteArray& text, const QByteArray& key, int64_t start, int64_t end)
{
    const corvix::EdsKeyIndex index(text);
    check(index.Find(key, start, end) == corvix::FindText(text, key, start, end));
    check(corvix::ReadValue(index, key, start, end) == corvix::ReadValue(text, key, start, end));
    check(corvix::ReadQuotedValue(index, key, start, end) ==
          corvix::ReadQuotedValue(text, key, start, end));
    int64_t indexPosition = -2;
    int64_t searchPosition = -3;
    check(corvix::ReadValueFields(index, key, start, end, indexPosition) ==
          corvix::ReadValueFields(text, key, start, end, searchPosition));
    check(indexPosition == searchPosition);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray raw(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray text = corvix::NormaliseEdsText(raw);
    check(corvix::NormaliseEdsText(text) == text);
    QString report;
    corvix::CheckEdsKeywords(text, report);

    // The first bytes choose a key from the input itself, so keys that occur are tried too.
    const int64_t keyStart = size > 0 ? data[0] % (int64_t(size) + 1) : 0;
    const int64_t keyLength = size > 1 ? data[1] % 24 : 0;
    const QByteArray key = raw.mid(keyStart, keyLength);
    const int64_t start = size > 2 ? int64_t(data[2]) - 8 : 0;
    const int64_t end = int64_t(text.size()) - (size > 3 ? data[3] % 16 : 0);
    const QByteArrayList candidates = {key, key + "=", "Param1=", "[IOInfo]"};
    for (const QByteArray& candidate : candidates) {
        compareLookups(text, candidate, start, end);
        compareLookups(raw, candidate, start, end);
    }
    return 0;
}
