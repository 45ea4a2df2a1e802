// The walk over a record's packed entries, each checked to fit before any of it is read.
#include "dbfile/packedwalk.h"

#include <cstring>

PackedWalk beginPackedWalk(const DbRecord* record)
{
    PackedWalk walk = {record, 0, 0, 0};
    if (record && record->size >= std::uint32_t(recordHeaderSize)) {
        int count = recordEntryCount(record);
        walk.count = count > 0 ? count : 0;
    }
    return walk;
}

const std::uint8_t* nextPackedWalkEntry(PackedWalk* walk, int headerSize, int stringCount, const char** strings)
{
    if (!walk->record || walk->index >= walk->count)
        return nullptr;
    const std::uint8_t* entries = walk->record->bytes + recordHeaderSize;
    std::int32_t size = std::int32_t(walk->record->size) - recordHeaderSize;
    // One pass finds where each string ends, which both checks that the entry fits and gives the
    // next string's start; on a damaged entry the walk ends (what strings received is not used).
    std::int64_t at = std::int64_t(walk->offset) + headerSize;
    if (size < 0 || walk->offset < 0 || headerSize < 0 || stringCount < 0 || at > size) {
        walk->index = walk->count;
        return nullptr;
    }
    for (int i = 0; i < stringCount; ++i) {
        const void* nul = std::memchr(entries + at, 0, std::size_t(size - at));
        if (!nul) {
            walk->index = walk->count;
            return nullptr;
        }
        strings[i] = reinterpret_cast<const char*>(entries + at);
        at = static_cast<const std::uint8_t*>(nul) - entries + 1;
    }
    const std::uint8_t* header = entries + walk->offset;
    // Offsets are counted from the first entry, so the padding rounds the offset itself up to 4.
    walk->offset = std::int32_t((std::uint32_t(at) + 3u) & ~3u);
    ++walk->index;
    return header;
}
