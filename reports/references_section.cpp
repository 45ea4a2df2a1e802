// The References section: the citations of the reference ids the latest rule run recorded, in
// the order the reference record stores them, one blank row apart. Several rules cite the same
// work under their own ids, so a citation whose text is already listed is not listed again.
#include <cstring>

#include "dbfile/heap.h"
#include "questionnaire/answers.h"
#include "reports/citation.h"
#include "reports/reference_record.h"
#include "reports/reports.h"
#include "shell/state.h"

namespace {

// The citation texts listed so far. Without memory for it nothing is remembered and every
// cited entry is listed, as stored.
struct ListedCitations {
    char** texts;
    int count;
    int capacity;
};

ListedCitations beginListed(const DbRecord* record, const ReferenceWalk& walk)
{
    // No more entries can be listed than fit in the record, whatever its count says.
    std::int32_t body = std::int32_t(record->size) - recordHeaderSize;
    int fitting = body > 0 ? int(body / (referenceHeaderSize + referenceFieldCount)) : 0;
    int capacity = walk.count < fitting ? walk.count : fitting;
    ListedCitations listed = {nullptr, 0, 0};
    if (capacity > 0)
        listed.texts = static_cast<char**>(allocZeroed(std::size_t(capacity) * sizeof(char*)));
    listed.capacity = listed.texts ? capacity : 0;
    return listed;
}

bool alreadyListed(const ListedCitations& listed, const char* citation)
{
    for (int i = 0; i < listed.count; ++i)
        if (std::strcmp(listed.texts[i], citation) == 0)
            return true;
    return false;
}

// Keeps the citation (the list takes it over) or frees it when there is no room.
void remember(ListedCitations* listed, char* citation)
{
    if (listed->count < listed->capacity)
        listed->texts[listed->count++] = citation;
    else
        freeBlock(citation);
}

void releaseListed(ListedCitations* listed)
{
    for (int i = 0; i < listed->count; ++i)
        freeBlock(listed->texts[i]);
    freeBlock(listed->texts);
    *listed = {nullptr, 0, 0};
}

bool isCited(const ReferenceEntry& entry)
{
    return citedReferences && findAnswer(*citedReferences, entry.id, 0);
}

} // namespace

int appendReferences(int row)
{
    DbRecord* record = readReferenceRecord();
    if (!record)
        return row;
    ReferenceWalk walk = beginReferenceWalk(record);
    ListedCitations listed = beginListed(record, walk);
    ReferenceEntry entry;
    while (nextReference(&walk, &entry)) {
        if (!isCited(entry))
            continue;
        char* citation = formatCitation(&entry);
        if (!citation)
            continue;
        if (alreadyListed(listed, citation)) {
            freeBlock(citation);
            continue;
        }
        std::int16_t lineRow = std::int16_t(row);
        addDisplayLine(&appState->displayList, TextLine, citation, 0, 0, lineRow, 0, false, false, false, true, 0, 0, 0, -1);
        remember(&listed, citation);
        row += 2;
    }
    releaseListed(&listed);
    freeRecord(&record);
    return row;
}
