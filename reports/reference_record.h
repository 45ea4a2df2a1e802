// The content database's reference record (type 3, module 0): citations keyed by reference id.
// Entries lie back to back from the record's body: a u16 id, a type byte and 17 NUL-terminated
// fields, padded to a multiple of 4. The walk stops at the entry count or at the first entry
// that does not lie wholly within the record.
#pragma once
#include <cstdint>

#include "dbfile/packedwalk.h"
#include "dbfile/records.h"

constexpr int referenceFieldCount = 17;
constexpr int referenceHeaderSize = 3;

struct ReferenceEntry {
    std::uint16_t id;
    std::int8_t type;
    const char* fields[referenceFieldCount];   // point into the record
};

typedef PackedWalk ReferenceWalk;

// Reads the reference record of the content database; nullptr when there is none.
DbRecord* readReferenceRecord();

ReferenceWalk beginReferenceWalk(const DbRecord* record);
// The next entry in stored order; false at the end of the entries or where the record is damaged.
bool nextReference(ReferenceWalk* walk, ReferenceEntry* entry);
