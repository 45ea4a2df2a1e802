// A damaged database file, read as either database: the dump (every record, element and entry
// through the program's reader and accessors), then the walks the program makes over what it
// reads: elements and their texts, subtrees, page flow from each page, dose-range lookups,
// conversions, references and their citations.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "dbfile/heap.h"
#include "dbfile/records.h"
#include "dosecalc/dose_ranges.h"
#include "questionnaire/elements.h"
#include "questionnaire/pageflow.h"
#include "reports/citation.h"
#include "reports/reference_record.h"
#include "tools/dbtool/lib/dump.h"

namespace {

std::string inputPath()
{
    return "/tmp/zura-fuzz-database-" + std::to_string(getpid()) + ".pdb";
}

void walkDisplay(const char* path)
{
    DbRecord* hierarchy[10] = {};
    DbRecord* strings[10] = {};
    for (int m = 0; m < 10; ++m) {
        hierarchy[m] = readRecord(1, std::uint16_t(m), 0, 0, 0, path);
        strings[m] = readRecord(2, std::uint16_t(m), 0, 0, 0, path);
    }
    std::size_t seen = 0;
    for (ElementCursor c = firstElement(hierarchy); c.element; nextElement(&c)) {
        const char* text = elementTextAt(c, strings);
        const char* attributes = elementAttributesAt(c, strings);
        seen += (text ? text[0] : 0) + (attributes ? attributes[0] : 0);
        for (ElementCursor sub = c; nextInSubtree(&sub, elementLevel(c.element));)
            seen += elementId(sub.element) == elementId(c.element);
        if (elementType(c.element) == std::int8_t(ElementType::PAGE)) {
            AnswerList fired = nullptr;
            seen += findNextPage(&fired, nullptr, nullptr, elementId(c.element), hierarchy);
            releaseList(&fired);
            seen += elementGroup(hierarchy, elementId(c.element));
        }
    }
    for (int m = 0; m < 10; ++m) {
        freeRecord(&hierarchy[m]);
        freeRecord(&strings[m]);
    }
    if (seen == 1)
        std::fputc(0, stderr);   // keeps the walk from being optimised away
}

void walkContent(const char* path)
{
    DbRecord* ranges = readRecord(1, 0, 0, 0, 0, path);
    DbRecord* conversions = readRecord(2, 0, 0, 0, 0, path);
    DbRecord* references = readRecord(3, 0, 0, 0, 0, path);
    DoseRangeIndex index = {nullptr, nullptr, 0};
    buildDoseRangeIndex(&index, ranges);
    PackedWalk walk = beginPackedWalk(conversions);
    for (ConversionEntry entry; nextConversionEntry(&walk, &entry);)
        for (float dose : {-1.0f, 0.0f, 30.0f, 400.0f, 1e9f}) {
            const char* products[optionTextCount] = {};
            const char* regimens[optionTextCount] = {};
            DrugKeys drug = {entry.key1, entry.key2};
            DoseRangeLookup walked = lookupDoseRange(conversions, ranges, drug, dose, products, regimens);
            const char* indexedRegimens[optionTextCount] = {};
            // The index must find the very range the walk finds.
            if (lookupDoseRange(conversions, ranges, drug, dose, products, indexedRegimens, &index) != walked)
                __builtin_trap();
            for (int i = 0; i < optionTextCount; ++i)
                if (indexedRegimens[i] != regimens[i])
                    __builtin_trap();
        }
    releaseDoseRangeIndex(&index);
    ReferenceWalk refs = beginReferenceWalk(references);
    for (ReferenceEntry entry; nextReference(&refs, &entry);)
        freeBlock(formatCitation(&entry));
    freeRecord(&ranges);
    freeRecord(&conversions);
    freeRecord(&references);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = inputPath();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    dumpDatabase(path, DatabaseKind::Display);
    dumpDatabase(path, DatabaseKind::Content);
    walkDisplay(path.c_str());
    walkContent(path.c_str());
    std::remove(path.c_str());
    return 0;
}
