// readRecord on damaged containers and without memory: a damaged list entry or a record that
// cannot be read in full is passed over; nothing crashes or reads past the file (run these
// under the sanitizer build).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>

#include "dbfile/heap.h"
#include "dbfile/records.h"
#include "tests/dbfile/fixture.h"

namespace {

struct Keys {
    std::uint8_t type;
    std::uint16_t module;
};
const Keys goodKeys[] = {{1, 0}, {2, 0}, {1, 1}, {2, 1}, {3, 0}};

std::vector<Bytes> goodRecords()
{
    std::vector<Bytes> records;
    for (const Keys& k : goodKeys)
        records.push_back(makeRecord(k.type, k.module, 2, Bytes(40 + 8 * k.type, std::uint8_t(k.module + 1))));
    return records;
}

void setU32(Bytes& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}
std::uint32_t getU32(const Bytes& b, std::size_t at)
{
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

// Every record the reader returns is whole and lies within the file it came from.
void expectSoundReads(const TempFile& file, std::size_t fileSize, const std::string& what)
{
    for (const Keys& k : goodKeys) {
        DbRecord* r = readRecord(k.type, k.module, 0, 0, 0, file.path());
        if (r) {
            EXPECT_GE(r->size, 16u) << what;
            EXPECT_LE(r->size, fileSize) << what;
            EXPECT_EQ(recordType(r), k.type) << what;
            EXPECT_EQ(recordModule(r), k.module) << what;
        }
        freeRecord(&r);
    }
}

TEST(DamagedContainer, TruncatedAtEveryByte)
{
    Bytes good = makeContainer(goodRecords());
    TempFile file("cut.pdb", good);
    for (std::size_t n = 0; n < good.size(); ++n) {
        file.write(Bytes(good.begin(), good.begin() + std::ptrdiff_t(n)));
        std::string what = "cut at " + std::to_string(n);
        expectSoundReads(file, n, what);
        if (n < 80) {
            EXPECT_EQ(readRecord(1, 0, 0, 0, 0, file.path()), nullptr) << what << ": shorter than the header";
        }
    }
}

TEST(DamagedContainer, RandomByteFlips)
{
    Bytes good = makeContainer(goodRecords());
    TempFile file("flip.pdb", good);
    std::mt19937 random(20261209);
    for (int round = 0; round < 400; ++round) {
        Bytes bad = good;
        int flips = 1 + int(random() % 4);
        for (int i = 0; i < flips; ++i) {
            // Most flips land in the header and list, where damage matters most.
            std::size_t at = random() % 3 ? 76 + random() % (8 * std::size(goodKeys) + 4) : random() % bad.size();
            bad[at] ^= std::uint8_t(1 + random() % 255);
        }
        file.write(bad);
        expectSoundReads(file, bad.size(), "round " + std::to_string(round));
    }
}

struct Damage {
    const char* name;
    std::function<void(Bytes&)> apply;
    Keys ask;
    bool found;
};

TEST(DamagedContainer, DamagedListEntriesArePassedOver)
{
    const std::size_t list = 78;
    const Damage cases[] = {
        {"record count runs the list past the end", [](Bytes& b) { b[76] = 0xFF; b[77] = 0xFF; }, {9, 9}, false},
        {"offset of record 0 past the end", [&](Bytes& b) { setU32(b, list, 0x7FFFFFF0u); }, {1, 0}, false},
        {"record after a record past the end still found",
         [&](Bytes& b) { setU32(b, list, 0xFFFFFFFFu); }, {2, 0}, true},
        {"end before start", [&](Bytes& b) { setU32(b, list + 8, getU32(b, list) - 1); }, {1, 0}, false},
        {"last record offset past the end", [&](Bytes& b) { setU32(b, list + 32, std::uint32_t(b.size() + 1)); },
         {3, 0}, false},
        {"last record shorter than its header",
         [&](Bytes& b) { setU32(b, list + 32, std::uint32_t(b.size() - 10)); }, {3, 0}, false},
        {"earlier records unaffected by a damaged last entry",
         [&](Bytes& b) { setU32(b, list + 32, 0xFFFFFFFFu); }, {1, 1}, true},
    };
    Bytes good = makeContainer(goodRecords());
    TempFile file("entries.pdb", good);
    for (const Damage& d : cases) {
        Bytes bad = good;
        d.apply(bad);
        file.write(bad);
        DbRecord* r = readRecord(d.ask.type, d.ask.module, 0, 0, 0, file.path());
        EXPECT_EQ(r != nullptr, d.found) << d.name;
        freeRecord(&r);
        expectSoundReads(file, bad.size(), d.name);
    }
}

TEST(AllocationFailure, SteppedThroughEveryAllocation)
{
    // Two records with the same keys: when the first cannot be allocated, the second serves.
    std::vector<Bytes> records = {makeRecord(1, 0, 0, Bytes(20, 1), 1, 0), makeRecord(1, 0, 0, Bytes(20, 2), 2, 0)};
    TempFile file("memory.pdb", makeContainer(records));
    for (long n = 1;; ++n) {
        setAllocationFailure(n);
        DbRecord* r = readRecord(1, 0, 0, 0, 0, file.path());
        bool failedOne = allocationCount() >= n;
        setAllocationFailure(0);
        ASSERT_NE(r, nullptr) << "failure at allocation " << n;
        EXPECT_EQ(recordId1(r), failedOne && n == 1 ? 2u : 1u) << "failure at allocation " << n;
        freeRecord(&r);
        if (!failedOne)
            break;
        ASSERT_LT(n, 100);
    }
    setAllocationFailure(1, true);
    EXPECT_EQ(readRecord(1, 0, 0, 0, 0, file.path()), nullptr) << "no memory at all";
    setAllocationFailure(0);
}

} // namespace
