// Walking the reference record's entries in stored order, never past the record's end.
#include "reports/reference_record.h"

#include "dbfile/bytes.h"
#include "dbfile/paths.h"
#include "dosecalc/numtext.h"

DbRecord* readReferenceRecord() { return readRecord(3, 0, 0, 0, 0, contentDatabasePath); }

ReferenceWalk beginReferenceWalk(const DbRecord* record)
{
    ReferenceWalk walk = {record, 0, 0, 0};
    if (record && record->size >= std::uint32_t(recordHeaderSize)) {
        int count = recordEntryCount(record);
        walk.count = count > 0 ? count : 0;
    }
    return walk;
}

bool nextReference(ReferenceWalk* walk, ReferenceEntry* entry)
{
    if (!walk->record || walk->index >= walk->count)
        return false;
    const std::uint8_t* entries = walk->record->bytes + recordHeaderSize;
    std::int32_t size = std::int32_t(walk->record->size) - recordHeaderSize;
    if (!packedEntryFits(entries, size, walk->offset, referenceHeaderSize, referenceFieldCount)) {
        walk->index = walk->count;   // damaged: nothing after this point is trusted
        return false;
    }
    const std::uint8_t* at = entries + walk->offset;
    entry->id = readU16(at);
    entry->type = readS8(at + 2);
    for (int i = 0; i < referenceFieldCount; ++i)
        entry->fields[i] = packedEntryString(entries, walk->offset, referenceHeaderSize, i);
    nextPackedEntry(&walk->offset, referenceHeaderSize, entry->fields[0], referenceFieldCount);
    ++walk->index;
    return true;
}
