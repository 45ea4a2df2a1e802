// Walking the reference record's entries in stored order, never past the record's end, and the
// index of those entries by id.
#include "reports/reference_record.h"

#include <algorithm>
#include <cstring>

#include "dbfile/bytes.h"
#include "dbfile/heap.h"
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

namespace {

// The smallest entry: its header and 17 empty fields.
constexpr std::uint32_t smallestEntry = referenceHeaderSize + referenceFieldCount;

ReferenceSlot slotOf(std::uint16_t id, std::int32_t offset) { return ReferenceSlot(id) << 32 | std::uint32_t(offset); }
std::uint16_t slotId(ReferenceSlot slot) { return std::uint16_t(slot >> 32); }

bool sameBytes(const DbRecord* a, const DbRecord* b)
{
    return a->size == b->size && std::memcmp(a->bytes, b->bytes, a->size) == 0;
}

void releaseSlots(ReferenceIndex* index)
{
    freeBlock(index->slots);
    index->slots = nullptr;
    index->cited = nullptr;
    index->marks = nullptr;
    index->count = 0;
}

} // namespace

bool buildReferenceIndex(ReferenceIndex* index)
{
    releaseSlots(index);
    ReferenceWalk walk = beginReferenceWalk(index->record);
    // The walk cannot give more entries than the count or than the smallest entries that fit.
    std::uint32_t room = index->record && index->record->size > std::uint32_t(recordHeaderSize)
                             ? (index->record->size - recordHeaderSize) / smallestEntry
                             : 0;
    int capacity = int(std::min<std::uint32_t>(std::uint32_t(walk.count), room));
    std::size_t slotBytes = sizeof(ReferenceSlot) * std::size_t(capacity);
    std::size_t citedBytes = sizeof(std::int32_t) * std::size_t(capacity);
    auto* block = static_cast<std::uint8_t*>(allocBlock(slotBytes + citedBytes + std::size_t(capacity) + 1));
    if (!block)
        return false;
    index->slots = reinterpret_cast<ReferenceSlot*>(block);
    index->cited = reinterpret_cast<std::int32_t*>(block + slotBytes);
    index->marks = block + slotBytes + citedBytes;
    int n = 0;
    for (;;) {
        std::int32_t offset = walk.offset;
        ReferenceEntry entry;
        if (n == capacity || !nextReference(&walk, &entry))
            break;
        index->slots[n++] = slotOf(entry.id, offset);
    }
    index->count = n;
    std::sort(index->slots, index->slots + n);
    return true;
}

void releaseReferenceIndex(ReferenceIndex* index)
{
    releaseSlots(index);
    freeRecord(&index->record);
    index->unlisted = false;
}

const DbRecord* readIndexedReferences(ReferenceIndex* index)
{
    DbRecord* record = readReferenceRecord();
    if (record && index->record && sameBytes(record, index->record)) {
        freeRecord(&record);
        if (!index->slots)
            buildReferenceIndex(index);
        index->unlisted = true;
        return index->record;
    }
    releaseReferenceIndex(index);
    index->record = record;
    index->unlisted = record != nullptr;
    if (record)
        buildReferenceIndex(index);
    return record;
}

const DbRecord* sectionReferences(ReferenceIndex* index)
{
    const DbRecord* record = index->unlisted && index->record ? index->record : readIndexedReferences(index);
    index->unlisted = false;
    return record;
}

CitedWalk beginCitedWalk(const DbRecord* record, ReferenceIndex* index, const Answer* cited)
{
    CitedWalk walk = {beginReferenceWalk(record), cited, nullptr, 0, 0};
    if (!index || !index->slots || !record || index->record != record)
        return walk;
    walk.index = index;
    const ReferenceSlot* begin = index->slots;
    const ReferenceSlot* end = begin + index->count;
    std::memset(index->marks, 0, std::size_t(index->count));
    int n = 0;
    for (const Answer* a = cited; a; a = a->next) {
        if (a->key2 != 0 || a->elementId > 0xFFFF)
            continue;
        std::uint16_t id = std::uint16_t(a->elementId);
        const ReferenceSlot* s = std::lower_bound(begin, end, slotOf(id, 0));
        // An id listed twice gives its entries once: the first of them is marked.
        if (s == end || slotId(*s) != id || index->marks[s - begin])
            continue;
        index->marks[s - begin] = 1;
        for (; s != end && slotId(*s) == id; ++s)
            index->cited[n++] = std::int32_t(std::uint32_t(*s));
    }
    std::sort(index->cited, index->cited + n);
    walk.end = n;
    return walk;
}

bool nextCitedReference(CitedWalk* walk, ReferenceEntry* entry)
{
    if (!walk->index) {
        while (nextReference(&walk->walk, entry))
            if (findAnswer(walk->cited, entry->id, 0))
                return true;
        return false;
    }
    while (walk->next < walk->end) {
        // The entry was read whole when the index was made; it is read again from its place.
        PackedWalk one = {walk->walk.record, 0, 1, walk->index->cited[walk->next++]};
        if (nextReference(&one, entry))
            return true;
    }
    return false;
}
