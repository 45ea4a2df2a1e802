// The References check over reference records built in memory: entries walked with the 4-byte
// rounding, the entry count respected, and damaged records never read past their end.
#include <gtest/gtest.h>

#include <random>

#include "harness.h"
#include "rules/references.h"
#include "tools/dbtool/lib/writer.h"

namespace {

PackedEntry citation(std::uint16_t id, const std::string& firstField)
{
    PackedEntry entry;
    putU16(entry.header, id);
    putU8(entry.header, 1);
    entry.strings.assign(17, "");
    entry.strings[0] = firstField;
    return entry;
}

// A record exactly as large as its bytes, so that any read past the end is caught.
bool citesAny(const Bytes& bytes, const Answer* cited)
{
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    DbRecord record{std::uint32_t(copy.size()), copy.data()};
    return recordCitesAny(&record, cited);
}

struct CitedIds {
    AnswerList list = nullptr;
    CitedIds(std::vector<std::uint32_t> ids)
    {
        for (std::uint32_t id : ids)
            findOrAddNode(&list, id, 0, 0, 0);
    }
    ~CitedIds() { releaseList(&list); }
};

TEST(ReferencesCheck, FindsACitedIdBehindEntriesOfEveryPadding)
{
    // Field lengths chosen so that entries end at every remainder modulo 4.
    std::vector<PackedEntry> entries;
    for (int i = 0; i < 8; ++i)
        entries.push_back(citation(std::uint16_t(5000 + i), std::string(std::size_t(24 + i), 'a')));
    Bytes record = makePackedRecord(3, 0, entries);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(testing::Message() << "entry " << i);
        CitedIds cited({1, std::uint32_t(5000 + i)});
        EXPECT_TRUE(citesAny(record, cited.list));
    }
    CitedIds none({4999, 5008});
    EXPECT_FALSE(citesAny(record, none.list));
}

TEST(ReferencesCheck, OnlyIdsWithSecondKeyZeroCount)
{
    Bytes record = makePackedRecord(3, 0, {citation(3363, "x")});
    AnswerList cited = nullptr;
    findOrAddNode(&cited, 3363, 1, 0, 0);
    EXPECT_FALSE(citesAny(record, cited));
    findOrAddNode(&cited, 3363, 0, 0, 0);
    EXPECT_TRUE(citesAny(record, cited));
    releaseList(&cited);
}

TEST(ReferencesCheck, TheEntryCountBoundsTheWalk)
{
    std::vector<PackedEntry> entries = {citation(1, "a"), citation(2, "b"), citation(3, "c")};
    Bytes body;
    Bytes full = makePackedRecord(3, 0, entries);
    body.assign(full.begin() + 16, full.end());
    CitedIds third({3});
    struct Case {
        const char* name;
        std::int16_t count;
        bool found;
    } cases[] = {
        {"all three", 3, true}, {"two: the third is not an entry", 2, false}, {"zero", 0, false},
        {"negative", -1, false}, {"more than stored: the walk stops at the end", 9, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(citesAny(makeRecord(3, 0, c.count, body), third.list), c.found);
    }
    CitedIds missing({4});
    EXPECT_FALSE(citesAny(makeRecord(3, 0, 30000, body), missing.list));
}

TEST(ReferencesCheck, ATruncatedRecordIsNeverReadPastItsEnd)
{
    Bytes record = makePackedRecord(3, 0, {citation(10, "first"), citation(11, "second one"), citation(12, "third")});
    CitedIds last({12});
    for (std::size_t size = 0; size <= record.size(); ++size) {
        SCOPED_TRACE(testing::Message() << "size " << size);
        Bytes cut(record.begin(), record.begin() + std::ptrdiff_t(size));
        bool found = citesAny(cut, last.list);
        // The last entry needs its header and all 17 strings; its padding may be missing.
        if (size == record.size())
            EXPECT_TRUE(found);
        if (size < record.size() - 3)
            EXPECT_FALSE(found);
    }
}

TEST(ReferencesCheck, FlippedBytesNeverCrash)
{
    Bytes record = makePackedRecord(3, 0, {citation(10, "first"), citation(11, "second"), citation(12, "third")});
    CitedIds cited({12, 13});
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        Bytes damaged = record;
        for (int flips = 0; flips < 3; ++flips)
            damaged[random() % damaged.size()] ^= std::uint8_t(1 + random() % 255);
        citesAny(damaged, cited.list);
    }
}

}  // namespace
