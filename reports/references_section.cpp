// The References section: the citations of the reference ids the latest rule run recorded, in
// the order the reference record stores them, one blank row apart. The reference data cites one
// work under the id of every rule that relies on it, so a citation whose text is already listed
// in the section is not listed again: the reader sees each work once. The record read stays with
// the index in the program's state.
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

}  // namespace

int appendReferences(int row)
{
    if (!appState)
        return row;
    ReferenceIndex* index = &appState->referenceIndex;
    const DbRecord* record = readIndexedReferences(index);
    if (!record)
        return row;
    CitedWalk walk = beginCitedWalk(record, index, citedReferences ? *citedReferences : nullptr);
    ReferenceEntry entry;
    const DisplayLine* first = nullptr;   // the section's first line
    while (nextCitedReference(&walk, &entry)) {
        char* citation = formatCitation(&entry);
        if (!citation)
            continue;
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
