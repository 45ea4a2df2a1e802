// Elements read in place from the hierarchy records, the sequence they form across modules, the
// lookups by id and the texts in the string records. Nothing is copied or allocated. A count
// or offset stored in a record is only used as far as the record's bytes reach.
#include "questionnaire/elements.h"

#include <algorithm>
#include <cstring>

#include "dbfile/bytes.h"
#include "dbfile/heap.h"
#include "shell/state.h"

// ---- code tables -------------------------------------------------------------------------------

namespace {

// ORDER: parallel to ElementType, ElementClass and ElementStyle; index = code.
const char* const typeNames[] = {
    "", "CHECKBOX", "CONTAINER", "GPD", "INPUT", "LABEL", "OPTION", "PAGE", "RADIO", "SELECT", "INCLUDE",
    "DATE", "SPACER", "SECTION", "MODULE", "LINE", "KEYPAD", "MON_YEAR", "CBOMON", "CBOYEAR", "BUTTON",
    "POPUP_LINK", "DRUG_SIR", "CELL", "BULLET", "WRAPUP", "MONTH_ENTRY", "YEAR_ENTRY",
};
const char* const classNames[] = {
    "", "CLINCLASS", "ETIOLOGY", "MITFACTORS", "PORT", "PATINFO", "SYNDROME", "RECOMMEND", "SUSCEPTIBILITY",
};
const char* const styleNames[] = {"", "RECOMMEND", "2COLUMNS", "NAVIGATION"};

template <int N> constexpr int tableSize(const char* const (&)[N]) { return N; }
static_assert(tableSize(typeNames) == int(ElementType::YEAR_ENTRY) + 1);
static_assert(tableSize(classNames) == int(ElementClass::SUSCEPTIBILITY) + 1);
static_assert(tableSize(styleNames) == int(ElementStyle::NAVIGATION) + 1);

template <int N> const char* nameOf(const char* const (&names)[N], int code)
{
    return code > 0 && code < N ? names[code] : "";
}

template <int N> int codeOf(const char* const (&names)[N], const char* name)
{
    if (!name)
        return 0;
    for (int code = 1; code < N; ++code)
        if (std::strcmp(names[code], name) == 0)
            return code;
    return 0;
}

} // namespace

const char* elementTypeName(int code) { return nameOf(typeNames, code); }
const char* elementClassName(int code) { return nameOf(classNames, code); }
const char* elementStyleName(int code) { return nameOf(styleNames, code); }
int elementTypeCode(const char* name) { return codeOf(typeNames, name); }
int elementClassCode(const char* name) { return codeOf(classNames, name); }
int elementStyleCode(const char* name) { return codeOf(styleNames, name); }

// ---- hierarchy records -------------------------------------------------------------------------

int hierarchyElementCount(const DbRecord* record)
{
    if (!record || record->size < std::uint32_t(recordHeaderSize))
        return 0;
    int count = recordEntryCount(record);
    int held = int((record->size - recordHeaderSize) / elementSize);
    if (count <= 0)
        return 0;
    return count < held ? count : held;
}

const HierarchyElement* hierarchyElementAt(const DbRecord* record, int index)
{
    if (index < 0 || index >= hierarchyElementCount(record))
        return nullptr;
    return reinterpret_cast<const HierarchyElement*>(record->bytes + recordHeaderSize + elementSize * index);
}

// ---- the element sequence ----------------------------------------------------------------------

namespace {

// Whether the sequence goes on into this module's record: it ends at a missing record or one
// whose stored entryCount is 0. A record that claims elements it does not hold is passed through.
bool continuesInto(const DbRecord* record)
{
    return record && record->size >= std::uint32_t(recordHeaderSize) && recordEntryCount(record) != 0;
}

} // namespace

// Moves the cursor from (module, index) to the first element that exists at or after it.
void settleElementCursor(ElementCursor* c)
{
    c->element = nullptr;
    c->moduleEnd = nullptr;
    if (!c->records)
        return;
    for (; c->module < moduleCount && continuesInto(c->records[c->module]); ++c->module, c->index = 0) {
        const DbRecord* record = c->records[c->module];
        c->element = hierarchyElementAt(record, c->index);
        if (c->element) {
            c->moduleEnd = hierarchyElementAt(record, 0) + hierarchyElementCount(record);
            return;
        }
    }
}

ElementCursor firstElement(const DbRecord* const* hierarchyRecords)
{
    ElementCursor c = {hierarchyRecords, 0, 0, nullptr, nullptr};
    settleElementCursor(&c);
    return c;
}

ElementCursor findElementCursor(const DbRecord* const* hierarchyRecords, std::uint16_t id)
{
    ElementCursor c;
    if (questionnaireState && findIndexedElement(&questionnaireState->elementIndex, hierarchyRecords, id, &c))
        return c;
    c = firstElement(hierarchyRecords);
    while (c.element && elementId(c.element) != id)
        nextElement(&c);
    return c;
}

// ---- the index by id ---------------------------------------------------------------------------

void releaseElementIndex(ElementIndex* index)
{
    freeBlock(index->entries);
    *index = ElementIndex{};
}

