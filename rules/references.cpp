// The References check: the section is offered when the content database's reference record
// holds an entry for an id the rules recorded. The record is read for the check and freed at once.
#include "rules/references.h"

#include "reports/reference_record.h"
#include "rules/rules.h"

bool recordCitesAny(const DbRecord* record, const Answer* cited)
{
    ReferenceWalk walk = beginReferenceWalk(record);
    ReferenceEntry entry;
    while (nextReference(&walk, &entry))
        if (findAnswer(cited, entry.id, 0))
            return true;
    return false;
}

bool referencesCited(const Answer* cited)
{
    DbRecord* record = readReferenceRecord();
    bool found = record && recordCitesAny(record, cited);
    freeRecord(&record);
    return found;
}
