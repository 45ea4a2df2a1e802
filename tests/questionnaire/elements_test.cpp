// Elements read in place: fields, the sequence across modules, lookups by id, texts and
// attribute strings, subtrees, the code tables, and records whose counts or offsets are damaged.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dbfile/heap.h"
#include "questionnaire/elements.h"
#include "tools/dbtool/lib/writer.h"

namespace {

// The ten hierarchy and ten string records of a display database, held in memory.
struct Database {
    std::vector<std::unique_ptr<Bytes>> storage;
    std::vector<std::unique_ptr<DbRecord>> records;
    const DbRecord* hierarchy[moduleCount] = {};
    const DbRecord* strings[moduleCount] = {};

    const DbRecord* hold(const Bytes& bytes)
    {
        storage.push_back(std::make_unique<Bytes>(bytes));
        records.push_back(std::make_unique<DbRecord>(DbRecord{std::uint32_t(bytes.size()), storage.back()->data()}));
        return records.back().get();
    }
    void module(std::uint16_t m, const std::vector<ElementSpec>& elements)
    {
        ModuleRecords r = makeModuleRecords(m, elements);
        hierarchy[m] = hold(r.hierarchy);
        strings[m] = hold(r.strings);
    }
};

ElementSpec element(std::uint16_t id, std::int8_t type, std::int8_t level, const std::string& text = "")
{
    ElementSpec e;
    e.id = id;
    e.type = type;
    e.level = level;
    e.text = text;
    e.hasText = !text.empty();
    return e;
}

std::vector<ElementSpec> numbered(std::uint16_t firstId, int count)
{
    std::vector<ElementSpec> out;
    for (int i = 0; i < count; ++i)
        out.push_back(element(std::uint16_t(firstId + i), 5, 1, "text " + std::to_string(firstId + i)));
    return out;
}

TEST(ElementFields, ReadLittleEndianFromPackedBytes)
{
    ElementSpec e = element(0xBEEF, 9, 3, "Route");
    e.key1 = 0x11223344;
    e.key2 = 0x55667788;
    e.group = 16157;
    e.defaultValue = 0xFFFF;
    e.subObject = 10223;
    e.defaultState = 2;
    e.elementClass = 7;
    e.style = 3;
    e.required = true;
    Database db;
    db.module(0, {element(1, 14, 0), e});
    const HierarchyElement* h = hierarchyElementAt(db.hierarchy[0], 1);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(elementKey1(h), 0x11223344u);
    EXPECT_EQ(elementKey2(h), 0x55667788u);
    EXPECT_EQ(elementId(h), 0xBEEF);
    EXPECT_EQ(elementGroupOf(h), 16157);
    EXPECT_EQ(elementDefaultValue(h), 0xFFFF);
    EXPECT_EQ(elementSubObject(h), 10223);
    EXPECT_EQ(elementStringRecord(h), 0);
    EXPECT_EQ(elementType(h), 9);
    EXPECT_EQ(elementDefaultState(h), 2);
    EXPECT_EQ(elementClass(h), 7);
    EXPECT_EQ(elementLevel(h), 3);
    EXPECT_EQ(elementFlags(h) & flagRequired, flagRequired);
    EXPECT_EQ(elementFlags(h) & flagHasAttributes, 0);
    EXPECT_EQ(elementStyle(h), 3);
    EXPECT_NE(elementTextOffset(h), 0);
}

TEST(ElementSearch, RunsOverTheModulesInOrder)
{
    Database db;
    db.module(0, numbered(100, 40));
    db.module(1, numbered(200, 5));
    db.module(3, numbered(400, 2));   // after a missing module 2: never searched
    ElementCursor c = findElementCursor(db.hierarchy, 202);
    ASSERT_NE(c.element, nullptr);
    EXPECT_EQ(c.module, 1);
    EXPECT_EQ(c.index, 2) << "the third element of module 1";
    EXPECT_EQ(findElement(db.hierarchy, 139), hierarchyElementAt(db.hierarchy[0], 39));
    EXPECT_EQ(findElement(db.hierarchy, 400), nullptr) << "module 3 lies beyond the missing module 2";
    EXPECT_EQ(findElement(db.hierarchy, 999), nullptr);
    int seen = 0;
    for (ElementCursor e = firstElement(db.hierarchy); e.element; nextElement(&e))
        ++seen;
    EXPECT_EQ(seen, 45);
    EXPECT_EQ(firstElement(nullptr).element, nullptr);
}

TEST(ElementSearch, EndsAtAModuleWithNoElements)
{
    Database db;
    db.module(0, numbered(100, 3));
    db.module(1, {});
    db.module(2, numbered(300, 3));
    EXPECT_NE(findElement(db.hierarchy, 102), nullptr);
    EXPECT_EQ(findElement(db.hierarchy, 300), nullptr);
}

TEST(ElementSearch, FirstOfTwoEqualIdsWins)
{
    Database db;
    std::vector<ElementSpec> m0 = numbered(100, 2), m1 = numbered(100, 2);
    m0[1].group = 1;
    m1[1].group = 2;
    db.module(0, m0);
    db.module(1, m1);
    EXPECT_EQ(elementGroup(db.hierarchy, 101), 1);
    EXPECT_EQ(elementGroup(db.hierarchy, 555), 0) << "no element has the id";
}

TEST(ElementText, OffsetZeroNamesTheFirstTextOnlyForTheFirstElement)
{
    Database db;
    std::vector<ElementSpec> elements = numbered(100, 6);
    elements[4].hasText = false;   // textOffset 0 on the fifth element
    db.module(0, elements);
    // The first element's text sits at offset 1 as written; point it at offset 0 to test the rule.
    std::vector<ElementSpec> first = {element(1, 14, 0)};
    first[0].rawTextOffset = 0;
    Bytes strings = makeRecord(2, 1, 0, Bytes{'H', 'o', 'm', 'e', 0});
    db.hierarchy[1] = db.hold(makeModuleRecords(1, first).hierarchy);
    db.strings[1] = db.hold(strings);

    EXPECT_STREQ(elementText(db.hierarchy, db.strings, 100), "text 100");
    EXPECT_STREQ(elementText(db.hierarchy, db.strings, 105), "text 105");
    EXPECT_EQ(elementText(db.hierarchy, db.strings, 104), nullptr) << "offset 0 on the fifth element";
    EXPECT_STREQ(elementText(db.hierarchy, db.strings, 1), "Home") << "offset 0 on the record's first element";
    EXPECT_EQ(elementText(db.hierarchy, db.strings, 999), nullptr);
}

TEST(ElementText, TextsFromAnotherModulesStringRecord)
{
    Database db;
    db.module(0, numbered(100, 1));
    std::vector<ElementSpec> m1 = {element(200, 5, 0, "shared")};
    db.module(1, m1);
    std::vector<ElementSpec> borrowing = {element(201, 5, 0)};
    borrowing[0].stringRecord = 1;
    borrowing[0].rawTextOffset = 1;   // "shared" is module 1's text at offset 1
    db.hierarchy[2] = db.hold(makeModuleRecords(2, borrowing).hierarchy);
    EXPECT_STREQ(elementText(db.hierarchy, db.strings, 201), "shared");
}

TEST(ElementText, DamagedOffsetsAndRecordsGiveNoText)
{
    const struct {
        const char* name;
        int stringRecord;
        int rawOffset;
    } cases[] = {
        {"offset at the end of the string record", 0, 5},
        {"offset far beyond the string record", 0, 60000},
        {"module without a string record", 4, 1},
        {"module number out of range", 12, 1},
        {"negative module number", -3 & 0xFF, 1},
    };
    for (const auto& c : cases) {
        Database db;
        std::vector<ElementSpec> elements = {element(1, 14, 0, "abc"), element(2, 5, 1)};   // body: NUL "abc" NUL
        elements[1].stringRecord = c.stringRecord;
        elements[1].rawTextOffset = c.rawOffset;
        db.module(0, elements);
        EXPECT_EQ(elementText(db.hierarchy, db.strings, 2), nullptr) << c.name;
    }
    Database unterminated;
    unterminated.hierarchy[0] = unterminated.hold(makeModuleRecords(0, {element(1, 14, 0, "x"), element(2, 5, 1, "y")}).hierarchy);
    unterminated.strings[0] = unterminated.hold(makeRecord(2, 0, 0, Bytes{0, 'x', 0, 'y'}));
    EXPECT_STREQ(elementText(unterminated.hierarchy, unterminated.strings, 1), "x");
    EXPECT_EQ(elementText(unterminated.hierarchy, unterminated.strings, 2), nullptr) << "text runs off the record";
    EXPECT_EQ(elementText(unterminated.hierarchy, nullptr, 1), nullptr) << "no string records at all";
}

TEST(ElementAttributes, FollowTheTextWhenTheFlagSaysSo)
{
    Database db;
    ElementSpec withAttributes = element(2, 5, 1, "Pain score");
    withAttributes.hasAttributes = true;
    withAttributes.attributes = "SIZE=10";
    db.module(0, {element(1, 14, 0, "M"), withAttributes, element(3, 5, 1, "plain")});
    ElementCursor c = findElementCursor(db.hierarchy, 2);
    EXPECT_STREQ(elementTextAt(c, db.strings), "Pain score");
    EXPECT_STREQ(elementAttributesAt(c, db.strings), "SIZE=10");
    EXPECT_EQ(elementAttributesAt(findElementCursor(db.hierarchy, 3), db.strings), nullptr);

    // The flag set on the last text of the record: the attribute string would lie past the end.
    Database cut;
    ElementSpec last = element(2, 5, 1, "end");
    last.hasAttributes = true;
    last.attributes = "NOBR";
    ModuleRecords r = makeModuleRecords(0, {element(1, 14, 0, "M"), last});
    r.strings.resize(r.strings.size() - 5);   // drop "NOBR\0"
    cut.hierarchy[0] = cut.hold(r.hierarchy);
    cut.strings[0] = cut.hold(r.strings);
    c = findElementCursor(cut.hierarchy, 2);
    EXPECT_STREQ(elementTextAt(c, cut.strings), "end");
    EXPECT_EQ(elementAttributesAt(c, cut.strings), nullptr);
}

TEST(Subtree, RunsAcrossModulesUntilALevelNoDeeperThanTheHead)
{
    Database db;
    db.module(0, {element(1, 14, 0), element(2, 7, 1), element(3, 5, 2), element(10, 7, 1)});
    db.module(1, {element(11, 5, 2), element(12, 4, 3), element(13, 7, 1), element(14, 5, 2)});
    const struct {
        std::uint16_t head;
        std::vector<std::uint16_t> members;
    } cases[] = {
        {2, {3}},
        {10, {11, 12}},   // head last in module 0, subtree continues in module 1
        {13, {14}},       // ends at the end of the sequence
        {12, {}},
        {1, {2, 3, 10, 11, 12, 13, 14}},
    };
    for (const auto& c : cases) {
        ElementCursor at = findElementCursor(db.hierarchy, c.head);
        ASSERT_NE(at.element, nullptr);
        int level = elementLevel(at.element);
        std::vector<std::uint16_t> members;
        while (nextInSubtree(&at, level))
            members.push_back(elementId(at.element));
        EXPECT_EQ(members, c.members) << "subtree of " << c.head;
    }
}

TEST(HierarchyRecord, CountNeverBeyondTheBytes)
{
    Bytes good = makeModuleRecords(0, numbered(100, 3)).hierarchy;
    const struct {
        const char* name;
        std::int16_t count;
        std::size_t cut;   // bytes dropped from the end
        int expected;
    } cases[] = {
        {"as stored", 3, 0, 3},
        {"count claims more than stored", 50, 0, 3},
        {"last element cut short", 3, 1, 2},
        {"count smaller than stored", 2, 0, 2},
        {"negative count", -1, 0, 0},
        {"only the header", 3, 3 * 26, 0},
    };
    for (const auto& c : cases) {
        Bytes bytes(good.begin(), good.end() - std::ptrdiff_t(c.cut));
        bytes[8] = std::uint8_t(c.count);
        bytes[9] = std::uint8_t(std::uint16_t(c.count) >> 8);
        DbRecord record = {std::uint32_t(bytes.size()), bytes.data()};
        EXPECT_EQ(hierarchyElementCount(&record), c.expected) << c.name;
        EXPECT_EQ(hierarchyElementAt(&record, c.expected), nullptr) << c.name;
    }
    EXPECT_EQ(hierarchyElementCount(nullptr), 0);
    Database db;
    Bytes cut(good.begin(), good.end() - 13);   // count says 3, bytes hold 2
    db.hierarchy[0] = db.hold(cut);
    db.module(1, numbered(200, 1));
    EXPECT_EQ(findElement(db.hierarchy, 102), nullptr) << "the cut element is not used";
    EXPECT_NE(findElement(db.hierarchy, 200), nullptr) << "the sequence goes on past the damaged record";
}

TEST(CodeTables, NamesAndCodesAgree)
{
    const struct {
        const char* (*name)(int);
        int (*code)(const char*);
        int last;
        const char* sample;
        int sampleCode;
    } tables[] = {
        {elementTypeName, elementTypeCode, 27, "POPUP_LINK", 21},
        {elementClassName, elementClassCode, 8, "RECOMMEND", 7},
        {elementStyleName, elementStyleCode, 3, "2COLUMNS", 2},
    };
    for (const auto& t : tables) {
        EXPECT_STREQ(t.name(t.sampleCode), t.sample);
        EXPECT_EQ(t.code(t.sample), t.sampleCode);
        for (int code = 1; code <= t.last; ++code) {
            EXPECT_STRNE(t.name(code), "") << t.sample << " table, code " << code;
            EXPECT_EQ(t.code(t.name(code)), code) << t.name(code);
        }
        for (int outside : {0, -1, t.last + 1, 127})
            EXPECT_STREQ(t.name(outside), "") << t.sample << " table, code " << outside;
        EXPECT_EQ(t.code("nonsense"), 0);
        EXPECT_EQ(t.code(nullptr), 0);
    }
    EXPECT_STREQ(elementTypeName(1), "CHECKBOX");
    EXPECT_STREQ(elementTypeName(27), "YEAR_ENTRY");
    EXPECT_STREQ(elementClassName(8), "SUSCEPTIBILITY");
    EXPECT_STREQ(elementStyleName(3), "NAVIGATION");
    EXPECT_EQ(elementTypeCode("checkbox"), 0) << "names are matched exactly";
}

} // namespace

