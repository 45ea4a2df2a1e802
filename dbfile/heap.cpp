// Heap blocks with an injectable failure, for the allocation-failure tests.
#include "dbfile/heap.h"

#include <cstdlib>
#include <cstring>

namespace {
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

void setAllocationFailure(long failAt, bool failEveryLater)
{
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

void freeBlock(void* block) { std::free(block); }

char* copyText(const char* text)
{
    if (!text)
        return nullptr;
    std::size_t n = std::strlen(text) + 1;
    char* copy = static_cast<char*>(allocBlock(n));
    if (copy)
        std::memcpy(copy, text, n);
    return copy;
}
