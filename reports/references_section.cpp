// The References section: the citations of the reference ids the latest rule run recorded, in
// the order the reference record stores them, one blank row apart.
#include "dbfile/heap.h"
#include "questionnaire/answers.h"
#include "reports/citation.h"
#include "reports/reference_record.h"
#include "reports/reports.h"
#include "shell/state.h"

int appendReferences(int row)
{
    DbRecord* record = readReferenceRecord();
    if (!record)
        return row;
    ReferenceWalk walk = beginReferenceWalk(record);
    ReferenceEntry entry;
    while (nextReference(&walk, &entry)) {
        if (!citedReferences || !findAnswer(*citedReferences, entry.id, 0))
            continue;
        char* citation = formatCitation(&entry);
        if (!citation)
            continue;
        std::int16_t lineRow = std::int16_t(row);
        addDisplayLine(&appState->displayList, TextLine, citation, 0, 0, lineRow, 0, false, false, false, true, 0, 0, 0, -1);
        freeBlock(citation);
        row += 2;
    }
    freeRecord(&record);
    return row;
}