bool buildElementIndex(ElementIndex* index, const DbRecord* const* hierarchyRecords)
{
    releaseElementIndex(index);
    // Walked as the search walks, so damaged records are passed through or end the sequence alike.
    int count = 0;
    ElementCursor c = firstElement(hierarchyRecords);
    for (; c.element; nextElement(&c))
        ++count;
    index->entries = static_cast<ElementIndexEntry*>(allocBlock(sizeof(ElementIndexEntry) * (count ? count : 1)));
    if (!index->entries)
        return false;
    int n = 0;
    for (c = firstElement(hierarchyRecords); c.element; nextElement(&c))
        index->entries[n++] = ElementIndexEntry{elementId(c.element), std::uint16_t(c.module), c.index};
    auto before = [](const ElementIndexEntry& a, const ElementIndexEntry& b) {
        if (a.id != b.id)
            return a.id < b.id;
        return a.module != b.module ? a.module < b.module : a.index < b.index;
    };
    std::sort(index->entries, index->entries + n, before);
    // Of the elements sharing an id, the first in sequence order is the one kept.
    auto sameId = [](const ElementIndexEntry& a, const ElementIndexEntry& b) { return a.id == b.id; };
    index->count = int(std::unique(index->entries, index->entries + n, sameId) - index->entries);
    index->endModule = c.module;
    for (int m = 0; m < moduleCount; ++m)
        index->records[m] = hierarchyRecords ? hierarchyRecords[m] : nullptr;
    return true;
}

bool findIndexedElement(const ElementIndex* index, const DbRecord* const* hierarchyRecords, std::uint16_t id,
                        ElementCursor* found)
{
    if (!index->entries || !hierarchyRecords)
        return false;
    for (int m = 0; m < moduleCount; ++m)
        if (index->records[m] != hierarchyRecords[m])
            return false;
    const ElementIndexEntry* begin = index->entries;
    const ElementIndexEntry* end = begin + index->count;
    const ElementIndexEntry* e = std::lower_bound(begin, end, id,
                                                  [](const ElementIndexEntry& a, std::uint16_t v) { return a.id < v; });
    if (e == end || e->id != id) {
        *found = ElementCursor{hierarchyRecords, index->endModule, 0, nullptr, nullptr};
        return true;
    }
    const DbRecord* record = hierarchyRecords[e->module];
    *found = ElementCursor{hierarchyRecords, e->module, e->index, hierarchyElementAt(record, e->index),
                           hierarchyElementAt(record, 0) + hierarchyElementCount(record)};
    return true;
}

const HierarchyElement* findElement(const DbRecord* const* hierarchyRecords, std::uint16_t id)
{
    return findElementCursor(hierarchyRecords, id).element;
}

std::uint16_t elementGroup(const DbRecord* const* hierarchyRecords, std::uint16_t id)
{
    const HierarchyElement* e = findElement(hierarchyRecords, id);
    return e ? elementGroupOf(e) : 0;
}

// ---- texts -------------------------------------------------------------------------------------

namespace {

// The NUL-terminated string at offset within the record's body, or nullptr when the offset is
// outside the body or the string runs to its end unterminated.
const char* stringInRecord(const DbRecord* record, std::uint32_t offset)
{
    if (!record || record->size < std::uint32_t(recordHeaderSize))
        return nullptr;
    std::uint32_t bodySize = record->size - recordHeaderSize;
    if (offset >= bodySize)
        return nullptr;
    const std::uint8_t* at = record->bytes + recordHeaderSize + offset;
    if (!std::memchr(at, 0, bodySize - offset))
        return nullptr;
    return reinterpret_cast<const char*>(at);
}

const DbRecord* stringRecordOf(const HierarchyElement* e, const DbRecord* const* stringRecords)
{
    int module = elementStringRecord(e);
    if (!stringRecords || module < 0 || module >= moduleCount)
        return nullptr;
    return stringRecords[module];
}

} // namespace

const char* elementTextAt(const ElementCursor& at, const DbRecord* const* stringRecords)
{
    if (!at.element)
        return nullptr;
    std::uint16_t offset = elementTextOffset(at.element);
    // Offset 0 names the record's first text only for the record's first element; the tools
    // keep that text for it, and for every other element 0 means "no text".
    if (offset == 0 && at.index != 0)
        return nullptr;
    return stringInRecord(stringRecordOf(at.element, stringRecords), offset);
}

const char* elementText(const DbRecord* const* hierarchyRecords, const DbRecord* const* stringRecords,
                        std::uint16_t id)
{
    return elementTextAt(findElementCursor(hierarchyRecords, id), stringRecords);
}

const char* elementAttributesAt(const ElementCursor& at, const DbRecord* const* stringRecords)
{
    if (!at.element || !(elementFlags(at.element) & flagHasAttributes))
        return nullptr;
    const char* text = elementTextAt(at, stringRecords);
    if (!text)
        return nullptr;
    const DbRecord* record = stringRecordOf(at.element, stringRecords);
    const char* body = reinterpret_cast<const char*>(record->bytes + recordHeaderSize);
    std::uint32_t after = std::uint32_t(text - body) + std::uint32_t(std::strlen(text)) + 1;
    return stringInRecord(record, after);
}
