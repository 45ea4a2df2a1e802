// Text lists: report sections as entries holding their own copies of a text and a marker.
// An entry is linked in before its copies are made, so a copy that fails leaves that string
// absent in an entry that is still there.
#include "questionnaire/textlist.h"

#include <cstring>

#include "dbfile/heap.h"
#include "dosecalc/numtext.h"

namespace {
// Rules append many entries per page: entry and copies share one block when memory allows.
TextEntry* joinedEntry(const char* text, const char* marker)
{
    std::size_t textBytes = text ? std::strlen(text) + 1 : 0;
    std::size_t markerBytes = marker ? std::strlen(marker) + 1 : 0;
    int parts = 1 + (text != nullptr) + (marker != nullptr);
    char* block = static_cast<char*>(
        allocZeroedJoined(sizeof(TextEntry) + textBytes + markerBytes, parts));
    if (!block)
        return nullptr;
    TextEntry* entry = reinterpret_cast<TextEntry*>(block);
    char* at = block + sizeof(TextEntry);
    if (text) {
        entry->text = static_cast<char*>(std::memcpy(at, text, textBytes));
        at += textBytes;
    }
    if (marker)
        entry->marker = static_cast<char*>(std::memcpy(at, marker, markerBytes));
    entry->oneBlock = true;
    return entry;
}

} // namespace

TextEntry* appendText(TextList* holder, const char* text, const char* marker)
{
    TextEntry* entry = joinedEntry(text, marker);
    if (!entry)
        entry = static_cast<TextEntry*>(allocZeroedReserved(sizeof(TextEntry)));
    if (!entry)
        return nullptr;
    TextEntry** end = holder;
    while (*end)
        end = &(*end)->next;
    *end = entry;
    if (!entry->oneBlock) {
        entry->text = copyTextReserved(text);
        entry->marker = copyTextReserved(marker);
    }
    return entry;
}

void releaseTextList(TextList* holder)
{
    if (!holder)
        return;
    for (TextEntry* e = *holder; e;) {
        TextEntry* next = e->next;
        if (!e->oneBlock) {
            freeBlock(e->text);
            freeBlock(e->marker);
        }
        freeBlock(e);
        e = next;
    }
    *holder = nullptr;
}

bool hasMarker(const TextEntry* head, const char* marker)
{
    if (!marker)
        return false;
    for (const TextEntry* e = head; e; e = e->next)
        if (e->marker && equalsNoCase(e->marker, marker))
            return true;
    return false;
}
