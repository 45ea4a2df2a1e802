// Heap blocks of the device program. Every allocation of the program goes through here, so
// that tests can make the Nth allocation fail and check that the work goes on without it.
#pragma once
#include <cstddef>

void* allocBlock(std::size_t bytes);        // uninitialised; nullptr when memory runs out
void* allocZeroed(std::size_t bytes);       // zero-filled; nullptr when memory runs out
void freeBlock(void* block);                // accepts nullptr
char* copyText(const char* text);           // heap copy of a NUL-terminated text; nullptr for nullptr or no memory

// Test hook: the failAt-th allocation from now (1 = the next one) and every later one fail
// while failAt > 0 and failing stays on; 0 turns failure off.
void setAllocationFailure(long failAt, bool failEveryLater = false);
long allocationCount();                     // allocations attempted since the hook was last set
