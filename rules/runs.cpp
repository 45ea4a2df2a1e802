// The two rule runs: each empties the cited references, runs its module's rule sets in a fixed
// order into the section lists, and names the sections that have content, in the selector's
// order. The section lists are emptied by the caller before a run; the rule sets only append.
#include "rules/sections.h"

#include <cstring>

#include "dbfile/heap.h"
#include "rules/rules.h"
#include "shell/state.h"

static void offer(SectionNames* sections, const char* name)
{
    if (sections->count < sectionCapacity)
        sections->names[sections->count++] = name;
}

// An entry with an empty marker is one the report lays out ("HOLD", "Logic" and the list
// markers are not); an entry whose marker copy was lost counts as ordinary.
static bool hasPlainEntry(const TextEntry* entry)
{
    for (; entry; entry = entry->next)
        if (!entry->marker || entry->marker[0] == '\0')
            return true;
    return false;
}

// The holder is made once and kept for the program's life; teardown releases it.
static bool emptyCitedReferences()
{
    if (!citedReferences) {
        citedReferences = static_cast<AnswerList*>(allocZeroed(sizeof(AnswerList)));
        if (!citedReferences)
            return false;
    }
    releaseList(citedReferences);
    return true;
}

static bool startRun(SectionNames* sections)
{
    sections->count = 0;
    return appState && questionnaireState && emptyCitedReferences();
}

typedef void RuleSet(AnswerList* cited, const RuleContext& context, TextList* output);

// Runs a set into its section list and offers the section when the list has content.
static void runSection(SectionNames* sections, const RuleContext& context, RuleSet* rules, TextList* list,
                       const char* name)
{
    rules(citedReferences, context, list);
    if (*list)
        offer(sections, name);
}

// The reference rules and the References check end both runs.
static void runReferences(SectionNames* sections, const RuleContext& context)
{
    referenceRules(citedReferences, context, nullptr);
    if (referencesCited(*citedReferences))
        offer(sections, "References");
}

// No rule set changes the answers, so one filter of them serves the whole run.
static RuleContext runContext(AnsweredIds* answered)
{
    noteAnsweredIds(answered, questionnaireState->answers);
    return RuleContext{questionnaireState->answers, nullptr, 0, 0, 0, answered};
}

bool prescriptionSections(SectionNames* sections)
{
    if (!startRun(sections))
        return false;
    AppState* app = appState;
    AnsweredIds answered;
    RuleContext context = runContext(&answered);
    prescriptionRules(citedReferences, context, &app->recommendationList);
    nonOpioidRules(citedReferences, context, &app->nonOpioidList);
    if (hasPlainEntry(app->recommendationList) || app->nonOpioidList)
        offer(sections, "Prescription");
    runSection(sections, context, caveatRules, &app->caveatList, "Caveats");
    runSection(sections, context, monitoringRules, &app->monitoringList, "Monitoring");
    runSection(sections, context, rationaleRules, &app->rationaleList, "Rationale");
    runReferences(sections, context);
    offer(sections, "Summary");   // the user's own answers, always there
    return true;
}

bool sideEffectSections(SectionNames* sections)
{
    if (!startRun(sections))
        return false;
    AppState* app = appState;
    AnsweredIds answered;
    RuleContext context = runContext(&answered);
    sideEffectStepRules(citedReferences, context, &app->recommendationList);
    if (hasPlainEntry(app->recommendationList))
        offer(sections, "Recommendation");
    runSection(sections, context, caveatRules, &app->caveatList, "Caveats");
    runSection(sections, context, sideEffectRationaleRules, &app->rationaleList, "Rationale");
    runReferences(sections, context);
    return true;
}

std::uint8_t sideEffectSectionNumber(const char* text)
{
    static const char* const names[] = {"Recommendation", "Caveats", "Rationale", "References"};
    for (int i = 0; text && i < 4; ++i)
        if (std::strcmp(text, names[i]) == 0)
            return std::uint8_t(i + 1);
    return 1;
}
