// Conversion and dose-range entries walked in place. Every entry is checked to lie within its
// record before a field or string of it is read, so a damaged record ends the walk instead of
// being read past its end.
#include "dosecalc/dose_ranges.h"

#include "dbfile/bytes.h"
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
bool findRange(const DbRecord* record, std::int8_t table, float dose, DoseRangeEntry* found)
{
    PackedWalk walk = beginPackedWalk(record);
    while (nextDoseRangeEntry(&walk, found))
        if (found->rangeTable == table && float(found->lower) < dose && dose <= float(found->upper))
            return true;
    return false;
}

} // namespace

DoseRangeLookup lookupDoseRange(const DbRecord* conversionRecord, const DbRecord* doseRangeRecord,
                                DrugKeys drug, float dose, const char* products[optionTextCount],
                                const char* regimens[optionTextCount])
{
    if (!conversionRecord || !doseRangeRecord)
        return DoseRangeLookup::RecordsMissing;
    ConversionEntry conversion;
    DoseRangeEntry range;
    // Without a conversion entry for the drug there is no table to look in: no match.
    bool found = findConversion(conversionRecord, drug, &conversion) &&
                 findRange(doseRangeRecord, conversion.rangeTable, dose, &range);
    for (int i = 0; i < optionTextCount; ++i) {
        products[i] = found ? conversion.strings[i] : nullptr;
        regimens[i] = found ? range.strings[2 * i + 1] : nullptr;
    }
    return found ? DoseRangeLookup::Found : DoseRangeLookup::NoMatch;
}
