// The reserve behind allocReserved: it serves when the heap has nothing, gives its blocks back
// on freeBlock, and refuses only what it cannot hold.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "dbfile/heap.h"

namespace {

TEST(Reserve, ServesWhenTheHeapFailsUntilItIsExhaustedAndTakesItsBlocksBack)
{
    struct Case {
        const char* name;
        long failAt;            // 0: the heap serves
        std::size_t bytes;
        bool fromReserve;
        bool served;
    } cases[] = {
        {"the heap serves", 0, 40, false, true},
        {"heap fails, small block", 1, 40, true, true},
        {"heap fails, largest reserve block", 1, reserveBlockSize, true, true},
        {"heap fails, too large for the reserve", 1, reserveBlockSize + 1, false, false},
    };
    for (const Case& c : cases) {
        setAllocationFailure(c.failAt, true);
        void* block = allocZeroedReserved(c.bytes);
        setAllocationFailure(0);
        EXPECT_EQ(block != nullptr, c.served) << c.name;
        EXPECT_EQ(reserveBlocksInUse(), c.fromReserve ? 1 : 0) << c.name;
        if (block)
            EXPECT_EQ(static_cast<unsigned char*>(block)[c.bytes - 1], 0) << c.name << ": zero-filled";
        freeBlock(block);
        EXPECT_EQ(reserveBlocksInUse(), 0) << c.name;
    }

    setAllocationFailure(1, true);
    std::vector<char*> texts;
    while (char* t = copyTextReserved("WARNING:"))
        texts.push_back(t);
    setAllocationFailure(0);
    EXPECT_EQ(int(texts.size()), reserveBlockCount);
    EXPECT_STREQ(texts.back(), "WARNING:");
    for (char* t : texts)
        freeBlock(t);
    EXPECT_EQ(reserveBlocksInUse(), 0);
    EXPECT_EQ(copyTextReserved(nullptr), nullptr);
}

} // namespace
