// List markup in report paragraphs: "<li>" starts an item line "- item", "</ul>" ends the list
// and the text after it starts on a new line; the tag before either is erased. Works on a copy
// cut into segments in place, one display line each.
#include <cstring>

#include "dbfile/heap.h"
#include "display/pagebuilder.h"
#include "shell/state.h"

namespace {

constexpr std::int16_t itemX = 5;

// The first occurrence of tag in [from, end): the copy holds NULs where tags were erased, so
// the search cannot stop at a NUL.
char* findTag(char* from, char* end, const char* tag)
{
    std::size_t n = std::strlen(tag);
    for (char* p = from; p + n <= end; ++p)
        if (std::memcmp(p, tag, n) == 0)
            return p;
    return nullptr;
}

// Ends the segment at the tag just before tagAt: at the nearest '<' between the segment's start
// and tagAt. Without one the segment simply ends at tagAt, so no text of the segment is lost.
void eraseTagBefore(char* segment, char* tagAt)
{
    for (char* p = tagAt; p > segment;) {
        --p;
        if (*p == '<') {
            *p = '\0';
            return;
        }
    }
    *tagAt = '\0';
}

void addSegment(const char* segment, int* row)
{
    std::int16_t x = segment[0] == '-' ? itemX : 0;
    std::int16_t r = std::int16_t(*row);
    addDisplayLine(&appState->displayList, TextLine, segment, 0, 0, r, 0, false, false, false, true, 0, x, x, -1);
    ++*row;
}

} // namespace

int expandListMarkup(const char* text, int row)
{
    if (!appState || !text)
        return row;
    char* copy = copyText(text);
    if (!copy)
        return row;
    char* end = copy + std::strlen(copy);
    char* segment = copy;
    for (char* at = copy;;) {
        char* item = findTag(at, end, "<li>");
        char* close = findTag(at, end, "</ul>");
        if (!item && !close)
            break;
        if (item && (!close || item < close)) {
            eraseTagBefore(segment, item);
            addSegment(segment, &row);
            item[0] = '\0';
            item[1] = ' ';
            item[2] = '-';
            item[3] = ' ';
            segment = item + 2;
            at = item + 4;
        } else {
            eraseTagBefore(segment, close);
            addSegment(segment, &row);
            close[4] = '\n';
            segment = close + 4;
            at = close + 5;
        }
    }
    if (char* closing = std::strstr(segment, "</"))
        *closing = '\0';
    addSegment(segment, &row);
    freeBlock(copy);
    return row;
}
