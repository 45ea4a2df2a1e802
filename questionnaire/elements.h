// The questionnaire's elements, read in place from the hierarchy records of modules 0..9.
// An element is 26 packed little-endian bytes; the hierarchy is not linked: elements are in
// document order with a level, and a subtree is the run of deeper elements after its head.
// The records of modules 0, 1, 2, ... form one sequence that ends at the first module whose
// hierarchy record is missing or empty.
#pragma once
#include <cstdint>

#include "dbfile/bytes.h"
#include "dbfile/records.h"

constexpr int moduleCount = 10;
constexpr int elementSize = 26;

struct HierarchyElement {
    std::uint8_t bytes[elementSize];
};
static_assert(sizeof(HierarchyElement) == elementSize && alignof(HierarchyElement) == 1);

// Fields of an element; inline, for the walks of the sequence read them for every element.
inline std::uint32_t elementKey1(const HierarchyElement* e) { return readU32(e->bytes); }
inline std::uint32_t elementKey2(const HierarchyElement* e) { return readU32(e->bytes + 4); }
inline std::uint16_t elementId(const HierarchyElement* e) { return readU16(e->bytes + 8); }
inline std::uint16_t elementGroupOf(const HierarchyElement* e) { return readU16(e->bytes + 10); }
inline std::uint16_t elementDefaultValue(const HierarchyElement* e) { return readU16(e->bytes + 12); }   // 0 and 0xFFFF mean none
inline std::uint16_t elementSubObject(const HierarchyElement* e) { return readU16(e->bytes + 14); }
inline std::uint16_t elementTextOffset(const HierarchyElement* e) { return readU16(e->bytes + 16); }
inline std::int8_t elementStringRecord(const HierarchyElement* e) { return readS8(e->bytes + 18); }
inline std::int8_t elementType(const HierarchyElement* e) { return readS8(e->bytes + 19); }
inline std::int8_t elementDefaultState(const HierarchyElement* e) { return readS8(e->bytes + 20); }
inline std::int8_t elementClass(const HierarchyElement* e) { return readS8(e->bytes + 21); }
inline std::int8_t elementLevel(const HierarchyElement* e) { return readS8(e->bytes + 22); }
inline std::int8_t elementFlags(const HierarchyElement* e) { return readS8(e->bytes + 23); }
inline std::int8_t elementStyle(const HierarchyElement* e) { return readS8(e->bytes + 24); }

// Element types, classes, styles and states, as the display database stores them.
// ORDER: these enumerations and the name tables in elements.cpp stay parallel.
enum class ElementType : std::int8_t {
    CHECKBOX = 1, CONTAINER, GPD, INPUT, LABEL, OPTION, PAGE, RADIO, SELECT, INCLUDE, DATE,
    SPACER, SECTION, MODULE, LINE, KEYPAD, MON_YEAR, CBOMON, CBOYEAR, BUTTON, POPUP_LINK,
    DRUG_SIR, CELL, BULLET, WRAPUP, MONTH_ENTRY, YEAR_ENTRY
};
enum class ElementClass : std::int8_t {
    CLINCLASS = 1, ETIOLOGY, MITFACTORS, PORT, PATINFO, SYNDROME, RECOMMEND, SUSCEPTIBILITY
};
enum class ElementStyle : std::int8_t { RECOMMEND = 1, TWO_COLUMNS, NAVIGATION };
enum class ElementState : std::int8_t { NONE = 0, DISABLED = 1, HIDDEN = 2 };

constexpr std::int8_t flagHasAttributes = 2;   // an attribute string follows the text
constexpr std::int8_t flagRequired = 4;        // the element must be answered before Next

// The names of the codes ("CHECKBOX", "RECOMMEND", "2COLUMNS", ...); "" outside the table.
const char* elementTypeName(int code);
const char* elementClassName(int code);
const char* elementStyleName(int code);
// The code of a name, or 0 when the name is not in the table (used by the database tool).
int elementTypeCode(const char* name);
int elementClassCode(const char* name);
int elementStyleCode(const char* name);

// Number of whole elements a hierarchy record holds: its entryCount, but never more than its
// bytes hold; 0 for an absent record or a count of 0 or less.
int hierarchyElementCount(const DbRecord* record);
const HierarchyElement* hierarchyElementAt(const DbRecord* record, int index);

// A position in the element sequence across modules.
struct ElementCursor {
    const DbRecord* const* records;   // the ten hierarchy records
    int module;
    int index;
    const HierarchyElement* element;  // nullptr past the end of the sequence
    // Past the last whole element of the module's record, once a step has found it; nullptr
    // until then (a cursor made by hand takes its first step the long way).
    const HierarchyElement* moduleEnd;
};

ElementCursor firstElement(const DbRecord* const* hierarchyRecords);
// The step into the next module, or to the end of the sequence.
void settleElementCursor(ElementCursor* cursor);
// Within a module's record a step is one element on; only at its end is the sequence asked
// where it goes on.
inline void nextElement(ElementCursor* cursor)
{
    if (!cursor->element)
        return;
    ++cursor->index;
    if (cursor->element + 1 < cursor->moduleEnd)
        ++cursor->element;
    else
        settleElementCursor(cursor);
}
// The cursor at the element with that id, element nullptr when none has it.
ElementCursor findElementCursor(const DbRecord* const* hierarchyRecords, std::uint16_t id);
// Moves to the next element of the subtree whose head has level headLevel; false at its end.
inline bool nextInSubtree(ElementCursor* cursor, int headLevel)
{
    nextElement(cursor);
    return cursor->element && elementLevel(cursor->element) > headLevel;
}

// An index of the element sequence by id, built once the hierarchy records are loaded: for
// every id the position of its first element in sequence order, which is what a search of the
// sequence finds. The lookups use it when it was built from the records they are given and
// search the sequence otherwise (no index, other records, or no memory for it).
struct ElementIndexEntry {
    std::uint16_t id;
    std::uint16_t module;
    std::int32_t index;
};
struct ElementIndex {
    const DbRecord* records[moduleCount];   // the records it was built from
    ElementIndexEntry* entries;             // by id, one per id; nullptr: no index
    int count;
    int endModule;                          // where the sequence ends (a search that finds nothing stops there)
};
// Builds the index of the records (releasing a previous one); false when it could not be
// allocated, and the lookups then search.
bool buildElementIndex(ElementIndex* index, const DbRecord* const* hierarchyRecords);
void releaseElementIndex(ElementIndex* index);
// The cursor at the element with that id from the index; false when the index does not cover
// these records.
bool findIndexedElement(const ElementIndex* index, const DbRecord* const* hierarchyRecords, std::uint16_t id,
                        ElementCursor* found);

const HierarchyElement* findElement(const DbRecord* const* hierarchyRecords, std::uint16_t id);
std::uint16_t elementGroup(const DbRecord* const* hierarchyRecords, std::uint16_t id);
// The element's text, pointing into its string record; nullptr when the element has none, when the
// string record is missing or the offset lies outside it, or the text is not terminated within it.
const char* elementText(const DbRecord* const* hierarchyRecords, const DbRecord* const* stringRecords,
                        std::uint16_t id);
// The same for an element already found (its cursor position decides the offset-0 rule).
const char* elementTextAt(const ElementCursor& at, const DbRecord* const* stringRecords);
// The attribute string after the text when the flags say one follows; nullptr otherwise.
const char* elementAttributesAt(const ElementCursor& at, const DbRecord* const* stringRecords);
