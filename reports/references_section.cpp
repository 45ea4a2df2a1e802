// The References section: the citations of the reference ids the latest rule run recorded, in
// the order the reference record stores them, one blank row apart. The reference data cites one
// work under the id of every rule that relies on it, so a citation whose text is already listed
// in the section is not listed again: the reader sees each work once. The record read stays with
// the index in the program's state; the section lists from the read that the results page's
// References check has just made.
#include <cstddef>
#include <cstring>

#include "dbfile/heap.h"
#include "questionnaire/answers.h"
#include "reports/citation.h"
#include "reports/reference_record.h"
#include "reports/reports.h"
#include "shell/state.h"

namespace {

bool alreadyListed(const DisplayLine* first, const char* citation)
{
    for (const DisplayLine* l = first; l; l = l->next)
        if (l->text && std::strcmp(l->text, citation) == 0)
            return true;
    return false;
}

// The stored bytes of an entry from its type byte to the end of its last field. Two entries
// with the same bytes give the same citation, so a work stored again under another id is known
// without formatting it.
struct StoredWork {
    const char* start;
    std::size_t size;
};
constexpr int worksKept = 64;   // more works than this are compared by their citations alone

StoredWork storedWork(const ReferenceEntry* entry)
{
    const char* last = entry->fields[referenceFieldCount - 1];
    const char* start = entry->fields[0] - (referenceHeaderSize - 2);
    return {start, std::size_t(last + std::strlen(last) + 1 - start)};
}

bool sameWorkKept(const StoredWork* works, int count, StoredWork work)
{
    for (int i = 0; i < count; ++i)
        if (works[i].size == work.size && std::memcmp(works[i].start, work.start, work.size) == 0)
            return true;
    return false;
}

}  // namespace

int appendReferences(int row)
{
    if (!appState)
        return row;
    ReferenceIndex* index = &appState->referenceIndex;
    const DbRecord* record = sectionReferences(index);
    if (!record)
        return row;
    CitedWalk walk = beginCitedWalk(record, index, citedReferences ? *citedReferences : nullptr);
    ReferenceEntry entry;
    const DisplayLine* first = nullptr;   // the section's first line
    StoredWork works[worksKept];           // of the citations in the section
    int workCount = 0;
    while (nextCitedReference(&walk, &entry)) {
        StoredWork work = storedWork(&entry);
        if (sameWorkKept(works, workCount, work))
            continue;
        char* citation = formatCitation(&entry);
        if (!citation)
            continue;
        if (workCount < worksKept)
            works[workCount++] = work;
        if (!alreadyListed(first, citation)) {
            std::int16_t lineRow = std::int16_t(row);
            const DisplayLine* added = addDisplayLine(&appState->displayList, TextLine, citation, 0, 0, lineRow, 0,
                                                      false, false, false, true, 0, 0, 0, -1);
            if (!first)
                first = added;
            row += 2;
        }
        freeBlock(citation);
    }
    return row;
}
