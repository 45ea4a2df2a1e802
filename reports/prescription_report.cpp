// The prescription report: Dosing (the prescription entries, then the non-opioid orders),
// Caveats, Guidelines (the monitoring list), Rationale, References and the Summary of answers.
#include <cstring>
#include <iterator>

#include "display/pagebuilder.h"
#include "questionnaire/elements.h"
#include "reports/reports.h"
#include "shell/selector.h"
#include "shell/state.h"

namespace {

enum Section { Dosing = 1, CaveatSection = 3, MonitoringSection = 4, RationaleSection = 5, ReferenceSection = 6,
               SummarySection = 7 };

const SectionName sectionNames[] = {
    {"Prescription", Dosing},          {"Caveats", CaveatSection},       {"Monitoring", MonitoringSection},
    {"Rationale", RationaleSection},   {"References", ReferenceSection}, {"Summary", SummarySection},
};

// Summary groups: a heading and the question owners whose chosen answers it lists.
struct SummaryGroup {
    const char* heading;
    std::uint16_t owners[4];
};
const SummaryGroup summaryGroups[] = {
    {"Drug:", {15817}},
    {"Route:", {2071}},
    {"Zura Score:", {2061}},
    {"Sedation Score:", {2065}},
    {"Mitigating Factors:", {10269, 16157, 16137, 16138}},
    {"Allergies:", {13074}},
};

DisplayList* displayList() { return &appState->displayList; }

int addLine(const char* text, int row, bool bold, std::int16_t x)
{
    std::int16_t lineRow = std::int16_t(row);
    addDisplayLine(displayList(), TextLine, text, 0, 0, lineRow, 0, false, bold, false, true, 0, x, x, -1);
    return row + 1;
}

bool markerIs(const TextEntry* e, const char* marker) { return e->marker && std::strcmp(e->marker, marker) == 0; }

int layoutDosing(int row)
{
    row = addLine("Dosing:", row, true, 0);
    bool first = true;
    for (const TextEntry* e = appState->recommendationList; e; e = e->next) {
        if (!markerIs(e, "") && !markerIs(e, "NOTE"))
            continue;
        if (!first && markerIs(e, ""))
            ++row;
        first = false;
        row = expandListMarkup(e->text, row);
    }
    for (const TextEntry* e = appState->nonOpioidList; e; e = e->next)
        row = expandListMarkup(e->text, row) + 1;
    return row;
}

int layoutList(const char* heading, const TextEntry* list, int row)
{
    row = addLine(heading, row, true, 0);
    for (const TextEntry* e = list; e; e = e->next)
        row = expandListMarkup(e->text, row) + 1;
    return row;
}

bool ownedBy(const Answer* a, const SummaryGroup& group)
{
    if (a->value == 0.0f || a->ownerKey2 != 0)
        return false;
    for (std::uint16_t owner : group.owners)
        if (owner && a->ownerId == owner)
            return true;
    return false;
}

int layoutSummary(int row)
{
    const QuestionnaireState* q = questionnaireState;
    for (const SummaryGroup& group : summaryGroups) {
        bool headed = false;
        for (const Answer* a = q->answers; a; a = a->next) {
            if (!ownedBy(a, group))
                continue;
            if (!headed)
                row = addLine(group.heading, row, true, 0);
            headed = true;
            const char* text = elementText(q->hierarchyRecords, q->stringRecords, std::uint16_t(a->elementId));
            if (text)
                row = addLine(text, row, false, 5);
        }
    }
    return row;
}

} // namespace

int reportFirstRow()
{
    // A report numbers its rows from 0; after a results page that has lines of its own it starts
    // on the row below them, so that rows never decrease along the list.
    const DisplayLine* tail = appState->displayList.tail;
    return tail ? tail->row + 1 : 0;
}

int prescriptionSection() { return sectionFromSelector(sectionNames, int(std::size(sectionNames)), Dosing); }

int buildPrescriptionReport()
{
    int row = reportFirstRow();
    switch (prescriptionSection()) {
    case CaveatSection:
        return layoutList("Caveats:", appState->caveatList, row);
    case MonitoringSection:
        return layoutList("Guidelines:", appState->monitoringList, row);
    case RationaleSection:
        return layoutList("Rationale:", appState->rationaleList, row);
    case ReferenceSection:
        return appendReferences(row);
    case SummarySection:
        return layoutSummary(row);
    default:
        return layoutDosing(row);
    }
}
