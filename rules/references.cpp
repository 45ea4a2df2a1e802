// The References check: the section is offered when the content database's reference record
// holds an entry for an id the rules recorded. The record is read for every check; the index
// kept with the program's state finds the cited entries, unless there is no state to keep it in.
#include "rules/references.h"

#include "reports/reference_record.h"
#include "rules/rules.h"
#include "shell/state.h"

bool recordCitesAny(const DbRecord* record, const Answer* cited)
{
    CitedWalk walk = beginCitedWalk(record, nullptr, cited);
    ReferenceEntry entry;
    return nextCitedReference(&walk, &entry);
}

bool referencesCited(const Answer* cited)
{
    if (!appState) {
        DbRecord* record = readReferenceRecord();
        bool found = record && recordCitesAny(record, cited);
        freeRecord(&record);
        return found;
    }
    ReferenceIndex* index = &appState->referenceIndex;
    CitedWalk walk = beginCitedWalk(readIndexedReferences(index), index, cited);
    ReferenceEntry entry;
    return nextCitedReference(&walk, &entry);
}
