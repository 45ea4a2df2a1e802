// The index of the reference record against the walk it replaces: on the content database's
// record and on damaged ones, the cited entries found by id are the walk's, in its order; a
// re-read of the same bytes keeps the index, other bytes or no record replace it.
#include <gtest/gtest.h>

#include <random>

#include "dbfile/heap.h"
#include "reports/reference_record.h"
#include "report_fixture.h"

namespace {

PackedEntry entry(std::uint16_t id, const std::string& title)
{
    std::vector<std::string> f(17);
    f[2] = title;
    f[16] = title + " eds";
    return referenceEntry(id, 13, f);
}

// Each entry a walk gives: its id, type and fields, one text.
std::vector<std::string> citedEntries(CitedWalk walk)
{
    std::vector<std::string> found;
    for (ReferenceEntry e; nextCitedReference(&walk, &e);) {
        std::string text = std::to_string(e.id) + "/" + std::to_string(e.type);
        for (const char* field : e.fields)
            text += std::string("|") + field;
        found.push_back(text);
    }
    return found;
}

// What citedEntries gives for entry(id, title).
std::string entryText(std::uint16_t id, const std::string& title)
{
    return std::to_string(id) + "/13|||" + title + std::string(14, '|') + title + " eds";
}

struct Cited {
    AnswerList list = nullptr;
    explicit Cited(const std::vector<std::uint32_t>& ids, bool withStrays = false)
    {
        for (std::uint32_t id : ids)
            findOrAddNode(&list, id, 0, 0, 0);
        if (withStrays) {   // an id again under other keys, and one too wide for a reference id
            for (std::uint32_t id : ids) {
                findOrAddNode(&list, id, 0, 1, 0);
                findOrAddNode(&list, id, 1, 0, 0);
            }
            findOrAddNode(&list, 0x10000u + (ids.empty() ? 0 : ids[0]), 0, 0, 0);
        }
    }
    ~Cited() { releaseList(&list); }
};

Bytes realReferenceRecord()
{
    DbRecord* r = readRecord(3, 0, 0, 0, 0, (std::string(ZURA_DATA_ROOT) + "/" + dataRootContentFile).c_str());
    Bytes bytes = r ? Bytes(r->bytes, r->bytes + r->size) : Bytes();
    freeRecord(&r);
    return bytes;
}

void setCount(Bytes& record, std::int16_t count)
{
    record[8] = std::uint8_t(count & 0xFF);
    record[9] = std::uint8_t((count >> 8) & 0xFF);
}

TEST(ReferenceIndex, FindsWhatTheWalkFindsOnRealAndDamagedRecords)
{
    const Bytes three = makePackedRecord(3, 0, {entry(5, "A"), entry(9, "Bb"), entry(7, "Ccc")});
    const Bytes unsorted =
        makePackedRecord(3, 0, {entry(7, "A"), entry(3, "B"), entry(7, "C"), entry(5, "D"), entry(3, "E")});
    struct Case {
        std::string name;
        Bytes record;
    };
    std::vector<Case> cases = {{"the content database's", realReferenceRecord()},
                               {"three entries", three},
                               {"ids out of order and twice", unsorted}};
    ASSERT_GT(cases[0].record.size(), 1000u);
    for (std::int16_t count : {0, -1, 2, 9, 32767}) {
        Bytes r = unsorted;
        setCount(r, count);
        cases.push_back({"count " + std::to_string(count), r});
    }
    for (std::size_t size = 0; size < three.size(); ++size)
        cases.push_back({"cut to " + std::to_string(size) + " bytes", Bytes(three.begin(), three.begin() + std::ptrdiff_t(size))});
    std::mt19937 random(17);
    for (int round = 0; round < 60; ++round) {
        Bytes r = round % 2 ? unsorted : cases[0].record;
        for (int flips = 0; flips < 4; ++flips)
            r[16 + random() % (r.size() - 16)] ^= std::uint8_t(1 + random() % 255);
        cases.push_back({"flipped bytes, round " + std::to_string(round), r});
    }

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DbRecord* record = c.record.empty() ? nullptr : recordFrom(c.record);
        // Every id the walk meets, and ids around them that no entry has.
        std::vector<std::uint32_t> everyId, everyThird;
        ReferenceWalk all = beginReferenceWalk(record);
        for (ReferenceEntry e; nextReference(&all, &e);) {
            everyId.insert(everyId.end(), {e.id + 1u, e.id});
            if (all.index % 3 == 0)
                everyThird.insert(everyThird.begin(), e.id);
        }
        const std::vector<std::vector<std::uint32_t>> citedLists = {
            {}, {7}, {3, 7, 5, 9, 1}, {3363, 2653, 3384, 3361, 9999}, everyId, everyThird};
        ReferenceIndex index = {record, nullptr, nullptr, nullptr, 0};
        ASSERT_TRUE(buildReferenceIndex(&index));
        for (const auto& ids : citedLists) {
            for (bool strays : {false, true}) {
                SCOPED_TRACE(testing::Message() << ids.size() << " ids cited" << (strays ? " with strays" : ""));
                Cited cited(ids, strays);
                CitedWalk byIndex = beginCitedWalk(record, &index, cited.list);
                EXPECT_EQ(byIndex.index != nullptr, record != nullptr);
                EXPECT_EQ(citedEntries(byIndex), citedEntries(beginCitedWalk(record, nullptr, cited.list)));
            }
        }
        releaseReferenceIndex(&index);
    }
}

