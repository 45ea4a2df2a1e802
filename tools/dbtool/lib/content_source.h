// The content database's text source: entries of three kinds, each a head line with its
// numeric fields, then indented lines naming its strings, e.g.
//     range table=1 lower=0 upper=30
//         regimen1 "Oxycodone CR 10 mg PO every 12 hours"
// FORMAT.md lists every field. Entries keep the order they are written in (the program takes
// the first match), files in name order.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/dbtool/lib/source_text.h"
#include "tools/dbtool/lib/writer.h"

constexpr int doseRangeStringCount = 14;
constexpr int conversionStringCount = 7;
constexpr int referenceStringCount = 17;
constexpr int doseRangeHeaderSize = 5;
constexpr int conversionHeaderSize = 11;
constexpr int referenceEntryHeaderSize = 3;

// DoseRangeEntry: lower < dose <= upper in table; strings 1, 3, ..., 11 are the regimens of options 1-6.
struct DoseRangeSource {
    std::uint16_t upper = 0, lower = 0;
    std::int8_t table = 0;
    std::array<std::string, doseRangeStringCount> strings;
    bool operator==(const DoseRangeSource&) const = default;
};

// ConversionEntry: the drug keys, routes from and to, the range table; strings 0-5 are product names.
struct ConversionSource {
    std::uint32_t key1 = 0, key2 = 0;
    std::int8_t fromRoute = 0, toRoute = 0, table = 0;
    std::array<std::string, conversionStringCount> strings;
    bool operator==(const ConversionSource&) const = default;
};

// ReferenceEntry: the reference id, the citation type and the 17 fields.
struct ReferenceSource {
    std::uint16_t id = 0;
    std::int8_t type = 0;
    std::array<std::string, referenceStringCount> fields;
    bool operator==(const ReferenceSource&) const = default;
};

struct ContentSource {
    std::vector<DoseRangeSource> ranges;
    std::vector<ConversionSource> conversions;
    std::vector<ReferenceSource> references;
    std::vector<SourcePlace> rangePlaces, conversionPlaces, referencePlaces;   // parallel to the above
};

void parseContentText(const std::string& text, const std::string& fileName, ContentSource* out, SourceErrors* errors);

// The content database file: dose-range record (type 1), conversion record (type 2) and
// reference record (type 3), all of module 0, in that order.
bool buildContentDatabase(const ContentSource& source, Bytes* out, SourceErrors* errors);

// Entries as source text (head line and indented string lines; empty strings left out).
std::string doseRangeSourceText(const DoseRangeSource& e);
std::string conversionSourceText(const ConversionSource& e);
std::string referenceSourceText(const ReferenceSource& e);

// The names of the strings of each kind, by index (as the source and the dump write them).
const char* doseRangeStringName(int index);
const char* conversionStringName(int index);
const char* referenceFieldName(int index);
