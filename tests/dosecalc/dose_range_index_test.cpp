// The dose-range index against the walk it replaces: on the content database's records and on
// damaged ones, every dose finds the same range (the first in stored order) with and without
// the index, and an index that cannot be allocated leaves the walk.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "dbfile/heap.h"
#include "dosecalc/dose_ranges.h"
#include "conversion_fixture.h"

namespace {

using namespace fixture;

Bytes contentRecord(std::uint8_t type)
{
    DbRecord* r = readRecord(type, 0, 0, 0, 0, ZURA_DATA_ROOT "/Program Files/Quellix/DEZidiVA-Qx4k.pdb");
    Bytes bytes = r ? Bytes(r->bytes, r->bytes + r->size) : Bytes();
    freeRecord(&r);
    return bytes;
}

// What a lookup gives, as one text: the outcome and the six products and regimens.
std::string lookedUp(const DbRecord* conversions, const DbRecord* ranges, float dose, const DoseRangeIndex* index)
{
    const char* products[optionTextCount] = {};
    const char* regimens[optionTextCount] = {};
    DoseRangeLookup found = lookupDoseRange(conversions, ranges, morphineKeys, dose, products, regimens, index);
    std::string text = std::to_string(int(found));
    for (int i = 0; i < optionTextCount; ++i)
        text += std::string("|") + (products[i] ? products[i] : "-") + "|" + (regimens[i] ? regimens[i] : "-");
    return text;
}

TEST(DoseRangeIndex, FindsWhatTheWalkFindsOnRealAndDamagedRecords)
{
    struct Case {
        std::string name;
        Bytes conversions, ranges;
    };
    const Bytes realConversions = contentRecord(2), realRanges = contentRecord(1);
    ASSERT_GT(realRanges.size(), 10000u);
    std::vector<Case> cases = {{"the content database's", realConversions, realRanges},
                               {"the fixture's, with a decoy table", conversionBytes(), doseRangeBytes()}};
    const Bytes small = doseRangeBytes();
    for (std::size_t size = 0; size < small.size(); size += 7)
        cases.push_back({"cut to " + std::to_string(size) + " bytes", conversionBytes(),
                         Bytes(small.begin(), small.begin() + std::ptrdiff_t(size))});
    std::mt19937 random(23);
    for (int round = 0; round < 40; ++round) {
        Bytes r = round % 2 ? small : realRanges;
        for (int flips = 0; flips < 4; ++flips)
            r[8 + random() % (r.size() - 8)] ^= std::uint8_t(1 + random() % 255);
        cases.push_back({"flipped bytes, round " + std::to_string(round), round % 2 ? conversionBytes() : realConversions, r});
    }
    // Bounds and the doses just beside them, zero, fractions and beyond every table.
    const float doses[] = {-1.0f, 0.0f, 0.5f, 9.99f, 10.0f, 10.01f, 20.0f, 37.5f, 50.0f, 60.0f, 60.001f,
                           99.0f, 100.0f, 120.0f, 240.0f, 999.0f, 1000.0f, 1000.5f, 5000.0f, 60000.0f, 70000.0f};

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DbRecord* conversions = recordFrom(c.conversions);
        DbRecord* ranges = c.ranges.empty() ? nullptr : recordFrom(c.ranges);
        DoseRangeIndex index = {nullptr, nullptr, 0};
        ASSERT_TRUE(buildDoseRangeIndex(&index, ranges));
        for (float dose : doses)
            EXPECT_EQ(lookedUp(conversions, ranges, dose, &index), lookedUp(conversions, ranges, dose, nullptr))
                << "dose " << dose;
        releaseDoseRangeIndex(&index);
        EXPECT_EQ(index.offsets, nullptr);
        freeBlock(ranges);
        freeBlock(conversions);
    }
}

TEST(DoseRangeIndex, AnIndexOfAnotherRecordOrNoneLeavesTheWalk)
{
    DbRecord* conversions = recordFrom(conversionBytes());
    DbRecord* ranges = recordFrom(doseRangeBytes());
    DbRecord* other = recordFrom(makePackedRecord(1, 0, {rangeEntry(0, 1000, 2, regimensNamed("other"))}));
    const std::string expected = lookedUp(conversions, ranges, 60.0f, nullptr);
    ASSERT_NE(expected.find("Drug1 50-60"), std::string::npos);

    DoseRangeIndex index = {nullptr, nullptr, 0};
    ASSERT_TRUE(buildDoseRangeIndex(&index, other));
    EXPECT_EQ(lookedUp(conversions, ranges, 60.0f, &index), expected);
    EXPECT_NE(lookedUp(conversions, other, 60.0f, &index), expected);

    setAllocationFailure(1);
    EXPECT_FALSE(buildDoseRangeIndex(&index, ranges));
    setAllocationFailure(0);
    EXPECT_EQ(index.offsets, nullptr);
    EXPECT_EQ(lookedUp(conversions, ranges, 60.0f, &index), expected);

    releaseDoseRangeIndex(&index);
    freeBlock(other);
    freeBlock(ranges);
    freeBlock(conversions);
}

} // namespace
