// Walking the packed entries of a content database record in stored order: a fixed header, a
// number of NUL-terminated strings, padding to a multiple of 4. The walk ends at the entry count
// or at the first entry that does not lie wholly within the record: nothing after a damaged
// entry is read.
#pragma once
#include <cstdint>

#include "dbfile/records.h"

struct PackedWalk {
    const DbRecord* record;
    int index;
    int count;
    std::int32_t offset;   // of the next entry, from the first entry
};

PackedWalk beginPackedWalk(const DbRecord* record);
// The header bytes of the next entry, with its strings stored in strings; nullptr at the end of
// the entries or where the record is damaged.
const std::uint8_t* nextPackedWalkEntry(PackedWalk* walk, int headerSize, int stringCount, const char** strings);
