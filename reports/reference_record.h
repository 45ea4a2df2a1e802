// The content database's reference record (type 3, module 0): citations keyed by reference id.
// Entries lie back to back from the record's body: a u16 id, a type byte and 17 NUL-terminated
// fields, padded to a multiple of 4. The walk stops at the entry count or at the first entry
// that does not lie wholly within the record.
#pragma once
#include <cstdint>

#include "dbfile/packedwalk.h"
#include "dbfile/records.h"
#include "questionnaire/answers.h"

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

// The entries the walk yields, by id, so that the cited ones are found without walking the
// record on every results page. The record is still read each time it is needed; a read that
// gives the same bytes as the indexed one keeps the index, any other makes a new one.
// An entry's id and offset from the first entry, as (id << 32) | offset: slots in id order are
// in stored order among one id's entries.
typedef std::uint64_t ReferenceSlot;
struct ReferenceIndex {
    DbRecord* record;        // the record as last read; nullptr when there was none
    ReferenceSlot* slots;    // by id, then stored order; nullptr: no index, the walk serves
    std::int32_t* cited;     // room for count offsets: the cited entries of a walk over the index
    std::uint8_t* marks;     // one a slot: the first slot of an id already taken by that walk
    int count;
    bool unlisted;           // record was read and no section has listed from that read yet
};

// Reads the reference record into the index's holder and indexes it unless the index already
// describes the same bytes; the record stays the holder's. nullptr when there is no record.
const DbRecord* readIndexedReferences(ReferenceIndex* index);
// The record as the latest read left it, the first time a section lists from that read; read
// again (as readIndexedReferences) every other time. Every results page reads the record to
// decide whether to offer "References", so the section chosen next lists from the very bytes
// that made it offered.
const DbRecord* sectionReferences(ReferenceIndex* index);
// Indexes the record the holder holds (releasing a previous index); false when the index could
// not be allocated, and the walk then serves.
bool buildReferenceIndex(ReferenceIndex* index);
void releaseReferenceIndex(ReferenceIndex* index);

// The entries whose id the cited list holds (with second key 0), in stored order, each once.
// With an index they are looked up by id; without one (index nullptr or not built) the record
// is walked and each entry looked up in the list.
struct CitedWalk {
    ReferenceWalk walk;
    const Answer* cited;
    const ReferenceIndex* index;   // nullptr: walking
    int next, end;                 // the index's cited offsets still to give
};
CitedWalk beginCitedWalk(const DbRecord* record, ReferenceIndex* index, const Answer* cited);
bool nextCitedReference(CitedWalk* walk, ReferenceEntry* entry);
