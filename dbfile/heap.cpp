// Heap blocks with an injectable failure, for the allocation-failure tests.
#include "dbfile/heap.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#define ZURA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZURA_ASAN 1
#endif
#endif
#ifndef ZURA_ASAN
#define ZURA_ASAN 0
#endif
#if ZURA_ASAN
#include <sanitizer/asan_interface.h>
#endif

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

// Small blocks are kept by size class once freed and handed out again, never given back to the
// C library: a screen is rebuilt from the same kinds of blocks as the one before it, and the C
// library's allocator took about 200 instructions for each of them (its own cache holds only a
// few per size). When a class has none left, a block is cut from a larger block of the C library.
// Under AddressSanitizer each block is its own block of the C library, so that a block lost
// stays a leak to the leak checker, and a cached block is poisoned until it is handed out.
// Every block carries a header with its size class; larger blocks go straight to the C library.
constexpr std::size_t sizeStep = 16;
constexpr int sizeClasses = 32;   // up to 512 bytes
constexpr int largeBlock = sizeClasses;
constexpr std::size_t cutFrom = ZURA_ASAN ? 0 : 16384;   // bytes of a C library block cut up

struct alignas(std::max_align_t) BlockHeader {
    BlockHeader* next;   // while cached
    int sizeClass;       // largeBlock: from the C library alone
};

BlockHeader* cached[sizeClasses];

// Poisoned memory is out of bounds to AddressSanitizer until it is unpoisoned.
void setPoisoned(void* at, std::size_t bytes, bool poisoned)
{
#if ZURA_ASAN
    if (poisoned)
        ASAN_POISON_MEMORY_REGION(at, bytes);
    else
        ASAN_UNPOISON_MEMORY_REGION(at, bytes);
#else
    (void)at, (void)bytes, (void)poisoned;
#endif
}

std::size_t roomOf(int sizeClass) { return (std::size_t(sizeClass) + 1) * sizeStep; }

void cache(BlockHeader* header, int sizeClass)
{
    header->sizeClass = sizeClass;
    header->next = cached[sizeClass];
    cached[sizeClass] = header;
    // The header stays readable: the leak checker follows no pointer kept in poisoned memory.
    setPoisoned(header + 1, roomOf(sizeClass), true);
}

// A fresh block of the class: cut from the end of the C library block being cut up, or under
// AddressSanitizer a C library block of its own. What is left of a block too short for the
// next one is never used.
unsigned char* cutAt = nullptr;
std::size_t cutLeft = 0;

BlockHeader* cutBlock(int sizeClass)
{
    std::size_t stride = sizeof(BlockHeader) + roomOf(sizeClass);
    if (cutFrom == 0)
        return static_cast<BlockHeader*>(std::malloc(stride));
    if (cutLeft < stride) {
        unsigned char* fresh = static_cast<unsigned char*>(std::malloc(cutFrom));
        if (!fresh)
            return nullptr;
        cutAt = fresh;
        cutLeft = cutFrom;
    }
    BlockHeader* header = reinterpret_cast<BlockHeader*>(cutAt);
    cutAt += stride;
    cutLeft -= stride;
    return header;
}

void* takeBlock(std::size_t bytes)
{
    std::size_t wanted = bytes ? bytes : 1;
    std::size_t step = (wanted - 1) / sizeStep;
    BlockHeader* header;
    if (step >= std::size_t(sizeClasses)) {
        if (wanted > SIZE_MAX - sizeof(BlockHeader))
            return nullptr;
        header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + wanted));
        if (!header)
            return nullptr;
        header->sizeClass = largeBlock;
        return header + 1;
    }
    int sizeClass = int(step);
    if ((header = cached[sizeClass])) {
        setPoisoned(header + 1, roomOf(sizeClass), false);
        cached[sizeClass] = header->next;
    } else if (!(header = cutBlock(sizeClass))) {
        return nullptr;
    }
    header->sizeClass = sizeClass;
    // What lies past the size asked for stays out of bounds for the sanitizer, as with malloc.
    setPoisoned(reinterpret_cast<unsigned char*>(header + 1) + wanted, roomOf(sizeClass) - wanted, true);
    return header + 1;
}

void giveBack(void* block)
{
    BlockHeader* header = static_cast<BlockHeader*>(block) - 1;
    if (header->sizeClass >= 0 && header->sizeClass < sizeClasses)
        cache(header, header->sizeClass);
    else
        std::free(header);
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
    return takeBlock(bytes);
}

void* allocZeroed(std::size_t bytes)
{
    if (shouldFail())
        return nullptr;
    void* block = takeBlock(bytes);
    if (block)
        std::memset(block, 0, bytes);
    return block;
}

void freeBlock(void* block)
{
    if (int slot = reserveSlotOf(block); slot >= 0)
        reserveTaken[slot] = false;
    else if (block)
        giveBack(block);
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
    void* block = takeBlock(bytes);
    if (block) {
        std::memset(block, 0, bytes);
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
