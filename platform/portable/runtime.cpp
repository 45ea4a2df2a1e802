// Runtime calls of the portable platform: local heap blocks.
// Differs from Windows in: LocalAlloc accepts only LMEM_FIXED (with or without LMEM_ZEROINIT).
#include "platform/winapi.h"

#include <cstdlib>
#include <cstring>

HLOCAL LocalAlloc(UINT flags, std::size_t bytes)
{
    void* block = std::malloc(bytes ? bytes : 1);
    if (block && (flags & LMEM_ZEROINIT))
        std::memset(block, 0, bytes ? bytes : 1);
    return block;
}

HLOCAL LocalFree(HLOCAL memory)
{
    std::free(memory);
    return nullptr;
}
