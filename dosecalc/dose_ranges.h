// The content database's conversion and dose-range entries, read in place, and the lookup that
// picks the oral regimens of the six options for a morphine-equivalent 24-hour dose.
#pragma once
#include <cstdint>

#include "dbfile/packedwalk.h"
#include "dbfile/records.h"
#include "dosecalc/conversion_factors.h"

constexpr int conversionEntryHeader = 11;
constexpr int conversionEntryStrings = 7;    // 0..5 the product names of options 1..6
constexpr int doseRangeEntryHeader = 5;
constexpr int doseRangeEntryStrings = 14;    // 1, 3, .., 11 the regimens of options 1..6
constexpr int optionTextCount = 6;

struct ConversionEntry {
    std::uint32_t key1, key2;
    std::int8_t fromRoute, toRoute, rangeTable;
    const char* strings[conversionEntryStrings];   // point into the record
};

struct DoseRangeEntry {
    std::uint16_t upper;   // inclusive
    std::uint16_t lower;   // exclusive
    std::int8_t rangeTable;
    const char* strings[doseRangeEntryStrings];   // point into the record
};

bool nextConversionEntry(PackedWalk* walk, ConversionEntry* entry);
bool nextDoseRangeEntry(PackedWalk* walk, DoseRangeEntry* entry);

enum class DoseRangeLookup { RecordsMissing, NoMatch, Found };

// Where the entries of the dose-range record lie, in stored order: made once for the record
// loaded at start-up, so that a lookup reads the few header bytes of each entry instead of
// walking every regimen text before the one it wants. It holds exactly the entries the walk
// yields (those before a damaged entry).
struct DoseRangeIndex {
    const DbRecord* record;   // the record indexed
    std::int32_t* offsets;    // of its entries from the first; nullptr: lookups walk the record
    int count;
};

// Indexes the record (releasing a previous index); false when the index could not be allocated,
// and lookups then walk the record.
bool buildDoseRangeIndex(DoseRangeIndex* index, const DbRecord* record);
void releaseDoseRangeIndex(DoseRangeIndex* index);

// Finds the first conversion entry for the drug from IV to PO, then the first range of its table
// with lower < dose <= upper. Found: the 6 product names and the 6 regimens of options 1..6.
// NoMatch: both sets are emptied (nullptr). RecordsMissing: both are left as they were.
// An index of the dose-range record finds the same range; one of another record is not used.
DoseRangeLookup lookupDoseRange(const DbRecord* conversionRecord, const DbRecord* doseRangeRecord,
                                DrugKeys drug, float dose, const char* products[optionTextCount],
                                const char* regimens[optionTextCount], const DoseRangeIndex* index = nullptr);
