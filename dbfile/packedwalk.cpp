// The walk over a record's packed entries, each checked to fit before any of it is read.
#include "dbfile/packedwalk.h"

#include <cstring>

#include "dosecalc/numtext.h"

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
    if (!packedEntryFits(entries, size, walk->offset, headerSize, stringCount)) {
        walk->index = walk->count;
        return nullptr;
    }
    const std::uint8_t* at = entries + walk->offset;
    // Each string starts after the one before: one pass, not a search from the first for each.
    const char* s = packedEntryString(entries, walk->offset, headerSize, 0);
    for (int i = 0; i < stringCount; ++i) {
        strings[i] = s;
        s += std::strlen(s) + 1;
    }
    nextPackedEntry(&walk->offset, headerSize, strings[0], stringCount);
    ++walk->index;
    return at;
}
