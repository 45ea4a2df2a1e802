// Heap blocks with an injectable failure, for the allocation-failure tests.
#include "dbfile/heap.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {
alignas(std::max_align_t) unsigned char reserve[reserveBlockCount][reserveBlockSize];
bool reserveTaken[reserveBlockCount];

int reserveSlotOf(const void* block)
{
    const unsigned char* at = static_cast<const unsigned char*>(block);
    if (at < &reserve[0][0] || at >= &reserve[0][0] + sizeof reserve)
        return -1;
    return int((at - &reserve[0][0]) / reserveBlockSize);
}

bool reserveFails = false;

void* fromReserve(std::size_t bytes)
{
    if (bytes > reserveBlockSize || reserveFails)
        return nullptr;
    for (int i = 0; i < reserveBlockCount; ++i)
        if (!reserveTaken[i]) {
            reserveTaken[i] = true;
            return reserve[i];
        }
    return nullptr;
}

long failCountdown = 0;   // 0: never fail
bool failLater = false;
long attempts = 0;

bool shouldFail()
{
    ++attempts;
    if (failCountdown <= 0)
        return false;
    if (failCountdown == 1) {
        if (!failLater)
            failCountdown = 0;
        return true;
    }
    --failCountdown;
    return false;
}
} // namespace

void setAllocationFailure(long failAt, bool failEveryLater, bool reserveToo)
{
    reserveFails = failAt > 0 && reserveToo;
    failCountdown = failAt;
    failLater = failEveryLater;
    attempts = 0;
}

long allocationCount() { return attempts; }

void* allocBlock(std::size_t bytes)
{
    if (shouldFail())
        return nullptr;
    return std::malloc(bytes ? bytes : 1);
}

void* allocZeroed(std::size_t bytes)
{
    if (shouldFail())
        return nullptr;
    return std::calloc(1, bytes ? bytes : 1);
}

void freeBlock(void* block)
{
    if (int slot = reserveSlotOf(block); slot >= 0)
        reserveTaken[slot] = false;
    else
        std::free(block);
}

void* allocReserved(std::size_t bytes)
{
    void* block = allocBlock(bytes);
    return block ? block : fromReserve(bytes);
}

void* allocZeroedReserved(std::size_t bytes)
{
    void* block = allocZeroed(bytes);
    if (!block && (block = fromReserve(bytes)))
        std::memset(block, 0, bytes);
    return block;
}

void* allocZeroedJoined(std::size_t bytes, int count)
{
    if (failCountdown > 0 && failCountdown <= count)
        return nullptr;
    void* block = std::calloc(1, bytes ? bytes : 1);
    if (block) {
        attempts += count;
        if (failCountdown > 0)
            failCountdown -= count;
    }
    return block;
}

int reserveBlocksInUse()
{
    int n = 0;
    for (bool taken : reserveTaken)
        n += taken;
    return n;
}

namespace {
char* copyWith(void* (*alloc)(std::size_t), const char* text)
{
    if (!text)
        return nullptr;
    std::size_t n = std::strlen(text) + 1;
    char* copy = static_cast<char*>(alloc(n));
    if (copy)
        std::memcpy(copy, text, n);
    return copy;
}
} // namespace

char* copyText(const char* text) { return copyWith(allocBlock, text); }

char* copyTextReserved(const char* text) { return copyWith(allocReserved, text); }