// The index must find exactly what the search finds, for every id a database holds and for ids
// it does not, on the real database and on damaged ones; without memory for it, nothing.
TEST(ElementIndex, FindsWhatTheSearchFinds)
{
    Bytes good = makeModuleRecords(1, numbered(200, 4)).hierarchy;
    auto withCount = [&good](std::int16_t count, std::size_t cut) {
        Bytes bytes(good.begin(), good.end() - std::ptrdiff_t(cut));
        bytes[8] = std::uint8_t(count);
        bytes[9] = std::uint8_t(std::uint16_t(count) >> 8);
        return bytes;
    };
    std::vector<ElementSpec> repeated = numbered(100, 3);
    repeated.push_back(element(101, 5, 1));
    const struct {
        const char* name;
        std::vector<Bytes> middle;   // module 1's hierarchy record as stored (none: missing)
    } cases[] = {
        {"module 1 as written", {good}},
        {"module 1 missing", {}},
        {"count claims more than stored", {withCount(50, 0)}},
        {"last element cut short", {withCount(4, 1)}},
        {"negative count", {withCount(-1, 0)}},
        {"count of zero", {withCount(0, 0)}},
        {"only the header", {withCount(4, 4 * 26)}},
        {"shorter than a header", {Bytes(good.begin(), good.begin() + 10)}},
    };
    auto compare = [](const DbRecord* const* records, const char* name) {
        ElementIndex index{};
        ASSERT_TRUE(buildElementIndex(&index, records)) << name;
        std::vector<std::uint16_t> ids = {0, 1, 0xFFFF};
        for (ElementCursor c = firstElement(records); c.element; nextElement(&c))
            for (int d = -1; d <= 1; ++d)
                ids.push_back(std::uint16_t(elementId(c.element) + d));
        for (std::uint16_t id : ids) {
            ElementCursor searched = findElementCursor(records, id), indexed{};
            ASSERT_TRUE(findIndexedElement(&index, records, id, &indexed)) << name;
            EXPECT_EQ(indexed.element, searched.element) << name << " id " << id;
            EXPECT_EQ(indexed.module, searched.module) << name << " id " << id;
            EXPECT_EQ(indexed.index, searched.index) << name << " id " << id;
        }
        releaseElementIndex(&index);
    };
    for (const auto& c : cases) {
        Database db;
        db.module(0, repeated);
        if (!c.middle.empty())
            db.hierarchy[1] = db.hold(c.middle[0]);
        db.module(2, numbered(100, 5));   // ids met before: the first in sequence order is found
        db.module(3, numbered(300, 2));
        compare(db.hierarchy, c.name);
    }
    std::string path = std::string(ZURA_DATA_ROOT) + "/Program Files/Quellix/DisplayDB-Qx4k.pdb";
    DbRecord* real[moduleCount] = {};
    for (int m = 0; m < moduleCount; ++m)
        real[m] = readRecord(1, std::uint16_t(m), 0, 0, 0, path.c_str());
    ASSERT_NE(real[0], nullptr);
    compare(real, "the display database");

    ElementIndex index{};
    setAllocationFailure(1);
    EXPECT_FALSE(buildElementIndex(&index, real));
    setAllocationFailure(0);
    ElementCursor unused{};
    EXPECT_FALSE(findIndexedElement(&index, real, 9523, &unused)) << "no index: the lookups search";
    Database other;
    other.module(0, numbered(100, 2));
    ASSERT_TRUE(buildElementIndex(&index, real));
    EXPECT_FALSE(findIndexedElement(&index, other.hierarchy, 100, &unused)) << "built from other records";
    releaseElementIndex(&index);
    for (DbRecord*& r : real)
        freeRecord(&r);
}
