// Widening of display text for the platform, with no fixed limit on its length.
#include "display/widetext.h"

#include <cstring>

#include "dbfile/heap.h"

const WCHAR* widenRange(WideText* holder, const char* start, const char* end)
{
    std::size_t length = 0;
    if (start)
        length = end ? static_cast<std::size_t>(end - start) : std::strlen(start);
    holder->text = holder->small;
    holder->length = 0;
    if (length + 1 > sizeof holder->small / sizeof holder->small[0]) {
        holder->text = static_cast<WCHAR*>(allocReserved((length + 1) * sizeof(WCHAR)));
        if (!holder->text)
            return nullptr;
    }
    for (std::size_t i = 0; i < length; ++i)
        holder->text[i] = static_cast<unsigned char>(start[i]);
    holder->text[length] = 0;
    holder->length = static_cast<int>(length);
    return holder->text;
}

void releaseWide(WideText* holder)
{
    if (holder->text && holder->text != holder->small)
        freeBlock(holder->text);
    holder->text = nullptr;
}
