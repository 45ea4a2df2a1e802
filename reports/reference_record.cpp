// Walking the reference record's entries in stored order, never past the record's end.
#include "reports/reference_record.h"

#include "dbfile/bytes.h"
#include "dbfile/paths.h"

DbRecord* readReferenceRecord() { return readRecord(3, 0, 0, 0, 0, contentDatabasePath); }

ReferenceWalk beginReferenceWalk(const DbRecord* record) { return beginPackedWalk(record); }

bool nextReference(ReferenceWalk* walk, ReferenceEntry* entry)
{
    const std::uint8_t* at = nextPackedWalkEntry(walk, referenceHeaderSize, referenceFieldCount, entry->fields);
    if (!at)
        return false;
    entry->id = readU16(at);
    entry->type = readS8(at + 2);
    return true;
}
