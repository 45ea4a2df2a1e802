// Conversion and dose-range entries walked in place. Every entry is checked to lie within its
// record before a field or string of it is read, so a damaged record ends the walk instead of
// being read past its end.
#include "dosecalc/dose_ranges.h"

#include "dbfile/bytes.h"
#include "dbfile/heap.h"
#include "dosecalc/numtext.h"

bool nextConversionEntry(PackedWalk* walk, ConversionEntry* entry)
{
    const std::uint8_t* at = nextPackedWalkEntry(walk, conversionEntryHeader, conversionEntryStrings, entry->strings);
    if (!at)
        return false;
    entry->key1 = readU32(at);
    entry->key2 = readU32(at + 4);
    entry->fromRoute = readS8(at + 8);
    entry->toRoute = readS8(at + 9);
    entry->rangeTable = readS8(at + 10);
    return true;
}

bool nextDoseRangeEntry(PackedWalk* walk, DoseRangeEntry* entry)
{
    const std::uint8_t* at = nextPackedWalkEntry(walk, doseRangeEntryHeader, doseRangeEntryStrings, entry->strings);
    if (!at)
        return false;
    entry->upper = readU16(at);
    entry->lower = readU16(at + 2);
    entry->rangeTable = readS8(at + 4);
    return true;
}

namespace {

bool findConversion(const DbRecord* record, DrugKeys drug, ConversionEntry* found)
{
    PackedWalk walk = beginPackedWalk(record);
    while (nextConversionEntry(&walk, found))
        if (found->key1 == drug.key1 && found->key2 == drug.key2 && found->fromRoute == routeIV &&
            found->toRoute == routePO)
            return true;
    return false;
}

// The bounds are compared in single precision, as the dose is.
bool rangeHolds(std::uint16_t upper, std::uint16_t lower, std::int8_t rangeTable, std::int8_t table, float dose)
{
    return rangeTable == table && float(lower) < dose && dose <= float(upper);
}

bool findRange(const DbRecord* record, std::int8_t table, float dose, DoseRangeEntry* found)
{
    PackedWalk walk = beginPackedWalk(record);
    while (nextDoseRangeEntry(&walk, found))
        if (rangeHolds(found->upper, found->lower, found->rangeTable, table, dose))
            return true;
    return false;
}

// The indexed entries were read whole when the index was made: only the one found is read again.
bool findIndexedRange(const DoseRangeIndex* index, std::int8_t table, float dose, DoseRangeEntry* found)
{
    const std::uint8_t* entries = index->record->bytes + recordHeaderSize;
    for (int i = 0; i < index->count; ++i) {
        const std::uint8_t* at = entries + index->offsets[i];
        if (rangeHolds(readU16(at), readU16(at + 2), readS8(at + 4), table, dose)) {
            PackedWalk one = {index->record, 0, 1, index->offsets[i]};
            return nextDoseRangeEntry(&one, found);
        }
    }
    return false;
}

} // namespace

bool buildDoseRangeIndex(DoseRangeIndex* index, const DbRecord* record)
{
    releaseDoseRangeIndex(index);
    PackedWalk walk = beginPackedWalk(record);
    // The walk cannot give more entries than the count or than the smallest entries that fit.
    std::uint32_t smallest = doseRangeEntryHeader + doseRangeEntryStrings;
    std::uint32_t room = record && record->size > std::uint32_t(recordHeaderSize)
                             ? (record->size - recordHeaderSize) / smallest
                             : 0;
    int capacity = walk.count < std::int64_t(room) ? walk.count : int(room);
    auto* offsets = static_cast<std::int32_t*>(allocBlock(sizeof(std::int32_t) * std::size_t(capacity) + 1));
    if (!offsets)
        return false;
    int n = 0;
    for (DoseRangeEntry entry; n < capacity;) {
        std::int32_t offset = walk.offset;
        if (!nextDoseRangeEntry(&walk, &entry))
            break;
        offsets[n++] = offset;
    }
    *index = {record, offsets, n};
    return true;
}

void releaseDoseRangeIndex(DoseRangeIndex* index)
{
    freeBlock(index->offsets);
    *index = {nullptr, nullptr, 0};
}

DoseRangeLookup lookupDoseRange(const DbRecord* conversionRecord, const DbRecord* doseRangeRecord,
                                DrugKeys drug, float dose, const char* products[optionTextCount],
                                const char* regimens[optionTextCount], const DoseRangeIndex* index)
{
    if (!conversionRecord || !doseRangeRecord)
        return DoseRangeLookup::RecordsMissing;
    ConversionEntry conversion;
    DoseRangeEntry range;
    // Without a conversion entry for the drug there is no table to look in: no match.
    bool indexed = index && index->offsets && index->record == doseRangeRecord;
    bool found = findConversion(conversionRecord, drug, &conversion) &&
                 (indexed ? findIndexedRange(index, conversion.rangeTable, dose, &range)
                          : findRange(doseRangeRecord, conversion.rangeTable, dose, &range));
    for (int i = 0; i < optionTextCount; ++i) {
        products[i] = found ? conversion.strings[i] : nullptr;
        regimens[i] = found ? range.strings[2 * i + 1] : nullptr;
    }
    return found ? DoseRangeLookup::Found : DoseRangeLookup::NoMatch;
}
