// Text lists: report sections as entries holding their own copies of a text and a marker.
// An entry is linked in before its copies are made, so a copy that fails leaves that string
// absent in an entry that is still there.
#include "questionnaire/textlist.h"

#include "dbfile/heap.h"
#include "dosecalc/numtext.h"

TextEntry* appendText(TextList* holder, const char* text, const char* marker)
{
    TextEntry* entry = static_cast<TextEntry*>(allocZeroedReserved(sizeof(TextEntry)));
    if (!entry)
        return nullptr;
    TextEntry** end = holder;
    while (*end)
        end = &(*end)->next;
    *end = entry;
    entry->text = copyTextReserved(text);
    entry->marker = copyTextReserved(marker);
    return entry;
}

void releaseTextList(TextList* holder)
{
    if (!holder)
        return;
    for (TextEntry* e = *holder; e;) {
        TextEntry* next = e->next;
        freeBlock(e->text);
        freeBlock(e->marker);
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
