// The dose-range index against the walk it replaces: on the content database's record and on
// damaged ones every dose finds the same range; an index of another record, or none, leaves the walk.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "conversion_fixture.h"
#include "dbfile/heap.h"
#include "dosecalc/dose_ranges.h"

namespace {

using namespace fixture;

// The outcome and the six regimens a lookup gives, as one text.
std::string lookedUp(const DbRecord* conversions, const DbRecord* ranges, float dose, const DoseRangeIndex* index)
{
    const char* products[optionTextCount] = {};
    const char* regimens[optionTextCount] = {};
    std::string text = std::to_string(int(lookupDoseRange(conversions, ranges, morphineKeys, dose, products, regimens, index)));
    for (const char* regimen : regimens)
        text += std::string("|") + (regimen ? regimen : "-");
    return text;
}

TEST(DoseRangeIndex, FindsWhatTheWalkFindsOnRealAndDamagedRecords)
{
    const char* path = ZURA_DATA_ROOT "/Program Files/Quellix/DEZidiVA-Qx4k.pdb";
    DbRecord* real = readRecord(1, 0, 0, 0, 0, path);
    DbRecord* conversions = readRecord(2, 0, 0, 0, 0, path);
    ASSERT_NE(real, nullptr);
    const Bytes small = doseRangeBytes();
    std::vector<Bytes> cases = {Bytes(real->bytes, real->bytes + real->size), small};
    for (std::size_t size = 0; size < small.size(); size += 7)
        cases.push_back(Bytes(small.begin(), small.begin() + std::ptrdiff_t(size)));
    std::mt19937 random(23);
    for (int round = 0; round < 40; ++round) {
        Bytes r = cases[std::size_t(round % 2)];
        for (int flips = 0; flips < 4; ++flips)
            r[8 + random() % (r.size() - 8)] ^= std::uint8_t(1 + random() % 255);
        cases.push_back(r);
    }
    for (std::size_t c = 0; c < cases.size(); ++c) {
        DbRecord* ranges = cases[c].empty() ? nullptr : recordFrom(cases[c]);
        DoseRangeIndex index = {nullptr, nullptr, 0};
        ASSERT_TRUE(buildDoseRangeIndex(&index, ranges));
        for (float dose : {0.0f, 0.5f, 10.0f, 10.01f, 37.5f, 60.0f, 60.001f, 120.0f, 999.0f, 1000.5f, 60000.0f, 7e4f})
            EXPECT_EQ(lookedUp(conversions, ranges, dose, &index), lookedUp(conversions, ranges, dose, nullptr))
                << "case " << c << ", dose " << dose;
        releaseDoseRangeIndex(&index);
        freeBlock(ranges);
    }
    freeRecord(&real);
    freeRecord(&conversions);
}

TEST(DoseRangeIndex, AnIndexOfAnotherRecordOrNoneLeavesTheWalk)
{
    DbRecord* conversions = recordFrom(conversionBytes());
    DbRecord* ranges = recordFrom(doseRangeBytes());
    DbRecord* other = recordFrom(makePackedRecord(1, 0, {rangeEntry(0, 1000, 2, regimensNamed("other"))}));
    const std::string expected = lookedUp(conversions, ranges, 60.0f, nullptr);
    DoseRangeIndex index = {nullptr, nullptr, 0};
    ASSERT_TRUE(buildDoseRangeIndex(&index, other));
    EXPECT_EQ(lookedUp(conversions, ranges, 60.0f, &index), expected);
    setAllocationFailure(1);
    EXPECT_FALSE(buildDoseRangeIndex(&index, ranges));
    setAllocationFailure(0);
    EXPECT_EQ(lookedUp(conversions, ranges, 60.0f, &index), expected);
    releaseDoseRangeIndex(&index);
    for (DbRecord* r : {other, ranges, conversions})
        freeBlock(r);
}

} // namespace
