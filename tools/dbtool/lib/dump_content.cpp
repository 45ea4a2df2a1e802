// The content database's part of the dump: the dose-range, conversion and reference records as
// the program reads them, their packed entries walked with the program's own entry stepping
// (and its reference walker), each entry printed as its source text.
#include <string>

#include "dbfile/bytes.h"
#include "dbfile/records.h"
#include "dosecalc/numtext.h"
#include "reports/reference_record.h"
#include "tools/dbtool/lib/content_source.h"
#include "tools/dbtool/lib/dump_internal.h"

namespace {

struct ContentRecords {
    DbRecord* ranges = nullptr;
    DbRecord* conversions = nullptr;
    DbRecord* references = nullptr;
    ~ContentRecords()
    {
        freeRecord(&ranges);
        freeRecord(&conversions);
        freeRecord(&references);
    }
};

std::string entryPlace(const char* what, int k, std::int32_t offset)
{
    return std::string(what) + " entry " + std::to_string(k) + " (offset " + std::to_string(offset) +
           " from the first entry)";
}

// Opens a record's part of the dump; false when the record is absent.
bool recordHeading(DumpOut* out, const DbRecord* r, const char* what, const char* absence)
{
    out->line("");
    if (!r) {
        out->line(std::string("# no ") + what + " record: " + absence);
        return false;
    }
    int count = recordEntryCount(r);
    out->line("# " + std::string(what) + " record: " + recordName(slotOf(*out, r)) + ", entryCount " +
              std::to_string(count) + ", " + std::to_string(r->size - recordHeaderSize) + " bytes of entries");
    if (count < 0)
        out->damage(std::string(what) + " record: entryCount " + std::to_string(count) + " is negative");
    return true;
}

void noteTail(DumpOut* out, const char* what, std::int32_t offset, std::int32_t size)
{
    if (offset < size)
        out->line("# " + std::to_string(size - offset) + " bytes after the last " + what + " entry are not read");
}

// Walks the packed entries of a dose-range or conversion record; print makes one entry's text.
template <typename Print>
void walkPacked(DumpOut* out, const DbRecord* r, const char* what, int headerSize, int count, Print print)
{
    const std::uint8_t* entries = r->bytes + recordHeaderSize;
    std::int32_t size = std::int32_t(r->size) - recordHeaderSize;
    std::int32_t offset = 0;
    for (int k = 0; k < recordEntryCount(r); ++k) {
        if (!packedEntryFits(entries, size, offset, headerSize, count)) {
            out->damage(entryPlace(what, k, offset) + " runs past the end of the record (" + std::to_string(size) +
                        " bytes of entries)");
            return;
        }
        const char* strings[referenceStringCount];
        for (int i = 0; i < count; ++i)
            strings[i] = packedEntryString(entries, offset, headerSize, i);
        out->result.text += print(entries + offset, strings);
        nextPackedEntry(&offset, headerSize, strings[0], count);
    }
    noteTail(out, what, offset, size);
}

std::string printRange(const std::uint8_t* at, const char* const* strings)
{
    DoseRangeSource e;
    e.upper = readU16(at);
    e.lower = readU16(at + 2);
    e.table = readS8(at + 4);
    for (int i = 0; i < doseRangeStringCount; ++i)
        e.strings[i] = strings[i];
    return doseRangeSourceText(e);
}

std::string printConversion(const std::uint8_t* at, const char* const* strings)
{
    ConversionSource e;
    e.key1 = readU32(at);
    e.key2 = readU32(at + 4);
    e.fromRoute = readS8(at + 8);
    e.toRoute = readS8(at + 9);
    e.table = readS8(at + 10);
    for (int i = 0; i < conversionStringCount; ++i)
        e.strings[i] = strings[i];
    return conversionSourceText(e);
}

void dumpReferences(DumpOut* out, const DbRecord* r)
{
    ReferenceWalk walk = beginReferenceWalk(r);
    ReferenceEntry entry;
    for (int k = 0; k < walk.count; ++k) {
        std::int32_t offset = walk.offset;
        if (!nextReference(&walk, &entry)) {
            out->damage(entryPlace("reference", k, offset) + " runs past the end of the record (" +
                        std::to_string(r->size - recordHeaderSize) + " bytes of entries)");
            return;
        }
        ReferenceSource e;
        e.id = entry.id;
        e.type = entry.type;
        for (int i = 0; i < referenceFieldCount; ++i)
            e.fields[i] = entry.fields[i];
        out->result.text += referenceSourceText(e);
    }
    noteTail(out, "reference", walk.offset, std::int32_t(r->size) - recordHeaderSize);
}

} // namespace

void dumpContentRecords(DumpOut* out)
{
    ContentRecords db;
    const char* path = out->path.c_str();
    db.ranges = readRecord(1, 0, 0, 0, 0, path);
    db.conversions = readRecord(2, 0, 0, 0, 0, path);
    db.references = readRecord(3, 0, 0, 0, 0, path);
    const RecordSlot* read[] = {slotOf(*out, db.ranges), slotOf(*out, db.conversions), slotOf(*out, db.references)};
    for (const RecordSlot& s : out->slots)
        if (s.sound && &s != read[0] && &s != read[1] && &s != read[2])
            out->line("# " + recordName(&s) + " is not a record the program reads");
    if (recordHeading(out, db.ranges, "dose-range", "no conversion options can be offered"))
        walkPacked(out, db.ranges, "dose-range", doseRangeHeaderSize, doseRangeStringCount, printRange);
    if (recordHeading(out, db.conversions, "conversion", "no conversion options can be offered"))
        walkPacked(out, db.conversions, "conversion", conversionHeaderSize, conversionStringCount, printConversion);
    if (recordHeading(out, db.references, "reference", "reports offer no References section"))
        dumpReferences(out, db.references);
}