class ReferenceReads : public ReportTest {};

TEST_F(ReferenceReads, TheSameBytesKeepTheIndexOtherBytesOrNoneReplaceIt)
{
    ReferenceIndex* index = &app->referenceIndex;
    writeReferences({entry(1, "First"), entry(2, "Second")});
    const DbRecord* first = readIndexedReferences(index);
    ASSERT_NE(first, nullptr);
    const ReferenceSlot* slots = index->slots;
    ASSERT_NE(slots, nullptr);
    EXPECT_EQ(index->count, 2);

    EXPECT_EQ(readIndexedReferences(index), first);   // read again: the same bytes
    EXPECT_EQ(index->slots, slots);

    writeReferences({entry(1, "First"), entry(2, "Other")});
    const DbRecord* changed = readIndexedReferences(index);
    ASSERT_NE(changed, nullptr);
    Cited two({2});
    EXPECT_EQ(citedEntries(beginCitedWalk(changed, index, two.list)),
              std::vector<std::string>{entryText(2, "Other")});

    writeContent({});
    EXPECT_EQ(readIndexedReferences(index), nullptr);
    EXPECT_EQ(index->record, nullptr);
    EXPECT_EQ(index->slots, nullptr);
}

TEST_F(ReferenceReads, AnIndexThatCannotBeAllocatedLeavesTheWalkAndIsMadeOnALaterRead)
{
    ReferenceIndex* index = &app->referenceIndex;
    writeReferences({entry(1, "First"), entry(2, "Second"), entry(3, "Third")});
    Cited cited({3, 1});
    const std::vector<std::string> expected = {entryText(1, "First"), entryText(3, "Third")};
    for (long failAt = 1; failAt <= 3; ++failAt) {
        SCOPED_TRACE(testing::Message() << "allocation " << failAt << " fails");
        releaseReferenceIndex(index);
        setAllocationFailure(failAt);
        const DbRecord* record = readIndexedReferences(index);
        setAllocationFailure(0);
        if (!record)
            continue;   // the record itself could not be read
        CitedWalk walk = beginCitedWalk(record, index, cited.list);
        EXPECT_EQ(walk.index == nullptr, index->slots == nullptr);
        EXPECT_EQ(citedEntries(walk), expected);
        record = readIndexedReferences(index);
        EXPECT_NE(index->slots, nullptr);
        EXPECT_EQ(citedEntries(beginCitedWalk(record, index, cited.list)), expected);
    }
}

} // namespace
