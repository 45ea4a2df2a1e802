// The clinical rules: the rule sets that fill the report sections from the answers, the two rule
// runs that the main window starts at a results page, and the side-effect section chosen in the
// selector. Each rule set records the reference ids of the rules that fire in cited and appends
// to its output list; none of them changes the answers.
#pragma once
#include <cstdint>

#include "questionnaire/answers.h"
#include "questionnaire/ruleconditions.h"
#include "questionnaire/textlist.h"

void prescriptionRules(AnswerList* cited, const RuleContext& context, TextList* output);
void nonOpioidRules(AnswerList* cited, const RuleContext& context, TextList* output);
void caveatRules(AnswerList* cited, const RuleContext& context, TextList* output);
void monitoringRules(AnswerList* cited, const RuleContext& context, TextList* output);
void rationaleRules(AnswerList* cited, const RuleContext& context, TextList* output);
void sideEffectStepRules(AnswerList* cited, const RuleContext& context, TextList* output);
void sideEffectRationaleRules(AnswerList* cited, const RuleContext& context, TextList* output);
// Records ids only, for the route and, under PCA, each mitigating factor; output is not touched.
void referenceRules(AnswerList* cited, const RuleContext& context, TextList* output);

// The References check: whether the content database's reference record holds an entry whose id
// is in cited. False when the record is missing or damaged before a match.
bool referencesCited(const Answer* cited);

// The rule runs of the prescription and side-effect modules: they empty the cited references,
// fill the section lists of AppState (emptied by the caller) and offer the sections that have
// content in the section selector, the first one selected.
void runPrescriptionRules();
void runSideEffectRules();
// The side-effect section (1 Recommendation, 2 Caveats, 3 Rationale, 4 References) the selector
// shows; 1 for anything else, an empty selector included.
std::uint8_t sideEffectSection();
