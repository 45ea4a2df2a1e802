// Parsing the content database's source and building the database from it. The three entry
// kinds share one reader, driven by a small table of each kind's head fields and string names.
#include "tools/dbtool/lib/content_source.h"

#include <algorithm>

namespace {

struct HeadField {
    const char* name;
    std::int64_t low, high;
};

constexpr int maxHeadFields = 5;

struct EntryKind {
    const char* word;
    HeadField head[maxHeadFields];
    int headCount;
    const char* const* stringNames;
    int stringCount;
};

// Strings 0, 2, ..., 10 are not read by the program; they carry the daily doses for reviewers.
const char* const rangeNames[doseRangeStringCount] = {
    "daily1", "regimen1", "daily2", "regimen2", "daily3", "regimen3", "daily4",
    "regimen4", "daily5", "regimen5", "daily6", "regimen6", "s12", "s13"};
const char* const conversionNames[conversionStringCount] = {
    "product1", "product2", "product3", "product4", "product5", "product6", "s6"};
// The roles the citation formatter gives the fields; 0, 3, 12 and 13 are not cited.
const char* const referenceNames[referenceStringCount] = {
    "f0", "authors", "title", "f3", "publisher", "date", "url", "edition", "source",
    "volume", "issue", "pages", "f12", "f13", "place", "chapter", "editors"};

enum KindIndex { RangeKind, ConversionKind, ReferenceKind };
const EntryKind kinds[] = {
    {"range", {{"table", -128, 127}, {"lower", 0, 0xFFFF}, {"upper", 0, 0xFFFF}}, 3, rangeNames, doseRangeStringCount},
    {"conversion",
     {{"key1", 0, 0xFFFFFFFFll}, {"key2", 0, 0xFFFFFFFFll}, {"from", -128, 127}, {"to", -128, 127}, {"table", -128, 127}},
     5, conversionNames, conversionStringCount},
    {"reference", {{"id", 0, 0xFFFF}, {"type", -128, 127}}, 2, referenceNames, referenceStringCount},
};

// An entry of any kind while it is being read.
struct RawEntry {
    int kind = -1;
    std::int64_t head[maxHeadFields] = {};
    std::vector<std::string> strings;
    std::vector<bool> given;
    int lastString = -1;   // the string a continuation line adds to
    SourcePlace place;
};

int stringIndex(const EntryKind& k, const std::string& name)
{
    for (int i = 0; i < k.stringCount; ++i)
        if (name == k.stringNames[i])
            return i;
    // Any string may also be named by its number: s0, s1, ...
    if (name.size() >= 2 && name[0] == 's') {
        std::int64_t n = 0;
        std::string ignored;
        if (parseNumber(name.substr(1), 0, k.stringCount - 1, &n, &ignored) && name[1] != '-')
            return int(n);
    }
    return -1;
}

std::string kindList() { return "range, conversion or reference"; }

bool parseHead(const SourceLine& line, RawEntry* e, std::string* error)
{
    const Token& first = line.tokens[0];
    for (int k = 0; k < 3; ++k)
        if (first.name.empty() && !first.quoted && first.value == kinds[k].word)
            e->kind = k;
    if (e->kind < 0) {
        *error = "unknown entry kind '" + (first.name.empty() ? first.value : first.name) + "' (" + kindList() + ")";
        return false;
    }
    const EntryKind& k = kinds[e->kind];
    bool have[maxHeadFields] = {};
    for (std::size_t i = 1; i < line.tokens.size(); ++i) {
        const Token& t = line.tokens[i];
        int f = -1;
        for (int j = 0; j < k.headCount; ++j)
            if (t.name == k.head[j].name)
                f = j;
        if (t.name.empty() || f < 0) {
            *error = "unexpected '" + (t.name.empty() ? t.value : t.name) + "' on a " + k.word + " line";
            return false;
        }
        if (have[f]) {
            *error = "'" + t.name + "' given twice";
            return false;
        }
        std::string e2;
        if (t.quoted || !parseNumber(t.value, k.head[f].low, k.head[f].high, &e->head[f], &e2)) {
            *error = "field '" + t.name + "': " + (t.quoted ? "takes a number, not a quoted text" : e2);
            return false;
        }
        have[f] = true;
    }
    for (int j = 0; j < k.headCount; ++j)
        if (!have[j]) {
            *error = std::string("missing '") + k.head[j].name + "' on a " + k.word + " line";
            return false;
        }
    if (e->kind == RangeKind && e->head[1] >= e->head[2]) {
        *error = "empty range: lower " + std::to_string(e->head[1]) + " is not below upper " + std::to_string(e->head[2]) +
                 " (a range holds the doses above lower up to upper)";
        return false;
    }
    e->strings.assign(k.stringCount, "");
    e->given.assign(k.stringCount, false);
    e->place = line.place;
    return true;
}

// An indented line: a string name and its text, or only texts that continue the string before.
bool parseStringLine(const SourceLine& line, RawEntry* e, std::string* error)
{
    const EntryKind& k = kinds[e->kind];
    std::size_t first = 0;
    int index = e->lastString;
    const Token& t0 = line.tokens[0];
    if (!t0.quoted || !t0.name.empty()) {
        if (!t0.name.empty()) {
            *error = "write a string as: name \"text\" (without '=')";
            return false;
        }
        index = stringIndex(k, t0.value);
        if (index < 0) {
            std::string names;
            for (int i = 0; i < k.stringCount; ++i)
                names += std::string(i ? ", " : "") + k.stringNames[i];
            *error = "unknown " + std::string(k.word) + " string '" + t0.value + "' (" + names + ")";
            return false;
        }
        if (e->given[index]) {
            *error = "string '" + std::string(k.stringNames[index]) + "' given twice";
            return false;
        }
        e->given[index] = true;
        first = 1;
        if (line.tokens.size() < 2) {
            *error = "string '" + t0.value + "' has no text";
            return false;
        }
    } else if (index < 0) {
        *error = "a text line continues a string, but no string comes before it";
        return false;
    }
    for (std::size_t i = first; i < line.tokens.size(); ++i) {
        if (!line.tokens[i].quoted || !line.tokens[i].name.empty()) {
            *error = "only quoted texts may follow a string's name";
            return false;
        }
        e->strings[index] += line.tokens[i].value;
    }
    e->lastString = index;
    return true;
}

void storeEntry(const RawEntry& e, ContentSource* out)
{
    if (e.kind == RangeKind) {
        DoseRangeSource r;
        r.table = std::int8_t(e.head[0]);
        r.lower = std::uint16_t(e.head[1]);
        r.upper = std::uint16_t(e.head[2]);
        std::copy(e.strings.begin(), e.strings.end(), r.strings.begin());
        out->ranges.push_back(r);
        out->rangePlaces.push_back(e.place);
    } else if (e.kind == ConversionKind) {
        ConversionSource c;
        c.key1 = std::uint32_t(e.head[0]);
        c.key2 = std::uint32_t(e.head[1]);
        c.fromRoute = std::int8_t(e.head[2]);
        c.toRoute = std::int8_t(e.head[3]);
        c.table = std::int8_t(e.head[4]);
        std::copy(e.strings.begin(), e.strings.end(), c.strings.begin());
        out->conversions.push_back(c);
        out->conversionPlaces.push_back(e.place);
    } else if (e.kind == ReferenceKind) {
        ReferenceSource r;
        r.id = std::uint16_t(e.head[0]);
        r.type = std::int8_t(e.head[1]);
        std::copy(e.strings.begin(), e.strings.end(), r.fields.begin());
        out->references.push_back(r);
        out->referencePlaces.push_back(e.place);
    }
}

std::string entryText(int kind, const std::int64_t* head, const std::string* strings, bool hexKey1)
{
    const EntryKind& k = kinds[kind];
    std::string s = k.word;
    for (int j = 0; j < k.headCount; ++j)
        s += std::string(" ") + k.head[j].name + "=" +
             (hexKey1 && j == 0 ? hex32(std::uint32_t(head[j])) : std::to_string(head[j]));
    s += "\n";
    for (int i = 0; i < k.stringCount; ++i)
        if (!strings[i].empty())
            s += std::string("    ") + k.stringNames[i] + " " + quoteText(strings[i]) + "\n";
    return s;
}

} // namespace

