// The display database's part of the dump: the hierarchy and string records of modules 0..9
// as the program loads them at start-up, every element through the element accessors, each
// printed as its source line. A text or attribute string the program cannot reach is damage.
#include <string>

#include "dbfile/records.h"
#include "questionnaire/elements.h"
#include "tools/dbtool/lib/display_source.h"
#include "tools/dbtool/lib/dump_internal.h"

namespace {

struct DisplayRecords {
    DbRecord* hierarchy[moduleCount] = {};
    DbRecord* strings[moduleCount] = {};
    ~DisplayRecords()
    {
        for (int m = 0; m < moduleCount; ++m) {
            freeRecord(&hierarchy[m]);
            freeRecord(&strings[m]);
        }
    }
};

ElementSpec specOf(const HierarchyElement* e)
{
    ElementSpec s;
    s.key1 = elementKey1(e);
    s.key2 = elementKey2(e);
    s.id = elementId(e);
    s.group = elementGroupOf(e);
    s.defaultValue = elementDefaultValue(e);
    s.subObject = elementSubObject(e);
    s.type = elementType(e);
    s.defaultState = elementDefaultState(e);
    s.elementClass = elementClass(e);
    s.level = elementLevel(e);
    s.style = elementStyle(e);
    s.required = (elementFlags(e) & flagRequired) != 0;
    s.hasAttributes = (elementFlags(e) & flagHasAttributes) != 0;
    s.hasText = false;
    return s;
}

// Why the program finds no text where the element names one.
std::string missingTextReason(const HierarchyElement* e, const DisplayRecords& db)
{
    int sr = elementStringRecord(e);
    unsigned offset = elementTextOffset(e);
    if (sr < 0 || sr >= moduleCount)
        return "names string record " + std::to_string(sr) + ", which is not a module 0..9";
    const DbRecord* s = db.strings[sr];
    if (!s)
        return "names the string record of module " + std::to_string(sr) + ", which the file does not have";
    if (std::uint32_t(recordHeaderSize) + offset >= s->size)
        return "textOffset " + std::to_string(offset) + " lies beyond the string record of module " +
               std::to_string(sr) + " (" + std::to_string(s->size - recordHeaderSize) + " bytes of texts)";
    return "the text at textOffset " + std::to_string(offset) + " runs past the end of the string record of module " +
           std::to_string(sr) + " without its terminating NUL";
}

// Facts about an element that its source line cannot say, as a trailing comment.
std::string elementNotes(const HierarchyElement* e, int module)
{
    std::string notes;
    if (elementStringRecord(e) != module)
        notes += " text from string record " + std::to_string(elementStringRecord(e)) + ";";
    int otherFlags = std::uint8_t(elementFlags(e)) & ~(flagRequired | flagHasAttributes);
    if (otherFlags)
        notes += " other flag bits " + std::to_string(otherFlags) + ";";
    if (e->bytes[25])
        notes += " byte 25 is " + std::to_string(e->bytes[25]) + ";";
    if (elementLevel(e) < 0)
        notes += " level " + std::to_string(elementLevel(e)) + ";";
    return notes.empty() ? "" : "   #" + notes;
}

void dumpElement(DumpOut* out, const DisplayRecords& db, int module, int index)
{
    const DbRecord* record = db.hierarchy[module];
    const HierarchyElement* e = hierarchyElementAt(record, index);
    ElementCursor at = {db.hierarchy, module, index, e, nullptr};
    ElementSpec s = specOf(e);
    std::string where = "element " + std::to_string(s.id) + " (module " + std::to_string(module) + ", element " +
                        std::to_string(index) + ")";
    const char* text = elementTextAt(at, db.strings);
    bool namesText = elementTextOffset(e) != 0 || index == 0;
    if (text) {
        s.hasText = true;
        s.text = text;
    } else if (namesText) {
        out->damage(where + ": " + missingTextReason(e, db));
    }
    if (s.hasAttributes) {
        const char* attributes = text ? elementAttributesAt(at, db.strings) : nullptr;
        if (attributes)
            s.attributes = attributes;
        else if (text)
            out->damage(where + ": the attribute string after its text runs past the end of the string record");
        else
            s.hasAttributes = false;
    }
    int level = s.level < 0 ? 0 : s.level;
    out->line(std::string(std::size_t(level) * indentPerLevel, ' ') + elementSourceText(s) + elementNotes(e, module));
}

void dumpModule(DumpOut* out, const DisplayRecords& db, int module)
{
    const DbRecord* record = db.hierarchy[module];
    const RecordSlot* slot = slotOf(*out, record);
    int stored = recordEntryCount(record);
    int whole = hierarchyElementCount(record);
    out->line("");
    out->line("[module " + std::to_string(module) + "]");
    out->line("# hierarchy: " + recordName(slot) + ", " + std::to_string(whole) + " elements; strings: " +
              (db.strings[module] ? recordName(slotOf(*out, db.strings[module])) : std::string("none")));
    if (stored > whole)
        out->damage("hierarchy record of module " + std::to_string(module) + " (" + recordName(slot) + ") claims " +
                    std::to_string(stored) + " elements but its " + std::to_string(record->size - recordHeaderSize) +
                    " body bytes hold only " + std::to_string(whole));
    for (int i = 0; i < whole; ++i)
        dumpElement(out, db, module, i);
}

} // namespace

void dumpDisplayRecords(DumpOut* out)
{
    DisplayRecords db;
    for (int m = 0; m < moduleCount; ++m) {
        db.hierarchy[m] = readRecord(1, std::uint16_t(m), 0, 0, 0, out->path.c_str());
        db.strings[m] = readRecord(2, std::uint16_t(m), 0, 0, 0, out->path.c_str());
    }
    for (const RecordSlot& s : out->slots) {
        bool read = false;
        for (int m = 0; m < moduleCount; ++m)
            read = read || slotOf(*out, db.hierarchy[m]) == &s || slotOf(*out, db.strings[m]) == &s;
        if (s.sound && !read)
            out->line("# " + recordName(&s) + " is not a record the program reads");
    }
    int end = moduleCount;   // the element sequence ends at the first missing or empty module
    for (int m = 0; m < moduleCount; ++m) {
        if (hierarchyElementCount(db.hierarchy[m]) > 0 && end == moduleCount) {
            dumpModule(out, db, m);
            continue;
        }
        if (end == moduleCount)
            end = m;
        if (db.hierarchy[m] && hierarchyElementCount(db.hierarchy[m]) > 0) {
            out->damage("module " + std::to_string(m) + " comes after module " + std::to_string(end) +
                        ", which is missing or empty: the program never sees its elements");
            dumpModule(out, db, m);
        } else if (db.hierarchy[m] && recordEntryCount(db.hierarchy[m]) != 0) {
            out->damage("hierarchy record of module " + std::to_string(m) + " claims " +
                        std::to_string(recordEntryCount(db.hierarchy[m])) + " elements but holds no whole element");
        }
    }
    if (end == 0)
        out->damage("there is no hierarchy record of module 0 with elements: the questionnaire is empty");
}
