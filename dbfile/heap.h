// Heap blocks of the device program. Every allocation of the program goes through here, so
// that tests can make the Nth allocation fail and check that the work goes on without it.
#pragma once
#include <cstddef>

void* allocBlock(std::size_t bytes);        // uninitialised; nullptr when memory runs out
void* allocZeroed(std::size_t bytes);       // zero-filled; nullptr when memory runs out
void freeBlock(void* block);                // accepts nullptr
char* copyText(const char* text);           // heap copy of a NUL-terminated text; nullptr for nullptr or no memory

// For what the program must not silently drop (answers, report and page lines, the texts shown
// on screen): the heap first, then a fixed reserve set aside in the program's image, so that a
// passing shortage of memory does not take a warning off the screen. Blocks of the reserve are
// at most reserveBlockSize bytes; nullptr only when both are exhausted. freeBlock releases them.
constexpr std::size_t reserveBlockSize = 1024;
constexpr int reserveBlockCount = 48;
void* allocReserved(std::size_t bytes);
void* allocZeroedReserved(std::size_t bytes);
char* copyTextReserved(const char* text);
int reserveBlocksInUse();

// Zero-filled room for `count` blocks that live and die together, from one heap block, counted
// by the failure hook as `count` allocations. nullptr, with nothing counted, when one of them is
// set to fail or the heap has no such block: the caller then makes them one by one as before.
void* allocZeroedJoined(std::size_t bytes, int count);

// Test hook: the failAt-th allocation from now (1 = the next one) and every later one fail
// while failAt > 0 and failing stays on; 0 turns failure off. With reserveToo the reserve
// serves nothing either while failure is on: no memory at all.
void setAllocationFailure(long failAt, bool failEveryLater = false, bool reserveToo = false);
long allocationCount();                     // allocations attempted since the hook was last set