void parseContentText(const std::string& text, const std::string& fileName, ContentSource* out, SourceErrors* errors)
{
    std::vector<SourceLine> lines = tokenizeSource(text, fileName, errors);
    RawEntry current;
    bool skipping = false;   // after a bad head line, its string lines are passed over
    for (const SourceLine& line : lines) {
        std::string error;
        if (line.indent == 0) {
            storeEntry(current, out);
            current = RawEntry();
            skipping = !parseHead(line, &current, &error);
            if (skipping) {
                errors->add(line.place, error);
                current = RawEntry();
            }
            continue;
        }
        if (current.kind < 0) {
            if (!skipping)
                errors->add(line.place, "indented line before any entry (" + kindList() + ")");
            continue;
        }
        if (!parseStringLine(line, &current, &error))
            errors->add(line.place, error);
    }
    storeEntry(current, out);
}

bool buildContentDatabase(const ContentSource& source, Bytes* out, SourceErrors* errors)
{
    std::vector<PackedEntry> ranges, conversions, references;
    for (const DoseRangeSource& r : source.ranges) {
        PackedEntry p;
        putU16(p.header, r.upper);
        putU16(p.header, r.lower);
        putU8(p.header, std::uint8_t(r.table));
        p.strings.assign(r.strings.begin(), r.strings.end());
        ranges.push_back(p);
    }
    for (const ConversionSource& c : source.conversions) {
        PackedEntry p;
        putU32(p.header, c.key1);
        putU32(p.header, c.key2);
        putU8(p.header, std::uint8_t(c.fromRoute));
        putU8(p.header, std::uint8_t(c.toRoute));
        putU8(p.header, std::uint8_t(c.table));
        p.strings.assign(c.strings.begin(), c.strings.end());
        conversions.push_back(p);
    }
    for (const ReferenceSource& r : source.references) {
        PackedEntry p;
        putU16(p.header, r.id);
        putU8(p.header, std::uint8_t(r.type));
        p.strings.assign(r.fields.begin(), r.fields.end());
        references.push_back(p);
    }
    bool ok = true;
    const std::vector<PackedEntry>* all[] = {&ranges, &conversions, &references};
    for (int k = 0; k < 3; ++k)
        if (all[k]->size() > 0x7FFF) {
            errors->add(SourcePlace{"content sources", 0}, std::to_string(all[k]->size()) + " " + kinds[k].word +
                                                                " entries, more than a record's entry count holds");
            ok = false;
        }
    if (ok)
        *out = makeContainer({makePackedRecord(1, 0, ranges), makePackedRecord(2, 0, conversions),
                              makePackedRecord(3, 0, references)},
                             "DEZidiVA-Qx4k");
    return ok;
}

std::string doseRangeSourceText(const DoseRangeSource& e)
{
    std::int64_t head[] = {e.table, e.lower, e.upper};
    return entryText(RangeKind, head, e.strings.data(), false);
}

std::string conversionSourceText(const ConversionSource& e)
{
    std::int64_t head[] = {e.key1, e.key2, e.fromRoute, e.toRoute, e.table};
    return entryText(ConversionKind, head, e.strings.data(), true);
}

std::string referenceSourceText(const ReferenceSource& e)
{
    std::int64_t head[] = {e.id, e.type};
    return entryText(ReferenceKind, head, e.fields.data(), false);
}

const char* doseRangeStringName(int index) { return index >= 0 && index < doseRangeStringCount ? rangeNames[index] : ""; }
const char* conversionStringName(int index)
{
    return index >= 0 && index < conversionStringCount ? conversionNames[index] : "";
}
const char* referenceFieldName(int index) { return index >= 0 && index < referenceStringCount ? referenceNames[index] : ""; }
