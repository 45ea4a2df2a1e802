// The heap's blocks: handed out again once freed, zero-filled where asked, apart from each other;
// and the reserve behind allocReserved: it serves when the heap has nothing, gives its blocks back
// on freeBlock, and refuses only what it cannot hold.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "dbfile/heap.h"

namespace {

TEST(Heap, BlocksHandedOutAgainAreZeroFilledWhereAskedAndNeverShared)
{
    // Sizes on both sides of the size steps and of the largest kept size.
    for (std::size_t bytes : {0, 1, 15, 16, 17, 100, 511, 512, 513, 5000}) {
        SCOPED_TRACE(bytes);
        std::vector<unsigned char*> blocks;
        for (int round = 0; round < 2; ++round) {
            // The first round dirties every block and frees it; the second takes them back.
            for (int i = 0; i < 300; ++i) {
                auto* block = static_cast<unsigned char*>(round ? allocZeroed(bytes) : allocBlock(bytes));
                ASSERT_NE(block, nullptr);
                EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % alignof(std::max_align_t), 0u);
                for (std::size_t b = 0; round && b < bytes; ++b)
                    ASSERT_EQ(block[b], 0) << "byte " << b << " of block " << i;
                std::memset(block, i & 0xFF, bytes);
                blocks.push_back(block);
            }
            for (int i = 0; i < 300; ++i)
                for (std::size_t b = 0; b < bytes; ++b)
                    ASSERT_EQ(blocks[i][b], i & 0xFF) << "block " << i << " was written through another";
            for (unsigned char* block : blocks)
                freeBlock(block);
            blocks.clear();
        }
    }
    void* joined = allocZeroedJoined(48, 2);
    ASSERT_NE(joined, nullptr);
    EXPECT_EQ(static_cast<unsigned char*>(joined)[47], 0);
    freeBlock(joined);
    freeBlock(nullptr);
}

#if defined(__SANITIZE_ADDRESS__)
// A block kept for reuse must still be out of bounds to the sanitizer, or a use after free would
// go unseen while the block waits in the cache.
TEST(HeapDeathTest, AFreedBlockStaysOutOfBoundsUntilHandedOutAgain)
{
    auto* block = static_cast<volatile char*>(allocBlock(40));
    block[0] = 'x';
    freeBlock(const_cast<char*>(block));
    EXPECT_DEATH(block[0] = 'y', "use-after-poison");
}
#endif

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
