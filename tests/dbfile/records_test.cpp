// readRecord on good containers: which record a search finds, and the record's bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dbfile/records.h"
#include "tests/dbfile/fixture.h"

namespace {

Bytes body(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST(ReadRecord, OnlyRecordOfTheRequestedKeysRunsToTheEndOfTheFile)
{
    Bytes record = makeRecord(1, 0, 3, body("hierarchy"));
    TempFile file("only.pdb", makeContainer({record}));
    DbRecord* r = readRecord(1, 0, 0, 0, 0, file.path());
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->size, record.size());
    EXPECT_EQ(0, std::memcmp(r->bytes, record.data(), record.size()));
    EXPECT_EQ(recordEntryCount(r), 3);
    EXPECT_EQ(recordModule(r), 0);
    EXPECT_EQ(recordType(r), 1);
    freeRecord(&r);
    EXPECT_EQ(r, nullptr);
}

struct SearchCase {
    const char* name;
    std::uint8_t type;
    std::uint16_t module;
    int startIndex;
    std::uint32_t id1, id2;
    int expected;   // index of the record found, -1 for none
};

void expectFound(const SearchCase& c, const std::vector<Bytes>& records, const char* path)
{
    DbRecord* r = readRecord(c.type, c.module, c.startIndex, c.id1, c.id2, path);
    if (c.expected < 0) {
        EXPECT_EQ(r, nullptr) << c.name;
    } else {
        ASSERT_NE(r, nullptr) << c.name;
        EXPECT_EQ(Bytes(r->bytes, r->bytes + r->size), records[std::size_t(c.expected)]) << c.name;
    }
    freeRecord(&r);
}

TEST(ReadRecord, FindsTheFirstRecordInListOrderThatMatches)
{
    std::vector<Bytes> records = {
        makeRecord(1, 0, 0, body("a"), 7, 8),   // 0
        makeRecord(2, 0, 0, body("b")),         // 1
        makeRecord(1, 1, 0, body("c")),         // 2
        makeRecord(1, 0, 0, body("d"), 9, 10),  // 3: same keys as 0
        makeRecord(1, 2, 0, body("e")),         // 4
        makeRecord(3, 0x0102, 0, body("f")),    // 5
    };
    TempFile file("search.pdb", makeContainer(records));
    const SearchCase cases[] = {
        {"type and module alone: first in list", 1, 0, 0, 0, 0, 0},
        {"string record of module 0", 2, 0, 0, 0, 0, 1},
        {"module 1", 1, 1, 0, 0, 0, 2},
        {"module 2", 1, 2, 0, 0, 0, 4},
        {"module 3 is absent", 1, 3, 0, 0, 0, -1},
        {"id pair of the later duplicate", 1, 0, 0, 9, 10, 3},
        {"id pair of the first", 1, 0, 0, 7, 8, 0},
        {"id pair half right", 1, 0, 0, 9, 8, -1},
        {"one id given: both are tested", 1, 0, 0, 7, 0, -1},
        {"start index past the first duplicate", 1, 0, 1, 0, 0, 3},
        {"start index past both", 1, 0, 4, 0, 0, -1},
        {"negative start index reads from the first", 1, 0, -5, 0, 0, 0},
        {"module compared as 16 bits", 3, 0x0002, 0, 0, 0, -1},
        {"module with a high byte", 3, 0x0102, 0, 0, 0, 5},
        {"type not present", 9, 0, 0, 0, 0, -1},
    };
    for (const SearchCase& c : cases)
        expectFound(c, records, file.path());
}

// 200 list entries are read a run of 64 at a time: matches on either side of a run's end, from
// a start index in a later run, and past a damaged entry of a later run are found.
TEST(ReadRecord, LongListsFindTheFirstMatchAcrossReadsOfTheList)
{
    std::vector<Bytes> records;
    for (int i = 0; i < 200; ++i)
        records.push_back(makeRecord(1, std::uint16_t(i % 150), 0, body("r" + std::to_string(i))));
    Bytes container = makeContainer(records);
    for (std::size_t at = 78 + 8 * 140; at < 78 + 8 * 140 + 4; ++at)
        container[at] = 0xFF;   // entry 140 points past the end
    TempFile file("long.pdb", container);
    const SearchCase cases[] = {
        {"end of the first run", 1, 63, 0, 0, 0, 63},   {"start of the next", 1, 64, 0, 0, 0, 64},
        {"twice: from past the first", 1, 10, 11, 0, 0, 160}, {"last", 1, 49, 50, 0, 0, 199},
        {"damaged entry", 1, 140, 0, 0, 0, -1},         {"after it", 1, 141, 0, 0, 0, 141},
    };
    for (const SearchCase& c : cases)
        expectFound(c, records, file.path());
}

TEST(ReadRecord, UnalignedIdPairIsReadLittleEndian)
{
    Bytes record = makeRecord(1, 0, 0, body("x"), 0x04030201u, 0x08070605u);
    TempFile file("ids.pdb", makeContainer({record}));
    DbRecord* r = readRecord(1, 0, 0, 0x04030201u, 0x08070605u, file.path());
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(recordId1(r), 0x04030201u);
    EXPECT_EQ(recordId2(r), 0x08070605u);
    freeRecord(&r);
}

TEST(ReadRecord, NothingToFind)
{
    TempFile empty("empty.pdb", makeContainer({}));
    EXPECT_EQ(readRecord(1, 0, 0, 0, 0, empty.path()), nullptr) << "record count 0";
    EXPECT_EQ(readRecord(1, 0, 0, 0, 0, nullptr), nullptr) << "absent path";
    std::string missing = empty.folder() + "/no such file.pdb";
    EXPECT_EQ(readRecord(1, 0, 0, 0, 0, missing.c_str()), nullptr) << "missing file";
    EXPECT_EQ(readRecord(1, 0, 0, 0, 0, empty.folder().c_str()), nullptr) << "a folder";
}

TEST(ReadRecord, BackslashedRelativePathsAreOpened)
{
    TempFile file("sub/db.pdb", makeContainer({makeRecord(1, 0, 0, body("x"))}));
    std::string path = file.path();
    for (char& ch : path)
        if (ch == '/')
            ch = '\\';
    DbRecord* r = readRecord(1, 0, 0, 0, 0, path.c_str());
    EXPECT_NE(r, nullptr);
    freeRecord(&r);
}

TEST(FreeRecord, EmptyOrAbsentHolderIsLeftAlone)
{
    DbRecord* none = nullptr;
    freeRecord(&none);
    EXPECT_EQ(none, nullptr);
    freeRecord(nullptr);
}

} // namespace
