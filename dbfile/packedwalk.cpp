// The walk over a record's packed entries, each checked to fit before any of it is read.
#include "dbfile/packedwalk.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

PackedWalk beginPackedWalk(const DbRecord* record)
{
    PackedWalk walk = {record, 0, 0, 0};
    if (record && record->size >= std::uint32_t(recordHeaderSize)) {
        int count = recordEntryCount(record);
        walk.count = count > 0 ? count : 0;
    }
    return walk;
}

namespace {

// Where count NUL-terminated strings from at end (just past the last NUL), each string's start
// stored; -1 when one runs to size without its NUL. Where the processor compares 16 bytes at
// once, a block often holds the ends of several of the short strings; the rest is searched
// string by string.
std::int64_t skipStrings(const std::uint8_t* bytes, std::int64_t at, std::int64_t size, int count, const char** strings)
{
    if (count == 0)
        return at;
    int found = 0;
    strings[0] = reinterpret_cast<const char*>(bytes + at);
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; at + 16 <= size; at += 16) {
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
        unsigned nuls = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(block, zero)));
        for (; nuls; nuls &= nuls - 1) {
            std::int64_t end = at + __builtin_ctz(nuls) + 1;
            if (++found == count)
                return end;
            strings[found] = reinterpret_cast<const char*>(bytes + end);
        }
    }
#endif
    // The string under way has no NUL before at.
    for (;;) {
        const void* nul = std::memchr(bytes + at, 0, std::size_t(size - at));
        if (!nul)
            return -1;
        at = static_cast<const std::uint8_t*>(nul) - bytes + 1;
        if (++found == count)
            return at;
        strings[found] = reinterpret_cast<const char*>(bytes + at);
    }
}

} // namespace

const std::uint8_t* nextPackedWalkEntry(PackedWalk* walk, int headerSize, int stringCount, const char** strings)
{
    if (!walk->record || walk->index >= walk->count)
        return nullptr;
    const std::uint8_t* entries = walk->record->bytes + recordHeaderSize;
    std::int32_t size = std::int32_t(walk->record->size) - recordHeaderSize;
    // Finding where each string ends both checks that the entry fits and gives the next
    // string's start; on a damaged entry the walk ends (what strings received is not used).
    std::int64_t at = std::int64_t(walk->offset) + headerSize;
    if (size < 0 || walk->offset < 0 || headerSize < 0 || stringCount < 0 || at > size) {
        walk->index = walk->count;
        return nullptr;
    }
    at = skipStrings(entries, at, size, stringCount, strings);
    if (at < 0) {
        walk->index = walk->count;
        return nullptr;
    }
    const std::uint8_t* header = entries + walk->offset;
    // Offsets are counted from the first entry, so the padding rounds the offset itself up to 4.
    walk->offset = std::int32_t((std::uint32_t(at) + 3u) & ~3u);
    ++walk->index;
    return header;
}
