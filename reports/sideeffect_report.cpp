// The side-effect report: the management steps (nested lists indented 8 pixels a level),
// caveats, rationale and references. Texts are laid out as stored, without list markup.
#include "questionnaire/answers.h"
#include "reports/reports.h"
#include "rules/rules.h"
#include "shell/state.h"

#include <cstring>

namespace {

struct SideEffectHeading {
    std::uint16_t id;
    const char* text;
};
// Tested in this order; the first chosen names the recommendation.
const SideEffectHeading sideEffectHeadings[] = {
    {11226, "Nausea / Vomiting:"}, {11225, "Pruritus / Rash:"},     {11224, "Sedation:"},
    {11223, "Respiratory Depression:"}, {13973, "Constipation:"},
};

int addLine(const char* text, int row, bool bold, std::int16_t x)
{
    std::int16_t lineRow = std::int16_t(row);
    addDisplayLine(&appState->displayList, TextLine, text, 0, 0, lineRow, 0, false, bold, false, true, 0, x, x, -1);
    return row + 1;
}

bool markerIs(const TextEntry* e, const char* marker) { return e->marker && std::strcmp(e->marker, marker) == 0; }

// Entries two rows apart, indented by their list level; LIST and ENDLIST entries change the level.
int layoutLeveled(const TextEntry* list, int row)
{
    int level = 0;
    for (const TextEntry* e = list; e; e = e->next) {
        if (markerIs(e, "LIST"))
            ++level;
        else if (markerIs(e, "ENDLIST"))
            --level;
        if (e->text && e->text[0])
            row = addLine(e->text, row, false, std::int16_t(std::int16_t(level) * 8)) + 1;
    }
    return row;
}

const char* recommendationHeading()
{
    for (const SideEffectHeading& h : sideEffectHeadings)
        if (answerValue(questionnaireState->answers, h.id) != 0)
            return h.text;
    return "";
}

} // namespace

void visitSideEffectHeadings(void (*visit)(std::uint16_t id, void* data), void* data)
{
    for (const SideEffectHeading& h : sideEffectHeadings)
        visit(h.id, data);
}

int buildSideEffectReport()
{
    int row = reportFirstRow();
    switch (sideEffectSection()) {
    case 1:
        row = addLine(recommendationHeading(), row, true, 0);
        return layoutLeveled(appState->recommendationList, row);
    case 2:
        row = addLine("Caveats:", row, true, 0);
        return layoutLeveled(appState->caveatList, row);
    case 3:
        row = addLine("Rationale:", row, true, 0);
        for (const TextEntry* e = appState->rationaleList; e; e = e->next)
            row = addLine(e->text, row, false, 0) + 1;
        return row;
    case 4:
        return appendReferences(row);
    default:
        return row;
    }
}
